#include "ui/controls/Combo.h"

#include "ui/controls/CComboWnd.h"
#include "ui/controls/ControlEvents.h"
#include "ui/controls/ListBox.h"
#include "ui/controls/ListContainerElement.h"
#include "ui/core/AttributeText.h"
#include "ui/core/DpiRescale.h"
#include "ui/core/VLayout.h"
#include "ui/core/Window.h"
#include "ui/markup/GlobalManager.h"
#include "ui/render/IRenderContext.h"

#include <oleacc.h>

#include <algorithm>

namespace ui {

Combo::Combo() : m_list(std::make_unique<ListBox>(std::make_unique<VLayout>()))
{
    m_dropBoxSize.cy = DpiScale(kDefaultDropHeight);
    m_list->GetLayout().SetPadding(UiRect(1, 1, 1, 1), true);
    m_list->SetSideBorderSizes(DpiScale(UiRect(1, 1, 1, 1)));
    m_list->EnableScrollBar(true, false);
    m_list->ApplyAttributes(m_dropBoxAttributes);
    m_list->AddEventHandler(kEventSelect,
                            ToWeakCallback([this](const EventArgs&) { return OnListSelect(); }));
}

Combo::~Combo()
{
    if (CComboWnd* drop = std::exchange(m_dropWindow, nullptr))
        drop->ForgetOwner();
}

void Combo::SetAttribute(const std::wstring& name, const std::wstring& value)
{
    if (name == L"dropbox") {
        m_dropBoxAttributes = value;
        m_list->ApplyAttributes(value);
    } else if (name == L"vscrollbar") {
        // The list always has its vertical scroll bar.
    } else if (name == L"dropboxsize") {
        const UiSize size = AttributeText::ParseSize(value);
        m_dropBoxSize = UiSize(DpiScale(size.cx), DpiScale(size.cy));
    } else if (name == L"popuptop") {
        m_popupTop = AttributeText::ParseBool(value);
    } else {
        Box::SetAttribute(name, value);
    }
}

void Combo::SetWindow(Window* window)
{
    Box::SetWindow(window);
    if (m_dropWindow == nullptr)
        m_list->SetWindow(window);
}

void Combo::SetWindow(Window* window, Box* parent, bool init)
{
    Box::SetWindow(window, parent, init);
    // While the drop-down is open the list belongs to it.
    if (m_dropWindow == nullptr)
        m_list->SetWindow(window, this, init);
}

void Combo::RescaleDpi(int from, int to)
{
    Box::RescaleDpi(from, to);
    m_dropBoxSize = RescaleSize(m_dropBoxSize, from, to);
    if (m_dropWindow == nullptr)
        m_list->RescaleDpi(from, to);
}

void Combo::Activate()
{
    if (!CanActivate() || m_dropWindow != nullptr || m_window == nullptr ||
        m_window->GetHWND() == nullptr)
        return;
    const UiRect rect = ComputeDropRect();
    const std::weak_ptr<obase::WeakFlag> alive = GetWeakFlag();
    m_dropWindow = new CComboWnd(*this);
    if (!m_dropWindow->Open(rect)) {
        if (!alive.expired())
            OnDropWindowGone();
        return;
    }
    if (alive.expired())
        return;
    SendControlEvent(*this, kEventClick);
    if (!alive.expired())
        Invalidate();
}

UiRect Combo::ComputeDropRect() const
{
    // Children of scrolled boxes are placed at their scrolled position, so
    // the rectangle is already where the combo shows.
    const UiRect r = m_rect;
    const int width = m_dropBoxSize.cx > 0 ? m_dropBoxSize.cx : r.Width();
    const UiRect padding = m_list->GetLayout().GetPadding();
    int height = padding.top + padding.bottom;
    int visible = 0;
    for (size_t i = 0; i < m_list->GetCount(); ++i) {
        Control* item = m_list->GetItemAt(i);
        if (item == nullptr || !item->IsVisible())
            continue;
        const UiSize size = item->EstimateSize(UiSize(width, m_dropBoxSize.cy));
        const UiRect margin = item->GetMargin();
        height += std::max(size.cy, 0) + margin.top + margin.bottom;
        ++visible;
    }
    if (visible > 1)
        height += m_list->GetLayout().GetChildMargin() * (visible - 1);
    height = std::min(height, m_dropBoxSize.cy);

    HWND hwnd = m_window != nullptr ? m_window->GetHWND() : nullptr;
    const auto toScreen = [hwnd, &r, width](int top, int bottom) {
        POINT corner{r.left, top};
        ::ClientToScreen(hwnd, &corner);
        return UiRect(corner.x, corner.y, corner.x + width, corner.y + (bottom - top));
    };
    UiRect below = toScreen(r.bottom + 1, r.bottom + 1 + height);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    ::GetMonitorInfoW(::MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY), &monitor);
    if (below.bottom > monitor.rcWork.bottom || m_popupTop)
        return toScreen(r.top - height, r.top);
    return below;
}

void Combo::HandleEvent(const EventArgs& event)
{
    const bool keys = IsEnabled() && IsKeyboardEnabled();
    const bool upOrDown = event.keyCode == VK_DOWN || event.keyCode == VK_UP;
    if (event.type == kEventSystemKey && keys && upOrDown) {
        Activate(); // Alt+Down, Alt+Up
        return;
    }
    if (event.type == kEventKeyDown && keys) {
        const bool alt = ::GetKeyState(VK_MENU) < 0;
        if (event.keyCode == VK_F4 || (alt && upOrDown)) {
            Activate();
            return;
        }
        if (event.keyCode == VK_DOWN || event.keyCode == VK_UP) {
            Step(event.keyCode == VK_DOWN);
            return;
        }
    }
    Box::HandleEvent(event);
}

void Combo::Step(bool forward)
{
    const int index = m_list->FindSelectable(m_curSel + (forward ? 1 : -1), forward);
    if (index < 0)
        return;
    m_stepping = true;
    const std::weak_ptr<obase::WeakFlag> alive = GetWeakFlag();
    m_list->SelectItem(index, false, true);
    if (!alive.expired())
        m_stepping = false;
}

bool Combo::OnListSelect()
{
    if (m_dropWindow != nullptr && m_dropWindow->GetHWND() != nullptr)
        ::PostMessageW(m_dropWindow->GetHWND(), WM_KILLFOCUS, 0, 0);
    if (m_curSel != m_list->GetCurSel()) {
        m_curSel = m_list->GetCurSel();
        NotifyAccess(EVENT_OBJECT_VALUECHANGE);
    }
    if (Control* item =
            m_curSel >= 0 ? m_list->GetItemAt(static_cast<size_t>(m_curSel)) : nullptr) {
        item->SetState(kControlStateNormal);
        item->SetHotAlpha(0);
    }
    const std::weak_ptr<obase::WeakFlag> alive = GetWeakFlag();
    if (m_dropWindow != nullptr || m_stepping)
        SendControlEvent(*this, kEventSelect, static_cast<uint64_t>(m_curSel), -1);
    if (!alive.expired())
        Invalidate();
    return true;
}

bool Combo::SelectItem(int index)
{
    if (index < 0 || index >= static_cast<int>(m_list->GetCount()) || index == m_curSel)
        return false;
    m_curSel = index;
    m_list->SelectItem(index, false, false);
    Invalidate();
    NotifyAccess(EVENT_OBJECT_VALUECHANGE);
    return true;
}

uint32_t Combo::GetAccessRole() const
{
    return ROLE_SYSTEM_COMBOBOX;
}

std::wstring Combo::GetAccessValue() const
{
    const Control* item =
        m_curSel >= 0 ? m_list->GetItemAt(static_cast<size_t>(m_curSel)) : nullptr;
    return item != nullptr ? item->GetAccessName() : std::wstring();
}

uint32_t Combo::GetAccessState() const
{
    const uint32_t dropped =
        m_dropWindow != nullptr ? STATE_SYSTEM_EXPANDED : STATE_SYSTEM_COLLAPSED;
    return Box::GetAccessState() | STATE_SYSTEM_HASPOPUP | dropped;
}

void Combo::PaintText(IRenderContext& context)
{
    auto* element =
        m_curSel >= 0
            ? dynamic_cast<ListContainerElement*>(m_list->GetItemAt(static_cast<size_t>(m_curSel)))
            : nullptr;
    if (element == nullptr)
        return;
    UiRect rect = m_rect;
    rect.Deflate(element->GetTextPadding());
    std::wstring color =
        element->GetTextColor(IsEnabled() ? kControlStateNormal : kControlStateDisabled);
    if (color.empty())
        color = element->GetTextColor(kControlStateNormal);
    const uint32_t argb = GlobalManager::GetTextColor(color);
    if (argb != 0)
        context.DrawText(rect, element->GetText(), argb, element->GetFont(),
                         element->GetDrawTextStyle(), 255, false);
}

bool Combo::Add(std::unique_ptr<Control> control)
{
    return AddAt(std::move(control), m_list->GetCount());
}

bool Combo::AddAt(std::unique_ptr<Control> control, size_t index)
{
    if (control == nullptr)
        return false;
    control->SetAttribute(L"receivepointer", L"true");
    const bool added = m_list->AddAt(std::move(control), index);
    m_curSel = m_list->GetCurSel();
    Invalidate();
    return added;
}

bool Combo::Remove(Control* control)
{
    const bool removed = m_list->Remove(control);
    m_curSel = m_list->GetCurSel();
    Invalidate();
    return removed;
}

bool Combo::RemoveAt(size_t index)
{
    const bool removed = m_list->RemoveAt(index);
    m_curSel = m_list->GetCurSel();
    Invalidate();
    return removed;
}

void Combo::RemoveAll()
{
    m_list->RemoveAll();
    m_curSel = -1;
    Invalidate();
}

size_t Combo::GetCount() const
{
    return m_list->GetCount();
}

Control* Combo::GetItemAt(size_t index) const
{
    return m_list->GetItemAt(index);
}

int Combo::GetItemIndex(const Control* control) const
{
    return m_list->GetItemIndex(control);
}

void Combo::OnDropClosed()
{
    m_list->SetWindow(m_window, this, false);
    // A pop-up closed with a fade has hidden its content.
    m_list->SetInheritedVisible(true);
    Invalidate();
    SetFocus();
}

void Combo::OnDropWindowGone()
{
    m_dropWindow = nullptr;
    if (m_list->GetParent() != this)
        m_list->SetWindow(m_window, this, false);
    m_list->SetInheritedVisible(true);
    Invalidate();
}

} // namespace ui
