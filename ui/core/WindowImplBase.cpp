#include "ui/core/WindowImplBase.h"

#include "ui/core/Control.h"
#include "ui/core/TouchApi.h"
#include "ui/markup/WindowBuilder.h"

#include <windowsx.h>

#include <algorithm>

namespace ui {

namespace {

constexpr size_t kMessageLength = 260;
const wchar_t* const kCaptionButtons[] = {L"closebtn", L"minbtn", L"maxbtn", L"restorebtn"};

} // namespace

std::unique_ptr<Control> WindowImplBase::CreateControl(const std::wstring&)
{
    return nullptr;
}

LONG WindowImplBase::GetStyle()
{
    return ::GetWindowLongW(GetHWND(), GWL_STYLE) & ~WS_CAPTION;
}

bool WindowImplBase::OnButtonClick(const EventArgs& event)
{
    if (event.sender == nullptr)
        return true;
    const std::wstring& name = event.sender->GetName();
    if (name == L"closebtn") {
        Close(1);
    } else if (name == L"minbtn") {
        ::SendMessageW(GetHWND(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    } else if (name == L"maxbtn" || name == L"restorebtn") {
        const bool maximize = name == L"maxbtn";
        Control* maxButton = FindControl(std::wstring(L"maxbtn"));
        Control* restoreButton = FindControl(std::wstring(L"restorebtn"));
        if (maxButton != nullptr && restoreButton != nullptr) {
            maxButton->SetVisible(!maximize);
            restoreButton->SetVisible(maximize);
        }
        ::SendMessageW(GetHWND(), WM_SYSCOMMAND, maximize ? SC_MAXIMIZE : SC_RESTORE, 0);
    }
    return true;
}

void WindowImplBase::ActivateWindow()
{
    HWND hwnd = GetHWND();
    if (hwnd == nullptr || !::IsWindow(hwnd))
        return;
    if (::IsIconic(hwnd))
        ::ShowWindow(hwnd, SW_RESTORE);
    else if (!::IsWindowVisible(hwnd))
        ::ShowWindow(hwnd, SW_SHOW);
    ::SetForegroundWindow(hwnd);
}

void WindowImplBase::SetTaskbarTitle(const std::wstring& title)
{
    ::SetWindowTextW(GetHWND(), title.c_str());
}

LRESULT WindowImplBase::MessageHandler(UINT, WPARAM, LPARAM, bool& handled)
{
    handled = false;
    return 0;
}

LRESULT WindowImplBase::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled)
{
    if (message == WM_SYSCOMMAND && (wParam & 0xFFF0) == SC_CLOSE) {
        handled = true;
        ::SendMessageW(GetHWND(), WM_CLOSE, 0, 0);
        return 0;
    }
    const LRESULT result = Window::HandleMessage(message, wParam, lParam, handled);
    if (handled)
        return result;
    switch (message) {
    case WM_CREATE:
        handled = true;
        return OnCreate();
    case WM_NCCALCSIZE:
        // The whole window is client area; the skin draws the frame.
        handled = true;
        return 0;
    case WM_NCACTIVATE:
        if (!::IsIconic(GetHWND())) {
            handled = true;
            return TRUE;
        }
        break;
    case WM_NCHITTEST:
        handled = true;
        return OnNcHitTest(lParam);
    case WM_GETMINMAXINFO:
        OnGetMinMaxInfo(*reinterpret_cast<MINMAXINFO*>(lParam));
        handled = true;
        return 0;
    case WM_WINDOWPOSCHANGING:
        OnWindowPosChanging(*reinterpret_cast<WINDOWPOS*>(lParam));
        break;
    case WM_SIZE:
        if (wParam != SIZE_MINIMIZED)
            UpdateRegion();
        break;
    default:
        break;
    }
    return result;
}

LRESULT WindowImplBase::OnCreate()
{
    HWND hwnd = GetHWND();
    ::SetWindowLongW(hwnd, GWL_STYLE, GetStyle());
    Init(hwnd);
    AddMessageFilter(this);
    SetWindowResourcePath(GetSkinFolder());

    const std::wstring path = GetWindowResourcePath() + GetSkinFile();
    WindowBuilder builder;
    const CreateControlCallback callback =
        ToWeakCallback([this](const std::wstring& name) { return CreateControl(name); });
    std::unique_ptr<Control> root = builder.Create(path, callback, this);
    if (root == nullptr) {
        const std::wstring text =
            (L"Failed to load xml file " + path).substr(0, kMessageLength - 1);
        ::MessageBoxW(nullptr, text.c_str(), L"Paneui", MB_ICONERROR);
        return -1;
    }
    AttachRoot(GetShadow().Attach(std::move(root)));
    InitWindow();

    Control* content = GetRoot();
    if (content->IsAutoSized()) {
        const UiSize estimate = content->EstimateSize(UiSize(99999, 99999));
        int width = std::max(estimate.cx, content->GetMinWidth());
        if (content->GetMaxWidth() >= 0)
            width = std::min(width, content->GetMaxWidth());
        int height = std::max(estimate.cy, content->GetMinHeight());
        if (content->GetMaxHeight() >= 0)
            height = std::min(height, content->GetMaxHeight());
        // Where its creator put it: on that monitor, at that monitor's scale.
        ::SetWindowPos(hwnd, nullptr, 0, 0, width, height,
                       SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
    }
    for (const wchar_t* name : kCaptionButtons) {
        Control* button = FindControl(std::wstring(name));
        if (button != nullptr && button->IsPushButton()) {
            button->AddEventHandler(kEventClick, ToWeakCallback([this](const EventArgs& event) {
                                        return OnButtonClick(event);
                                    }));
        }
    }
    return 0;
}

LRESULT WindowImplBase::OnNcHitTest(LPARAM lParam)
{
    HWND hwnd = GetHWND();
    POINT screen{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    ::ScreenToClient(hwnd, &screen);
    const UiPoint point(screen.x, screen.y);
    RECT clientArea{};
    ::GetClientRect(hwnd, &clientArea);
    UiRect client(clientArea.left, clientArea.top, clientArea.right, clientArea.bottom);
    if (GetShadow().IsAttached())
        client.Deflate(GetShadow().GetCorner());
    const bool inShadow = !client.Contains(point);

    if (!::IsZoomed(hwnd)) {
        const UiRect& box = GetSizeBox();
        if (point.y < client.top + box.top) {
            if (inShadow)
                return HTCLIENT;
            if (point.x < client.left + box.left)
                return HTTOPLEFT;
            if (point.x >= client.right - box.right)
                return HTTOPRIGHT;
            return HTTOP;
        }
        if (point.y >= client.bottom - box.bottom) {
            if (inShadow)
                return HTCLIENT;
            if (point.x < client.left + box.left)
                return HTBOTTOMLEFT;
            if (point.x >= client.right - box.right)
                return HTBOTTOMRIGHT;
            return HTBOTTOM;
        }
        if (point.x < client.left + box.left)
            return inShadow ? HTCLIENT : HTLEFT;
        if (point.x >= client.right - box.right)
            return inShadow ? HTCLIENT : HTRIGHT;
    }

    const UiRect& caption = GetCaptionRect();
    if (point.x >= client.left + caption.left && point.x < client.right - caption.right &&
        point.y >= client.top + caption.top && point.y < client.top + caption.bottom) {
        Control* control = FindControl(point);
        if (control == nullptr || control->KeepsCaptionClick())
            return HTCLIENT;
        return HTCAPTION;
    }
    return HTCLIENT;
}

void WindowImplBase::OnGetMinMaxInfo(MINMAXINFO& info)
{
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    ::GetMonitorInfoW(::MonitorFromWindow(GetHWND(), MONITOR_DEFAULTTONEAREST), &monitor);
    UiRect work(monitor.rcWork.left, monitor.rcWork.top, monitor.rcWork.right,
                monitor.rcWork.bottom);
    work.Offset(-monitor.rcMonitor.left, -monitor.rcMonitor.top);
    const UiRect& maximized = GetMaximizeInfo();
    if (!maximized.IsEmpty()) {
        info.ptMaxPosition = POINT{work.left + maximized.left, work.top + maximized.top};
        info.ptMaxSize = POINT{maximized.Width(), maximized.Height()};
    } else {
        info.ptMaxPosition = POINT{work.left, work.top};
        info.ptMaxSize = POINT{work.Width(), work.Height()};
    }
    const UiSize minimum = GetMinInfo(false);
    const UiSize maximum = GetMaxInfo(false);
    if (minimum.cx != 0)
        info.ptMinTrackSize.x = GetMinInfo(true).cx;
    if (minimum.cy != 0)
        info.ptMinTrackSize.y = GetMinInfo(true).cy;
    if (maximum.cx != 0)
        info.ptMaxTrackSize.x = GetMaxInfo(true).cx;
    if (maximum.cy != 0)
        info.ptMaxTrackSize.y = GetMaxInfo(true).cy;
}

void WindowImplBase::OnWindowPosChanging(WINDOWPOS& position)
{
    HWND hwnd = GetHWND();
    if (!::IsZoomed(hwnd) || (position.flags & SWP_FRAMECHANGED) == 0)
        return;
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    ::GetMonitorInfoW(::MonitorFromWindow(hwnd, MONITOR_DEFAULTTONEAREST), &monitor);
    if ((monitor.dwFlags & MONITORINFOF_PRIMARY) != 0)
        return;
    position.x = monitor.rcWork.left;
    position.y = monitor.rcWork.top;
    position.cx = monitor.rcWork.right - monitor.rcWork.left;
    position.cy = monitor.rcWork.bottom - monitor.rcWork.top;
}

void WindowImplBase::UpdateRegion()
{
    const UiSize round = GetRoundCorner();
    if (round.cx == 0 && round.cy == 0)
        return;
    HWND hwnd = GetHWND();
    RECT rect{};
    ::GetWindowRect(hwnd, &rect);
    HRGN region = ::CreateRoundRectRgn(0, 0, rect.right - rect.left + 1, rect.bottom - rect.top + 1,
                                       round.cx, round.cy);
    ::SetWindowRgn(hwnd, region, TRUE);
}

void WindowImplBase::OnFinalMessage(HWND hwnd)
{
    if (const auto unregisterTouch = TouchApi::Get().unregisterTouchWindow)
        unregisterTouch(hwnd);
    RemoveMessageFilter(this);
    delete this;
}

} // namespace ui
