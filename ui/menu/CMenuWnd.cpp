#include "ui/menu/CMenuWnd.h"

#include "ui/core/Box.h"
#include "ui/markup/DpiScope.h"
#include "ui/menu/CMenuElementUI.h"

#include <oleacc.h>

#include <algorithm>

namespace orb_comp {

namespace {

void CollectItems(ui::Control* control, std::vector<CMenuElementUI*>& items)
{
    if (control == nullptr || !control->IsVisible())
        return;
    if (auto* item = dynamic_cast<CMenuElementUI*>(control)) {
        if (item->IsEnabled())
            items.push_back(item);
        return;
    }
    if (auto* box = dynamic_cast<ui::Box*>(control)) {
        for (size_t i = 0; i < box->GetCount(); ++i)
            CollectItems(box->GetItemAt(i), items);
    }
}

void SetHighlight(CMenuElementUI& item, bool on)
{
    item.SetState(on ? ui::kControlStateHot : ui::kControlStateNormal);
    item.SetHotAlpha(on ? 255 : 0);
    if (on)
        item.NotifyAccess(EVENT_OBJECT_FOCUS);
}

} // namespace

CMenuWnd::CMenuWnd(HWND parent) : m_parent(parent) {}

bool CMenuWnd::Init(const std::wstring& skinFile, const std::wstring& skinType, ui::UiPoint point,
                    MenuPosition position, bool noFocus)
{
    m_point = point;
    m_position = position;
    m_skinFile = skinFile;
    m_skinType = skinType;
    m_noFocus = noFocus;
    // Only skin files named by their file name ("xml") are supported.
    if (m_skinType != L"xml") {
        delete this;
        return false;
    }
    const std::weak_ptr<obase::WeakFlag> alive = GetWeakFlag();
    // Made at the point, so that it has the scale of the monitor it opens on.
    HWND hwnd = Create(m_parent, kWindowTitle, WS_POPUP, WS_EX_TOPMOST | WS_EX_TOOLWINDOW, true,
                       ui::UiRect(point.x, point.y, point.x, point.y));
    if (hwnd == nullptr) {
        // A window that failed in its creation has already deleted the
        // object; one that never came to be leaves it to us.
        if (!alive.expired())
            delete this;
        return false;
    }
    HWND topLevel = hwnd;
    while (HWND parent = ::GetParent(topLevel))
        topLevel = parent;
    ::ShowWindow(hwnd, m_noFocus ? SW_SHOWNOACTIVATE : SW_SHOW);
    ::SetWindowPos(hwnd, nullptr, point.x, point.y, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    // The owner's caption keeps its active look while the menu has the focus.
    ::SendMessageW(topLevel, WM_NCACTIVATE, TRUE, 0);
    ::NotifyWinEvent(EVENT_SYSTEM_MENUPOPUPSTART, hwnd, OBJID_CLIENT, CHILDID_SELF);
    return true;
}

void CMenuWnd::Show()
{
    HWND hwnd = GetHWND();
    if (hwnd == nullptr || !::IsWindow(hwnd) || GetRoot() == nullptr)
        return;
    // Measured at the menu's scale, whichever window asks to show it.
    const ui::DpiScope scope(GetDpiScale());
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    ::GetMonitorInfoW(::MonitorFromWindow(hwnd, MONITOR_DEFAULTTOPRIMARY), &monitor);
    const ui::UiRect work(monitor.rcWork.left, monitor.rcWork.top, monitor.rcWork.right,
                          monitor.rcWork.bottom);
    ui::UiSize size = GetRoot()->EstimateSize(ui::UiSize(work.Width(), work.Height()));
    const ui::UiRect insets = GetShadow().IsAttached() ? GetShadow().GetCorner() : ui::UiRect();
    size.cx -= insets.left + insets.right;
    size.cy -= insets.top + insets.bottom;
    m_point = PlaceMenu(m_point, size, work, m_position);
    UINT flags = SWP_SHOWWINDOW;
    if (m_noFocus)
        flags |= SWP_NOACTIVATE;
    ::SetWindowPos(hwnd, HWND_TOPMOST, m_point.x - insets.left, m_point.y - insets.top,
                   size.cx + insets.left + insets.right, size.cy + insets.top + insets.bottom,
                   flags);
    if (!m_noFocus)
        ::SetForegroundWindow(hwnd);
}

void CMenuWnd::Close(UINT code)
{
    if (m_closing)
        return;
    m_closing = true;
    if (GetHWND() != nullptr)
        ::NotifyWinEvent(EVENT_SYSTEM_MENUPOPUPEND, GetHWND(), OBJID_CLIENT, CHILDID_SELF);
    WindowImplBase::Close(code);
}

uint32_t CMenuWnd::GetAccessRole() const
{
    return ROLE_SYSTEM_MENUPOPUP;
}

LRESULT CMenuWnd::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled)
{
    if (message == WM_KILLFOCUS) {
        Close(1);
        handled = true;
        return 0;
    }
    if (message == WM_KEYDOWN) {
        if (wParam == VK_ESCAPE) {
            Close(1);
        } else if (MoveHighlight(wParam)) {
            handled = true;
            return 0;
        } else if (wParam == VK_RETURN || wParam == VK_SPACE) {
            // Handled here so that the list never selects (and so chooses)
            // an item by itself.
            ChooseHighlighted();
            handled = true;
            return 0;
        }
    }
    return WindowImplBase::HandleMessage(message, wParam, lParam, handled);
}

std::unique_ptr<ui::Control> CMenuWnd::CreateControl(const std::wstring& className)
{
    if (className == L"MenuElement")
        return std::make_unique<CMenuElementUI>();
    return nullptr;
}

std::vector<CMenuElementUI*> CMenuWnd::SelectableItems() const
{
    std::vector<CMenuElementUI*> items;
    CollectItems(GetRoot(), items);
    return items;
}

bool CMenuWnd::MoveHighlight(WPARAM key)
{
    if (key != VK_UP && key != VK_DOWN && key != VK_HOME && key != VK_END)
        return false;
    const std::vector<CMenuElementUI*> items = SelectableItems();
    if (items.empty() || m_closing)
        return true;
    const int last = static_cast<int>(items.size()) - 1;
    const auto hot = std::find_if(items.begin(), items.end(), [](const CMenuElementUI* item) {
        return item->GetState() == ui::kControlStateHot;
    });
    const int current = hot == items.end() ? -1 : static_cast<int>(hot - items.begin());
    int next = 0;
    if (key == VK_UP)
        next = current <= 0 ? last : current - 1;
    else if (key == VK_DOWN)
        next = current < 0 || current == last ? 0 : current + 1;
    else if (key == VK_END)
        next = last;
    for (int i = 0; i <= last; ++i) {
        if (i == next || items[i]->GetState() == ui::kControlStateHot)
            SetHighlight(*items[i], i == next);
    }
    return true;
}

void CMenuWnd::ChooseHighlighted()
{
    for (CMenuElementUI* item : SelectableItems()) {
        if (item->GetState() == ui::kControlStateHot) {
            item->Choose();
            return;
        }
    }
}

} // namespace orb_comp
