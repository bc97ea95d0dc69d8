// The accessibility side of Control: what screen readers are told about a
// control and the WinEvents raised when it changes.
#include "ui/core/Control.h"

#include "ui/core/Box.h"
#include "ui/core/Window.h"

#include <windows.h>
#include <oleacc.h>

#include <atomic>

namespace ui {

int32_t Control::NextAccessId()
{
    static std::atomic<int32_t> next{0};
    return ++next;
}

uint32_t Control::GetAccessRole() const
{
    return ROLE_SYSTEM_GRAPHIC;
}

std::wstring Control::GetAccessName() const
{
    if (!m_accessName || m_accessName->empty())
        return DefaultAccessName();
    const auto* box = dynamic_cast<const Box*>(this);
    if (box != nullptr && box->ExposesAccessChildren())
        return *m_accessName;
    for (const Box* group = m_parent; group != nullptr; group = group->GetParent()) {
        const std::wstring name = group->GetAccessGroupName();
        if (!name.empty())
            return name + L" " + *m_accessName;
    }
    return *m_accessName;
}

std::wstring Control::DefaultAccessName() const
{
    std::wstring tip = GetToolTipText();
    return tip.empty() ? ReadableName() : tip;
}

bool Control::IsAccessExposed() const
{
    if (m_accessName)
        return !m_accessName->empty();
    return GetAccessRole() != ROLE_SYSTEM_GRAPHIC || !GetToolTipText().empty();
}

std::wstring Control::GetAccessValue() const
{
    return m_accessValueText ? m_accessValueText() : std::wstring();
}

uint32_t Control::GetAccessState() const
{
    uint32_t state = 0;
    if (!IsVisible())
        state |= STATE_SYSTEM_INVISIBLE;
    else if (!IsOnScreen())
        state |= STATE_SYSTEM_OFFSCREEN;
    if (!IsEnabled())
        state |= STATE_SYSTEM_UNAVAILABLE;
    // Texts, pictures and groups are read, not focused.
    const uint32_t role = GetAccessRole();
    const bool interactive = role != ROLE_SYSTEM_STATICTEXT && role != ROLE_SYSTEM_GRAPHIC &&
                             role != ROLE_SYSTEM_GROUPING;
    if (interactive && IsAllowTabStop() && IsKeyboardEnabled() && !m_noFocus && IsEnabled())
        state |= STATE_SYSTEM_FOCUSABLE;
    if (m_window != nullptr && m_window->GetFocus() == this)
        state |= STATE_SYSTEM_FOCUSED;
    if (m_state == kControlStateHot && IsEnabled())
        state |= STATE_SYSTEM_HOTTRACKED;
    if (m_state == kControlStatePushed)
        state |= STATE_SYSTEM_PRESSED;
    return state;
}

bool Control::IsOnScreen() const
{
    // What is left of the rectangle once every box around it has clipped
    // it (scrolled lists place their entries at the scrolled position).
    UiRect shown = m_rect;
    for (const Box* box = m_parent; box != nullptr && !shown.IsEmpty(); box = box->GetParent())
        shown.Intersect(box->GetRect());
    if (m_window != nullptr && m_window->GetHWND() != nullptr) {
        RECT client{};
        ::GetClientRect(m_window->GetHWND(), &client);
        shown.Intersect(UiRect(client.left, client.top, client.right, client.bottom));
    }
    return !shown.IsEmpty();
}

UiRect Control::GetAccessLineRect(size_t) const
{
    return GetRect();
}

void Control::NotifyAccess(uint32_t event) const
{
    if (m_window != nullptr)
        m_window->NotifyAccessEvent(event, *this);
}

std::wstring Control::ReadableName() const
{
    std::wstring readable;
    for (const wchar_t c : m_name) {
        const bool separator = c == L'_' || c == L'-' || c == L' ';
        if (!separator)
            readable += c;
        else if (!readable.empty() && readable.back() != L' ')
            readable += L' ';
    }
    while (!readable.empty() && readable.back() == L' ')
        readable.pop_back();
    return readable;
}

} // namespace ui
