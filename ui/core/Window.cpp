#include "ui/core/Window.h"

#include "ui/core/Box.h"
#include "ui/core/Control.h"
#include "ui/core/DpiApi.h"
#include "ui/core/DpiRescale.h"
#include "ui/core/FindFlags.h"
#include "ui/core/IUIMessageFilter.h"
#include "ui/core/TouchApi.h"
#include "ui/markup/AnimationTimerManager.h"
#include "ui/markup/DpiManager.h"
#include "ui/markup/DpiScope.h"
#include "ui/markup/GlobalManager.h"
#include "ui/render/IRenderContext.h"
#include "ui/render/IRenderFactory.h"

#include <versionhelpers.h>
#include <windowsx.h>

#include <algorithm>

namespace ui {

namespace {

constexpr DWORD kHoverTimeMs = 400;
constexpr uint32_t kCloseDelayMs = 300;

UiPoint PointFromLParam(LPARAM lParam)
{
    return UiPoint(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
}

UiPoint ScreenToClientPoint(HWND hwnd, POINT point)
{
    ::ScreenToClient(hwnd, &point);
    return UiPoint(point.x, point.y);
}

RECT ToRECT(const UiRect& rect)
{
    return RECT{rect.left, rect.top, rect.right, rect.bottom};
}

UiRect ClientRect(HWND hwnd)
{
    RECT rect{};
    ::GetClientRect(hwnd, &rect);
    return UiRect(rect.left, rect.top, rect.right, rect.bottom);
}

bool IsTabStop(const Control* control)
{
    return control->IsKeyboardEnabled() && !control->IsNoFocus() && control->IsAllowTabStop();
}

} // namespace

Window::Window() = default;

Window::~Window()
{
    if (m_hwnd != nullptr && ::IsWindow(m_hwnd))
        ::SetWindowLongPtrW(m_hwnd, GWLP_USERDATA, 0);
    m_focus = m_keyDown = m_hover = m_newHover = m_pushed = nullptr;
    m_touchControl = m_pointerControl = nullptr;
    m_names.clear();
    m_optionGroups.clear();
    m_delayedCleanup.clear();
    m_root.reset();
}

HWND Window::Create(HWND parent, const std::wstring& title, DWORD style, DWORD exStyle,
                    bool layered, const UiRect& rect)
{
    if (!RegisterWindowClass())
        return nullptr;
    m_layered = layered;
    if (layered)
        exStyle |= WS_EX_LAYERED;
    // A window whose creation fails may already have deleted itself.
    const std::weak_ptr<obase::WeakFlag> alive = GetWeakFlag();
    HWND hwnd = ::CreateWindowExW(exStyle, GetWindowClassName().c_str(), title.c_str(), style,
                                  rect.left, rect.top, rect.Width(), rect.Height(), parent, nullptr,
                                  ::GetModuleHandleW(nullptr), this);
    if (alive.expired() || hwnd == nullptr)
        return nullptr;
    m_hwnd = hwnd;
    const LONG created = ::GetWindowLongW(hwnd, GWL_STYLE);
    if ((created & WS_CAPTION) != 0)
        ::SetWindowLongW(hwnd, GWL_STYLE, created & ~WS_CAPTION);
    return hwnd;
}

bool Window::RegisterWindowClass()
{
    const std::wstring className = GetWindowClassName();
    const std::wstring superName = GetSuperClassName();
    HINSTANCE instance = ::GetModuleHandleW(nullptr);
    if (!superName.empty()) {
        WNDCLASSEXW info{};
        info.cbSize = sizeof(info);
        if (!::GetClassInfoExW(nullptr, superName.c_str(), &info) &&
            !::GetClassInfoExW(instance, superName.c_str(), &info))
            return false;
        m_oldWndProc = info.lpfnWndProc;
        info.lpfnWndProc = WindowProc;
        info.hInstance = instance;
        info.lpszClassName = className.c_str();
        return ::RegisterClassExW(&info) != 0 || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
    }
    WNDCLASSW info{};
    info.style = GetClassStyle();
    info.lpfnWndProc = WindowProc;
    info.hInstance = instance;
    info.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    info.lpszClassName = className.c_str();
    return ::RegisterClassW(&info) != 0 || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

LRESULT CALLBACK Window::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    Window* window = nullptr;
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        window = static_cast<Window*>(create->lpCreateParams);
        window->m_hwnd = hwnd;
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(window));
        // The scale of the monitor the window is made on, before anything
        // of the skin is read for it.
        if (DpiManager::GetInstance().IsAdaptDpi())
            window->m_dpiScale = DpiManager::ScaleFromDpi(DpiApi::GetDpiForWindow(hwnd));
        window->m_shadow.RescaleDpi(window->m_dpiScale);
    } else {
        window = reinterpret_cast<Window*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    }
    if (window == nullptr)
        return ::DefWindowProcW(hwnd, message, wParam, lParam);
    const DpiScope scope(window->m_dpiScale);
    if (message == WM_NCDESTROY) {
        const LRESULT result = window->CallWindowProc(message, wParam, lParam);
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        window->m_hwnd = nullptr;
        window->OnFinalMessage(hwnd);
        return result;
    }
    // Whatever destroys a modal window (its owner's destruction included),
    // the owner does not stay disabled.
    if (message == WM_DESTROY)
        window->ReleaseModalOwner();
    // An event handler may destroy the window while its message is routed.
    const std::weak_ptr<obase::WeakFlag> alive = window->GetWeakFlag();
    bool handled = false;
    const LRESULT result = window->HandleMessage(message, wParam, lParam, handled);
    if (handled)
        return result;
    if (alive.expired())
        return ::DefWindowProcW(hwnd, message, wParam, lParam);
    // The default processing destroys the window. Its owner is enabled
    // before, so that the system activates the owner and not some other
    // program's window.
    if (message == WM_CLOSE)
        window->ReleaseModalOwner();
    return window->CallWindowProc(message, wParam, lParam);
}

LRESULT Window::CallWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    return ::CallWindowProcW(m_oldWndProc, m_hwnd, message, wParam, lParam);
}

void Window::OnFinalMessage(HWND) {}

void Window::ReleaseModalOwner()
{
    if (!m_modal)
        return;
    m_modal = false;
    HWND owner = m_hwnd != nullptr ? ::GetWindow(m_hwnd, GW_OWNER) : nullptr;
    if (owner != nullptr) {
        ::EnableWindow(owner, TRUE);
        ::SetFocus(owner);
    }
}

void Window::DestroyThreadWindows()
{
    std::vector<HWND> windows;
    ::EnumThreadWindows(
        ::GetCurrentThreadId(),
        [](HWND hwnd, LPARAM list) {
            if (::GetWindowLongPtrW(hwnd, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&WindowProc))
                reinterpret_cast<std::vector<HWND>*>(list)->push_back(hwnd);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&windows));
    // Destroying an owner takes its owned windows along.
    for (HWND hwnd : windows) {
        if (::IsWindow(hwnd))
            ::DestroyWindow(hwnd);
    }
}

void Window::Close(UINT code)
{
    ReleaseModalOwner();
    if (m_hwnd == nullptr || !::IsWindow(m_hwnd))
        return;
    if (m_root != nullptr && ::IsWindowsVistaOrGreater()) {
        m_root->SetVisibleWithFade(false);
        HWND hwnd = m_hwnd;
        AnimationTimerManager::GetInstance().AddTimer(
            GetWeakFlag(), [hwnd, code] { ::PostMessageW(hwnd, WM_CLOSE, code, 0); }, kCloseDelayMs,
            1);
        return;
    }
    ::PostMessageW(m_hwnd, WM_CLOSE, code, 0);
}

void Window::ShowWindow(bool show, bool takeFocus)
{
    ::ShowWindow(m_hwnd, show ? (takeFocus ? SW_SHOWNORMAL : SW_SHOWNOACTIVATE) : SW_HIDE);
}

void Window::SetWindowAlpha(int alpha)
{
    m_windowAlpha = std::clamp(alpha, 0, 255);
    Invalidate(ClientRect(m_hwnd));
}

void Window::AddMessageFilter(IUIMessageFilter* filter)
{
    if (std::find(m_filters.begin(), m_filters.end(), filter) == m_filters.end())
        m_filters.push_back(filter);
}

void Window::RemoveMessageFilter(IUIMessageFilter* filter)
{
    m_filters.erase(std::remove(m_filters.begin(), m_filters.end(), filter), m_filters.end());
}

void Window::Init(HWND hwnd)
{
    m_hwnd = hwnd;
    InitFocusCues();
    if (IRenderFactory* factory = GlobalManager::GetRenderFactory())
        m_render = factory->CreateRenderContext();
    if (const auto registerTouch = TouchApi::Get().registerTouchWindow)
        registerTouch(hwnd, 0);
}

void Window::AttachRoot(std::unique_ptr<Control> root)
{
    m_root = std::move(root);
    if (m_root == nullptr)
        return;
    InitControls(m_root.get(), nullptr);
    m_arrangeNeeded = true;
    if (m_hwnd != nullptr)
        Invalidate(ClientRect(m_hwnd));
}

void Window::InitControls(Control* control, Box* parent)
{
    control->SetWindow(this, parent, true);
    // Children are visited before their box; the first control registered
    // under a name keeps it.
    control->FindControl(
        [this](Control* found) -> Control* {
            if (!found->GetName().empty())
                m_names.emplace(found->GetName(), found);
            return nullptr;
        },
        UiPoint(), kFindAll);
}

void Window::ReapObjects(Control* control)
{
    if (control == nullptr)
        return;
    const auto inside = [control](const Control* other) {
        return other != nullptr && control->IsAncestorOf(other);
    };
    for (Control** slot :
         {&m_focus, &m_keyDown, &m_newHover, &m_pushed, &m_touchControl, &m_pointerControl}) {
        if (inside(*slot))
            *slot = nullptr;
    }
    if (inside(m_hover)) {
        m_hover = nullptr;
        HideToolTip();
    }
    std::erase_if(m_names, [&](const auto& entry) { return inside(entry.second); });
    for (auto& [group, members] : m_optionGroups)
        std::erase_if(members, inside);
}

void Window::AddDelayedCleanup(std::unique_ptr<Control> control)
{
    const bool first = m_delayedCleanup.empty();
    m_delayedCleanup.push_back(std::move(control));
    if (first && m_hwnd != nullptr)
        ::PostMessageW(m_hwnd, kMsgDelayedCleanup, 0, 0);
}

void Window::SetWindowResourcePath(const std::wstring& path)
{
    m_resourcePath = path;
    if (!m_resourcePath.empty() && m_resourcePath.back() != L'\\' && m_resourcePath.back() != L'/')
        m_resourcePath += L'\\';
}

void Window::AddClass(const std::wstring& name, const std::wstring& attributes)
{
    m_classes[name] = attributes;
}

const std::wstring& Window::GetClassAttributes(const std::wstring& name) const
{
    static const std::wstring kNone;
    const auto found = m_classes.find(name);
    return found != m_classes.end() ? found->second : kNone;
}

Control* Window::FindControl(const std::wstring& name) const
{
    const auto found = m_names.find(name);
    return found != m_names.end() ? found->second : nullptr;
}

Control* Window::FindControl(UiPoint point) const
{
    if (m_root == nullptr)
        return nullptr;
    return m_root->FindControl([](Control* control) { return control; }, point,
                               kFindVisible | kFindHitTest | kFindTopFirst);
}

bool Window::AddOptionGroup(const std::wstring& group, Control* control)
{
    std::vector<Control*>& members = m_optionGroups[group];
    if (std::find(members.begin(), members.end(), control) != members.end())
        return false;
    members.push_back(control);
    return true;
}

const std::vector<Control*>* Window::GetOptionGroup(const std::wstring& group) const
{
    const auto found = m_optionGroups.find(group);
    return found != m_optionGroups.end() ? &found->second : nullptr;
}

void Window::RemoveOptionGroup(const std::wstring& group, Control* control)
{
    const auto found = m_optionGroups.find(group);
    if (found == m_optionGroups.end())
        return;
    std::erase(found->second, control);
    if (found->second.empty())
        m_optionGroups.erase(found);
}

void Window::SetFocus(Control* control)
{
    if (control != nullptr && control != m_focus && ::GetFocus() != m_hwnd)
        ::SetFocus(m_hwnd);
    if (control == m_focus)
        return;
    InvalidateFocusRing(m_focus);
    InvalidateFocusRing(control);
    if (m_focus != nullptr) {
        Control* old = m_focus;
        SendEvent(old, kEventInternalKillFocus);
        if (m_focus == old)
            m_focus = nullptr;
        SendEvent(old, kEventKillFocus);
    }
    if (control == nullptr || control->GetWindow() != this || !control->IsVisible() ||
        !control->IsEnabled())
        return;
    m_focus = control;
    SendEvent(control, kEventInternalSetFocus);
    if (m_focus == control)
        SendEvent(control, kEventSetFocus);
    if (m_focus == control)
        NotifyAccessEvent(EVENT_OBJECT_FOCUS, *control);
}

bool Window::SetNextTabControl(bool forward)
{
    if (m_root == nullptr)
        return false;
    if (m_arrangeNeeded) {
        // Tab stops move with the layout; go on after the next paint.
        m_pendingTabs += forward ? 1 : -1;
        return true;
    }
    std::vector<Control*> stops;
    m_root->FindControl(
        [&stops](Control* control) -> Control* {
            if (IsTabStop(control))
                stops.push_back(control);
            return nullptr;
        },
        UiPoint(), kFindVisible | kFindEnabled | kFindMeFirst);
    if (stops.empty())
        return false;
    const auto current = std::find(stops.begin(), stops.end(), m_focus);
    Control* next = nullptr;
    if (forward) {
        if (current != stops.end() && current + 1 != stops.end())
            next = *(current + 1);
        else
            next = stops.front();
    } else if (current == stops.end()) {
        next = stops.back();
    } else if (current != stops.begin()) {
        next = *(current - 1);
    }
    if (next == nullptr)
        return false;
    SetFocus(next);
    return true;
}

void Window::SendEvent(Control* control, EventType type, WPARAM wParam, LPARAM lParam)
{
    if (control == nullptr)
        return;
    EventArgs event;
    event.type = type;
    event.sender = control;
    event.timestamp = ::GetTickCount();
    event.mousePoint = m_lastMousePos;
    if (type >= kEventKeyDown && type <= kEventSystemKey)
        event.keyCode = static_cast<uint16_t>(wParam);
    event.wParam = wParam;
    event.lParam = lParam;
    control->DispatchEvent(event);
}

void Window::Invalidate(const UiRect& rect)
{
    if (m_hwnd == nullptr)
        return;
    // An empty rectangle (a control not laid out yet, as every control is
    // while the window is built) adds nothing to the update region: the
    // system call, a round trip to the window server, is left out.
    if (!rect.IsEmpty()) {
        const RECT area = ToRECT(rect);
        ::InvalidateRect(m_hwnd, &area, FALSE);
        // The system neither paints a layered window by itself nor keeps a
        // dependable update region for it: the window keeps its own.
        m_dirty.Union(rect);
    }
    if (m_layered && !m_paintPosted) {
        m_paintPosted = true;
        ::PostMessageW(m_hwnd, WM_PAINT, 0, 0);
    }
}

UiPoint Window::GetClientOffset() const
{
    if (!m_shadow.IsAttached())
        return UiPoint();
    const UiRect corner = m_shadow.GetCorner();
    return UiPoint(corner.left, corner.top);
}

UiSize Window::AddShadow(UiSize size, bool containShadow) const
{
    if (containShadow || !m_shadow.IsAttached())
        return size;
    const UiRect corner = m_shadow.GetCorner();
    if (size.cx != 0)
        size.cx += corner.left + corner.right;
    if (size.cy != 0)
        size.cy += corner.top + corner.bottom;
    return size;
}

UiSize Window::RemoveShadow(UiSize size, bool containShadow) const
{
    if (containShadow || !m_shadow.IsAttached())
        return size;
    const UiRect corner = m_shadow.GetCorner();
    if (size.cx != 0)
        size.cx -= corner.left + corner.right;
    if (size.cy != 0)
        size.cy -= corner.top + corner.bottom;
    return size;
}

UiSize Window::GetInitSize(bool containShadow) const
{
    return RemoveShadow(m_initSize, containShadow);
}

void Window::SetInitSize(int cx, int cy, bool containShadow, bool needDpiScale)
{
    const DpiManager& dpi = DpiManager::GetInstance();
    UiSize size = needDpiScale ? UiSize(dpi.ScaleInt(cx), dpi.ScaleInt(cy)) : UiSize(cx, cy);
    if (!containShadow && m_shadow.IsAttached()) {
        const UiRect corner = m_shadow.GetCorner();
        size.cx += corner.left + corner.right;
        size.cy += corner.top + corner.bottom;
    }
    m_initSize = size;
    if (m_root == nullptr && m_hwnd != nullptr)
        ::SetWindowPos(m_hwnd, nullptr, 0, 0, size.cx, size.cy,
                       SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
}

UiSize Window::GetMinInfo(bool containShadow) const
{
    return RemoveShadow(m_minInfo, containShadow);
}

void Window::SetMinInfo(int cx, int cy, bool containShadow, bool needDpiScale)
{
    const DpiManager& dpi = DpiManager::GetInstance();
    const UiSize size = needDpiScale ? UiSize(dpi.ScaleInt(cx), dpi.ScaleInt(cy)) : UiSize(cx, cy);
    m_minInfo = AddShadow(size, containShadow);
}

UiSize Window::GetMaxInfo(bool containShadow) const
{
    return RemoveShadow(m_maxInfo, containShadow);
}

void Window::SetMaxInfo(int cx, int cy, bool containShadow, bool needDpiScale)
{
    const DpiManager& dpi = DpiManager::GetInstance();
    const UiSize size = needDpiScale ? UiSize(dpi.ScaleInt(cx), dpi.ScaleInt(cy)) : UiSize(cx, cy);
    m_maxInfo = AddShadow(size, containShadow);
}

void Window::SetCaptionRect(const UiRect& caption, bool needDpiScale)
{
    m_caption = caption;
    if (needDpiScale) {
        const DpiManager& dpi = DpiManager::GetInstance();
        m_caption = UiRect(dpi.ScaleInt(caption.left), dpi.ScaleInt(caption.top),
                           dpi.ScaleInt(caption.right), dpi.ScaleInt(caption.bottom));
    }
}

void Window::SetRoundCorner(int cx, int cy, bool needDpiScale)
{
    const DpiManager& dpi = DpiManager::GetInstance();
    m_roundCorner = needDpiScale ? UiSize(dpi.ScaleInt(cx), dpi.ScaleInt(cy)) : UiSize(cx, cy);
}

void Window::SetAlphaFixCorner(const UiRect& corner, bool needDpiScale)
{
    m_alphaFixCorner = corner;
    if (needDpiScale) {
        const DpiManager& dpi = DpiManager::GetInstance();
        m_alphaFixCorner = UiRect(dpi.ScaleInt(corner.left), dpi.ScaleInt(corner.top),
                                  dpi.ScaleInt(corner.right), dpi.ScaleInt(corner.bottom));
    }
}

LRESULT Window::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled)
{
    handled = false;
    const std::vector<IUIMessageFilter*> filters = m_filters;
    for (IUIMessageFilter* filter : filters) {
        bool filtered = false;
        const LRESULT result = filter->MessageHandler(message, wParam, lParam, filtered);
        if (filtered) {
            if (message != WM_MOUSEMOVE) {
                handled = true;
                return result;
            }
            break;
        }
    }
    const std::weak_ptr<obase::WeakFlag> alive = GetWeakFlag();
    switch (message) {
    case WM_MOUSEMOVE: {
        if (m_touchControl != nullptr || m_pointerControl != nullptr)
            break;
        if (!m_mouseTracking) {
            TRACKMOUSEEVENT track{};
            track.cbSize = sizeof(track);
            track.dwFlags = TME_HOVER | TME_LEAVE;
            track.hwndTrack = m_hwnd;
            track.dwHoverTime = m_toolTip != nullptr
                                    ? static_cast<DWORD>(::SendMessageW(m_toolTip, TTM_GETDELAYTIME,
                                                                        TTDT_INITIAL, 0))
                                    : kHoverTimeMs;
            ::TrackMouseEvent(&track);
            m_mouseTracking = true;
        }
        UpdateHover(PointFromLParam(lParam));
        if (alive.expired())
            return 0;
        if (m_newHover != nullptr && m_newHover->GetWindow() != this)
            break;
        SendEvent(m_pushed != nullptr ? m_pushed : m_hover, kEventMouseMove, wParam, lParam);
        break;
    }
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        if (m_touchControl == nullptr && m_pointerControl == nullptr)
            OnButtonDown(message, PointFromLParam(lParam), wParam, lParam);
        break;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP: {
        m_lastMousePos = PointFromLParam(lParam);
        ReleaseMouseCapture();
        Control* pushed = m_pushed;
        if (pushed == nullptr)
            break;
        SendEvent(pushed, message == WM_LBUTTONUP ? kEventMouseButtonUp : kEventMouseRightButtonUp,
                  wParam, lParam);
        if (alive.expired())
            return 0;
        if (message == WM_RBUTTONUP) {
            // The context-menu request that the system makes of a right
            // button release must still find the control it was pressed on.
            const LRESULT result = CallWindowProc(message, wParam, lParam);
            if (alive.expired())
                return result;
            handled = true;
            if (m_pushed == pushed)
                m_pushed = nullptr;
            return result;
        }
        if (m_pushed == pushed)
            m_pushed = nullptr;
        break;
    }
    case WM_MOUSEWHEEL: {
        POINT screen{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        m_lastMousePos = ScreenToClientPoint(m_hwnd, screen);
        Control* control = FindControl(m_lastMousePos);
        if (control == nullptr || control->GetWindow() != this)
            break;
        const auto delta = static_cast<int64_t>(GET_WHEEL_DELTA_WPARAM(wParam));
        SendEvent(control, kEventMouseScrollWheel, static_cast<WPARAM>(delta), lParam);
        handled = true;
        break;
    }
    case WM_MOUSEHOVER:
        OnMouseHover(PointFromLParam(lParam));
        break;
    case WM_MOUSELEAVE:
        HideToolTip();
        if (m_mouseTracking)
            ::SendMessageW(m_hwnd, WM_MOUSEMOVE, 0, MAKELPARAM(-1, -1));
        if (alive.expired())
            return 0;
        m_mouseTracking = false;
        break;
    case WM_SETCURSOR: {
        if (LOWORD(lParam) != HTCLIENT || m_pushed != nullptr || m_touchControl != nullptr ||
            m_pointerControl != nullptr)
            break;
        POINT cursor{};
        ::GetCursorPos(&cursor);
        Control* control = FindControl(ScreenToClientPoint(m_hwnd, cursor));
        if (control == nullptr)
            break;
        SendEvent(control, kEventSetCursor, wParam, lParam);
        handled = true;
        return TRUE;
    }
    case WM_KEYDOWN:
        OnKeyboardInput();
        if (wParam == VK_TAB &&
            (m_focus == nullptr ||
             !(m_focus->IsVisible() && m_focus->IsEnabled() && m_focus->WantsTab()))) {
            // With nothing focused yet, Tab goes to the first (Shift+Tab
            // the last) tab stop.
            SetNextTabControl(::GetKeyState(VK_SHIFT) >= 0);
            handled = true;
            break;
        }
        if (m_focus == nullptr)
            break;
        m_keyDown = m_focus;
        SendEvent(m_focus, kEventKeyDown, wParam, lParam);
        break;
    case WM_SYSKEYDOWN:
        // Alt combinations (Alt+Down opens a combo); the system still gets
        // them afterwards (Alt+F4).
        OnKeyboardInput();
        SendEvent(m_focus, kEventSystemKey, wParam, lParam);
        break;
    case WM_UPDATEUISTATE:
        OnUpdateUiState(wParam);
        break;
    case WM_QUERYUISTATE:
        handled = true;
        return OnQueryUiState();
    case WM_KEYUP:
        if (m_keyDown != nullptr) {
            Control* control = m_keyDown;
            m_keyDown = nullptr;
            SendEvent(control, kEventKeyUp, wParam, lParam);
        }
        break;
    case WM_CHAR:
        SendEvent(m_focus, kEventChar, wParam, lParam);
        break;
    case WM_IME_STARTCOMPOSITION:
        SendEvent(m_focus, kEventImeStartComposition, wParam, lParam);
        break;
    case WM_IME_ENDCOMPOSITION:
        SendEvent(m_focus, kEventImeEndComposition, wParam, lParam);
        break;
    case WM_KILLFOCUS: {
        Control* active = m_pointerControl != nullptr ? m_pointerControl
                          : m_touchControl != nullptr ? m_touchControl
                                                      : m_pushed;
        if (active != nullptr && active->NeedsButtonUpOnKillFocus()) {
            ReleaseMouseCapture();
            m_pushed = m_touchControl = m_pointerControl = nullptr;
            SendEvent(active, kEventMouseButtonUp);
        }
        break;
    }
    case WM_CONTEXTMENU:
        if (m_pushed != nullptr) {
            Control* pushed = m_pushed;
            ReleaseMouseCapture();
            m_pushed = nullptr;
            SendEvent(pushed, kEventInternalMenu, wParam, lParam);
        }
        break;
    case WM_COMMAND:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
        if (lParam != 0) {
            handled = true;
            return ::SendMessageW(reinterpret_cast<HWND>(lParam), kReflectBase + message, wParam,
                                  lParam);
        }
        break;
    case WM_NOTIFY: {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header != nullptr && header->hwndFrom != nullptr) {
            handled = true;
            return ::SendMessageW(header->hwndFrom, kReflectBase + message, wParam, lParam);
        }
        break;
    }
    case WM_TOUCH:
        handled = OnTouch(wParam, lParam);
        break;
    case WM_POINTERUPDATE:
    case WM_POINTERDOWN:
    case WM_POINTERUP:
    case WM_POINTERLEAVE:
    case WM_POINTERCAPTURECHANGED:
        handled = OnPointer(message, wParam);
        break;
    case WM_CLOSE: {
        Control* hover = m_hover;
        SendEvent(hover, kEventMouseLeave);
        for (Control* pressed : {m_pushed, m_touchControl, m_pointerControl}) {
            if (alive.expired())
                return 0;
            SendEvent(pressed, kEventMouseButtonUp);
        }
        if (alive.expired())
            return 0;
        SetFocus(nullptr);
        if (HWND owner = ::GetWindow(m_hwnd, GW_OWNER))
            ::SetFocus(owner);
        break;
    }
    case WM_SIZE:
        OnSize(wParam);
        break;
    case WM_DPICHANGED:
        OnDpiChanged(LOWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
        handled = true;
        return 0;
    case WM_ERASEBKGND:
        handled = true;
        return 1;
    case WM_PAINT:
        Paint();
        handled = true;
        return 0;
    case kMsgDelayedCleanup:
        m_delayedCleanup.clear();
        handled = true;
        return 0;
    case kMsgAccessAction:
        RunAccessAction(static_cast<int32_t>(wParam));
        handled = true;
        return 0;
    case WM_SHOWWINDOW:
        // The system announces the window frame; this announces its content.
        if (m_root != nullptr)
            ::NotifyWinEvent(wParam != 0 ? EVENT_OBJECT_SHOW : EVENT_OBJECT_HIDE, m_hwnd,
                             OBJID_CLIENT, CHILDID_SELF);
        break;
    case WM_GETOBJECT: {
        LRESULT result = 0;
        handled = AnswerGetObject(wParam, lParam, result);
        return result;
    }
    default:
        break;
    }
    return 0;
}

void Window::UpdateHover(UiPoint point)
{
    m_lastMousePos = point;
    Control* newHover = FindControl(point);
    m_newHover = newHover;
    if (newHover != nullptr && newHover->GetWindow() != this)
        return;
    if (newHover == m_hover)
        return;
    const std::weak_ptr<obase::WeakFlag> alive = GetWeakFlag();
    Control* old = m_hover;
    m_hover = newHover;
    if (old != nullptr) {
        HideToolTip();
        SendEvent(old, kEventMouseLeave);
        if (alive.expired())
            return;
    }
    if (newHover != nullptr && m_hover == newHover)
        SendEvent(newHover, kEventMouseEnter);
}

void Window::OnButtonDown(UINT message, UiPoint point, WPARAM wParam, LPARAM lParam)
{
    s_keyboardInputLast = false;
    ::SetFocus(m_hwnd);
    m_lastMousePos = point;
    Control* control = FindControl(point);
    if (control == nullptr || control->GetWindow() != this)
        return;
    m_pushed = control;
    ::SetCapture(m_hwnd);
    m_mouseCaptured = true;
    if (message != WM_LBUTTONDBLCLK)
        control->SetFocus();
    if (m_pushed != control)
        return;
    const EventType type = message == WM_LBUTTONDOWN   ? kEventMouseButtonDown
                           : message == WM_RBUTTONDOWN ? kEventMouseRightButtonDown
                                                       : kEventInternalDoubleClick;
    SendEvent(control, type, wParam, lParam);
}

void Window::OnMouseHover(UiPoint point)
{
    m_mouseTracking = false;
    m_lastMousePos = point;
    Control* control = FindControl(point);
    if (control == nullptr)
        return;
    const std::weak_ptr<obase::WeakFlag> alive = GetWeakFlag();
    if (m_hover != nullptr) {
        SendEvent(m_hover, kEventMouseHover);
        if (alive.expired())
            return;
    }
    m_toolTipText = control->GetToolTipText();
    if (m_toolTipText.empty())
        return;
    if (m_toolTip == nullptr) {
        m_toolTip =
            ::CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP,
                              CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, m_hwnd,
                              nullptr, ::GetModuleHandleW(nullptr), nullptr);
        m_toolInfo.cbSize = TTTOOLINFOW_V2_SIZE;
        m_toolInfo.uFlags = TTF_IDISHWND | TTF_TRACK | TTF_ABSOLUTE;
        m_toolInfo.hwnd = m_hwnd;
        m_toolInfo.uId = reinterpret_cast<UINT_PTR>(m_hwnd);
        m_toolInfo.lpszText = m_toolTipText.data();
        ::SendMessageW(m_toolTip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&m_toolInfo));
        SetToolTipFont();
    }
    m_toolInfo.lpszText = m_toolTipText.data();
    m_toolInfo.rect = ToRECT(control->GetRect());
    ::SendMessageW(m_toolTip, TTM_SETMAXTIPWIDTH, 0, control->GetToolTipWidth());
    ::SendMessageW(m_toolTip, TTM_SETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&m_toolInfo));
    POINT screen{point.x, point.y};
    ::ClientToScreen(m_hwnd, &screen);
    const int cursor = DpiApi::GetSystemMetrics(SM_CYCURSOR, DpiApi::GetDpiForWindow(m_hwnd));
    ::SendMessageW(m_toolTip, TTM_TRACKPOSITION, 0, MAKELPARAM(screen.x, screen.y + cursor / 2));
    ::SendMessageW(m_toolTip, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&m_toolInfo));
}

void Window::UpdateToolTip(Control* control)
{
    if (m_toolTip == nullptr || control == nullptr || control != m_hover)
        return;
    m_toolTipText = control->GetToolTipText();
    m_toolInfo.lpszText = m_toolTipText.data();
    ::SendMessageW(m_toolTip, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&m_toolInfo));
}

void Window::SetToolTipFont()
{
    const NONCLIENTMETRICSW metrics = DpiApi::GetNonClientMetrics(DpiApi::GetDpiForWindow(m_hwnd));
    HFONT font = ::CreateFontIndirectW(&metrics.lfStatusFont);
    if (font == nullptr)
        return;
    ::SendMessageW(m_toolTip, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    // The old font goes once the tool tip no longer uses it.
    m_toolTipFont.reset(font);
}

void Window::SetIcon(UINT resourceId)
{
    m_iconId = resourceId;
    LoadIcons();
}

void Window::LoadIcons()
{
    if (m_iconId == 0 || m_hwnd == nullptr)
        return;
    const UINT dpi = DpiApi::GetDpiForWindow(m_hwnd);
    const auto load = [this, dpi](int width, int height) {
        return IconPtr(static_cast<HICON>(::LoadImageW(
            ::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(m_iconId), IMAGE_ICON,
            DpiApi::GetSystemMetrics(width, dpi), DpiApi::GetSystemMetrics(height, dpi), 0)));
    };
    IconPtr big = load(SM_CXICON, SM_CYICON);
    IconPtr small = load(SM_CXSMICON, SM_CYSMICON);
    ::SendMessageW(m_hwnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big.get()));
    ::SendMessageW(m_hwnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small.get()));
    // The old icons go once the window shows the new ones.
    m_bigIcon = std::move(big);
    m_smallIcon = std::move(small);
}

void Window::OnDpiChanged(UINT dpi, const RECT& suggested)
{
    if (DpiManager::GetInstance().IsAdaptDpi()) {
        const int scale = DpiManager::ScaleFromDpi(dpi);
        if (scale != m_dpiScale)
            RescaleDpi(scale);
    }
    ::SetWindowPos(m_hwnd, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                   suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

void Window::RescaleDpi(int to)
{
    const int from = m_dpiScale;
    // The window's own sizes without the shadow, whose insets change too.
    const UiSize initSize = GetInitSize(false);
    const UiSize minInfo = GetMinInfo(false);
    const UiSize maxInfo = GetMaxInfo(false);
    m_dpiScale = to;
    DpiManager::GetInstance().SetScale(to);
    HideToolTip();
    if (m_root != nullptr)
        m_root->RescaleDpi(from, to);
    m_shadow.RescaleDpi(to);
    m_initSize = AddShadow(RescaleSize(initSize, from, to), false);
    m_minInfo = AddShadow(RescaleSize(minInfo, from, to), false);
    m_maxInfo = AddShadow(RescaleSize(maxInfo, from, to), false);
    m_caption = RescaleRect(m_caption, from, to);
    m_roundCorner = RescaleSize(m_roundCorner, from, to);
    m_alphaFixCorner = RescaleRect(m_alphaFixCorner, from, to);
    if (m_toolTip != nullptr)
        SetToolTipFont();
    LoadIcons();
    m_arrangeNeeded = true;
    Invalidate(ClientRect(m_hwnd));
}

void Window::HideToolTip()
{
    if (m_toolTip != nullptr)
        ::SendMessageW(m_toolTip, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&m_toolInfo));
}

bool Window::OnTouch(WPARAM wParam, LPARAM lParam)
{
    const TouchApi& api = TouchApi::Get();
    if (api.getTouchInputInfo == nullptr || api.closeTouchInputHandle == nullptr)
        return false;
    const UINT count = LOWORD(wParam);
    if (count == 0)
        return false;
    std::vector<TOUCHINPUT> inputs(count);
    auto* handle = reinterpret_cast<HTOUCHINPUT>(lParam);
    if (!api.getTouchInputInfo(handle, count, inputs.data(), sizeof(TOUCHINPUT)))
        return false;
    const TOUCHINPUT& input = inputs.front();
    const UiPoint point = ScreenToClientPoint(m_hwnd, POINT{input.x / 100, input.y / 100});
    const std::weak_ptr<obase::WeakFlag> alive = GetWeakFlag();
    if ((input.dwFlags & TOUCHEVENTF_DOWN) != 0) {
        ::SetFocus(m_hwnd);
        m_lastMousePos = point;
        Control* control = FindControl(point);
        if (control != nullptr && control->GetWindow() == this) {
            m_touchControl = control;
            ::SetCapture(m_hwnd);
            m_mouseCaptured = true;
            control->SetFocus();
            if (!alive.expired() && m_touchControl == control)
                SendEvent(control, kEventTouchDown);
        }
    } else if ((input.dwFlags & TOUCHEVENTF_MOVE) != 0) {
        if (!(point == m_lastMousePos) && m_pushed == nullptr && m_pointerControl == nullptr) {
            UpdateHover(point);
            if (!alive.expired() && m_touchControl != nullptr)
                SendEvent(m_touchControl, kEventTouchMove);
        }
    } else if ((input.dwFlags & TOUCHEVENTF_UP) != 0) {
        m_lastMousePos = point;
        ReleaseMouseCapture();
        Control* control = m_touchControl;
        m_touchControl = nullptr;
        SendEvent(control, kEventTouchUp);
    }
    api.closeTouchInputHandle(handle);
    return true;
}

bool Window::OnPointer(UINT message, WPARAM wParam)
{
    const TouchApi& api = TouchApi::Get();
    // A release, or the pointer leaving, ends a press whatever the flags say.
    const bool ending = message == WM_POINTERUP || message == WM_POINTERLEAVE ||
                        message == WM_POINTERCAPTURECHANGED;
    if (!m_receivePointerMessages || (!ending && !IS_POINTER_FIRSTBUTTON_WPARAM(wParam)))
        return true;
    if (api.getPointerType == nullptr)
        return false;
    const UINT32 id = GET_POINTERID_WPARAM(wParam);
    POINTER_INPUT_TYPE type = PT_POINTER;
    if (!api.getPointerType(id, &type))
        return false;
    POINT screen{};
    if (type == PT_TOUCH && api.getPointerTouchInfo != nullptr) {
        POINTER_TOUCH_INFO info{};
        if (!api.getPointerTouchInfo(id, &info))
            return false;
        screen = info.pointerInfo.ptPixelLocation;
    } else if (type == PT_PEN && api.getPointerPenInfo != nullptr) {
        POINTER_PEN_INFO info{};
        if (!api.getPointerPenInfo(id, &info))
            return false;
        screen = info.pointerInfo.ptPixelLocation;
    } else {
        return false;
    }
    const UiPoint point = ScreenToClientPoint(m_hwnd, screen);
    const std::weak_ptr<obase::WeakFlag> alive = GetWeakFlag();
    if (message == WM_POINTERDOWN) {
        ::SetFocus(m_hwnd);
        m_lastMousePos = point;
        Control* control = FindControl(point);
        if (control == nullptr || control->GetWindow() != this)
            return false;
        m_pointerControl = control;
        control->SetFocus();
        if (alive.expired() || m_pointerControl != control)
            return true;
        SendEvent(control, kEventPointDown);
        return alive.expired() ||
               (m_pointerControl != nullptr && m_pointerControl->IsReceivePointer());
    }
    if (message == WM_POINTERUPDATE) {
        if (m_pointerControl == nullptr || point == m_lastMousePos)
            return m_pointerControl != nullptr && m_pointerControl->IsReceivePointer();
        UpdateHover(point);
        if (alive.expired() || m_pointerControl == nullptr)
            return true;
        SendEvent(m_pointerControl, kEventPointMove);
        return alive.expired() ||
               (m_pointerControl != nullptr && m_pointerControl->IsReceivePointer());
    }
    Control* control = m_pointerControl;
    if (control == nullptr)
        return false;
    m_pointerControl = nullptr;
    m_lastMousePos = point;
    const bool receives = control->IsReceivePointer();
    SendEvent(control, kEventPointUp);
    return receives;
}

void Window::ReleaseMouseCapture()
{
    if (m_mouseCaptured) {
        ::ReleaseCapture();
        m_mouseCaptured = false;
    }
}

void Window::OnSize(WPARAM type)
{
    SendEvent(m_focus, kEventWindowResize);
    if (type == SIZE_MAXIMIZED)
        m_shadow.OnMaximized();
    else if (type == SIZE_RESTORED)
        m_shadow.OnRestored();
    if (m_root != nullptr)
        m_root->RelayoutSelf();
}

void Window::ResizeToAutoRoot()
{
    const UiSize estimate = m_root->EstimateSize(UiSize(kSizeMax, kSizeMax));
    const UiSize minimum = GetMinInfo(true);
    const UiSize maximum = GetMaxInfo(true);
    int width = std::max(estimate.cx, minimum.cx);
    int height = std::max(estimate.cy, minimum.cy);
    if (maximum.cx > 0)
        width = std::min(width, maximum.cx);
    if (maximum.cy > 0)
        height = std::min(height, maximum.cy);
    const UiRect client = ClientRect(m_hwnd);
    if (width != client.Width() || height != client.Height())
        ::SetWindowPos(m_hwnd, nullptr, 0, 0, width, height,
                       SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
}

void Window::ArrangeMarked(Control* control)
{
    if (control == nullptr || !control->IsVisible())
        return;
    if (control->NeedsArrange()) {
        control->SetRect(control->GetRect());
        return;
    }
    if (auto* box = dynamic_cast<Box*>(control)) {
        for (size_t i = 0; i < box->GetCount(); ++i)
            ArrangeMarked(box->GetItemAt(i));
    }
}

void Window::Paint()
{
    m_paintPosted = false;
    if (::IsIconic(m_hwnd) || m_root == nullptr || m_render == nullptr) {
        PAINTSTRUCT ps{};
        ::BeginPaint(m_hwnd, &ps);
        ::EndPaint(m_hwnd, &ps);
        return;
    }
    if (m_arrangeNeeded && m_root->IsAutoSized())
        ResizeToAutoRoot();

    const bool updated = ::GetUpdateRect(m_hwnd, nullptr, FALSE) != FALSE;
    if (!updated && !m_firstLayout && (!m_layered || m_dirty.IsEmpty()))
        return;
    const UiRect client = ClientRect(m_hwnd);
    PAINTSTRUCT ps{};
    ::BeginPaint(m_hwnd, &ps);
    UiRect paintArea(ps.rcPaint.left, ps.rcPaint.top, ps.rcPaint.right, ps.rcPaint.bottom);
    if (m_layered)
        paintArea.Union(m_dirty);
    m_dirty = UiRect();
    if (client.IsEmpty()) {
        ::EndPaint(m_hwnd, &ps);
        return;
    }

    bool laidOut = false;
    if (m_arrangeNeeded) {
        if (m_root->NeedsArrange() || !(m_root->GetRect() == client))
            m_root->SetRect(client);
        else
            ArrangeMarked(m_root.get());
        m_arrangeNeeded = false;
        laidOut = true;
        if (m_firstLayout) {
            m_firstLayout = false;
            OnInitLayout();
        }
    }
    // After a layout pass anything may have moved, and a new back buffer
    // starts empty: both need the whole client.
    const bool newBuffer = m_render->Resize(client.Width(), client.Height(), true);
    if (newBuffer)
        m_presenter.PresentAllNext();
    if (newBuffer || laidOut)
        paintArea = client;
    if (m_layered) {
        // Off-screen parts of a layered window are not painted.
        const UiRect screen(
            ::GetSystemMetrics(SM_XVIRTUALSCREEN), ::GetSystemMetrics(SM_YVIRTUALSCREEN),
            ::GetSystemMetrics(SM_XVIRTUALSCREEN) + ::GetSystemMetrics(SM_CXVIRTUALSCREEN),
            ::GetSystemMetrics(SM_YVIRTUALSCREEN) + ::GetSystemMetrics(SM_CYVIRTUALSCREEN));
        POINT origin{0, 0};
        ::ClientToScreen(m_hwnd, &origin);
        UiRect visible = screen;
        visible.Offset(-origin.x, -origin.y);
        paintArea.Intersect(visible);
    }
    if (!paintArea.IsEmpty()) {
        if (m_layered)
            m_render->ClearAlpha(paintArea, 0);
        if (m_root->IsVisible()) {
            // One draw for the whole tree; it ends before the pixels are
            // touched directly below.
            m_render->BeginDraw();
            m_render->SetClip(paintArea);
            m_root->PaintWithAlpha(*m_render, paintArea);
            if (m_focus != nullptr && !m_focusCuesHidden && m_focus->IsVisible())
                m_focus->PaintFocusRing(*m_render);
            m_render->ClearClip();
            m_render->EndDraw();
        }
        if (m_layered) {
            // GDI leaves alpha 0 where it draws; inside the content (outside
            // the shadow) every pixel must be opaque. Without a shadow the
            // content reaches the window's edges: a band left transparent
            // there would also let clicks through.
            UiRect content = m_root->GetRect();
            if (!m_alphaFixCorner.IsZero())
                content.Deflate(m_alphaFixCorner);
            else if (m_shadow.IsAttached())
                content.Deflate(m_shadow.GetCorner());
            if (content.Intersect(paintArea))
                m_render->RestoreAlpha(content, UiRect(), 0);
        }
    }
    if (m_layered) {
        m_presenter.Present(m_hwnd, m_render->GetDC(), UiSize(client.Width(), client.Height()),
                            paintArea, static_cast<uint8_t>(m_windowAlpha));
    } else if (!paintArea.IsEmpty()) {
        ::BitBlt(ps.hdc, paintArea.left, paintArea.top, paintArea.Width(), paintArea.Height(),
                 m_render->GetDC(), paintArea.left, paintArea.top, SRCCOPY);
    }
    ::EndPaint(m_hwnd, &ps);
    while (m_pendingTabs != 0 && !m_arrangeNeeded) {
        const bool forward = m_pendingTabs > 0;
        m_pendingTabs += forward ? -1 : 1;
        SetNextTabControl(forward);
    }
}

} // namespace ui
