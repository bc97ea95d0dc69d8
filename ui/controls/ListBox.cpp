#include "ui/controls/ListBox.h"

#include "ui/controls/ControlEvents.h"
#include "ui/controls/ListContainerElement.h"

#include <windows.h>
#include <oleacc.h>

namespace ui {

ListBox::ListBox(std::unique_ptr<Layout> layout) : ScrollableBox(std::move(layout)) {}

uint32_t ListBox::GetAccessRole() const
{
    return ROLE_SYSTEM_LIST;
}

ListBox::~ListBox()
{
    for (int i = 0; i < static_cast<int>(GetCount()); ++i) {
        if (ListContainerElement* element = ElementAt(i))
            element->SetOwner(nullptr, -1);
    }
}

bool ListBox::SelectItem(int index, bool takeFocus, bool trigger)
{
    Control* item = index >= 0 ? GetItemAt(static_cast<size_t>(index)) : nullptr;
    if (item == nullptr || !item->IsVisible() || !item->IsEnabled())
        return false;
    const std::weak_ptr<obase::WeakFlag> alive = GetWeakFlag();
    const int previous = m_curSel;
    if (previous != index) {
        m_curSel = index;
        if (ListContainerElement* old = ElementAt(previous)) {
            old->Selected(false, trigger);
            if (alive.expired())
                return true;
        }
    }
    // The element reports back through SelectItem; with the index already
    // current that nested call only scrolls.
    if (ListContainerElement* element = ElementAt(index);
        element != nullptr && !element->IsSelected()) {
        element->Selected(true, false);
        if (alive.expired())
            return true;
    }
    EnsureVisible(index);
    if (takeFocus)
        item->SetFocus();
    if (trigger && !alive.expired())
        SendControlEvent(*this, kEventSelect, static_cast<uint64_t>(index), previous);
    return true;
}

void ListBox::EnsureVisible(int index)
{
    Control* item = index >= 0 ? GetItemAt(static_cast<size_t>(index)) : nullptr;
    if (item == nullptr || !item->IsVisible())
        return;
    if (NeedsArrange() || item->NeedsArrange()) {
        m_pendingVisible = index;
        return;
    }
    UiRect content = GetContentRect();
    if (IsVerticalScrollBarShown() && GetVerticalScrollBar() != nullptr)
        content.right -= GetVerticalScrollBar()->GetFixedWidth();
    const UiRect rect = item->GetRect();
    UiSize pos = GetScrollPos();
    if (rect.top < content.top)
        pos.cy -= content.top - rect.top;
    else if (rect.bottom > content.bottom)
        pos.cy += rect.bottom - content.bottom;
    if (rect.left < content.left)
        pos.cx -= content.left - rect.left;
    else if (rect.right > content.right)
        pos.cx += rect.right - content.right;
    SetScrollPos(pos);
}

bool ListBox::AddAt(std::unique_ptr<Control> control, size_t index)
{
    if (!ScrollableBox::AddAt(std::move(control), index))
        return false;
    if (m_curSel >= 0 && static_cast<size_t>(m_curSel) >= index)
        ++m_curSel;
    UpdateIndexes();
    return true;
}

bool ListBox::RemoveAt(size_t index)
{
    if (index >= GetCount())
        return false;
    // An entry that outlives its removal (auto destroy off) belongs to no list.
    if (ListContainerElement* element = ElementAt(static_cast<int>(index)))
        element->SetOwner(nullptr, -1);
    if (!ScrollableBox::RemoveAt(index))
        return false;
    const int removed = static_cast<int>(index);
    if (removed == m_curSel)
        m_curSel = -1;
    else if (removed < m_curSel)
        --m_curSel;
    if (m_pendingVisible >= removed)
        m_pendingVisible = -1;
    UpdateIndexes();
    return true;
}

void ListBox::RemoveAll()
{
    for (int i = 0; i < static_cast<int>(GetCount()); ++i) {
        if (ListContainerElement* element = ElementAt(i))
            element->SetOwner(nullptr, -1);
    }
    m_curSel = -1;
    m_pendingVisible = -1;
    ScrollableBox::RemoveAll();
}

bool ListBox::SetItemIndex(Control* control, size_t index)
{
    Control* selected = m_curSel >= 0 ? GetItemAt(static_cast<size_t>(m_curSel)) : nullptr;
    if (!ScrollableBox::SetItemIndex(control, index))
        return false;
    if (selected != nullptr)
        m_curSel = GetItemIndex(selected);
    m_pendingVisible = -1;
    UpdateIndexes();
    return true;
}

void ListBox::SetRect(const UiRect& rect)
{
    ScrollableBox::SetRect(rect);
    if (m_pendingVisible >= 0) {
        const int index = m_pendingVisible;
        m_pendingVisible = -1;
        EnsureVisible(index);
    }
}

void ListBox::HandleEvent(const EventArgs& event)
{
    if (event.type == kEventKeyDown && IsEnabled() && SelectByKey(event.keyCode))
        return;
    ScrollableBox::HandleEvent(event);
}

ListContainerElement* ListBox::ElementAt(int index) const
{
    if (index < 0)
        return nullptr;
    return dynamic_cast<ListContainerElement*>(GetItemAt(static_cast<size_t>(index)));
}

void ListBox::UpdateIndexes()
{
    for (int i = 0; i < static_cast<int>(GetCount()); ++i) {
        if (ListContainerElement* element = ElementAt(i))
            element->SetOwner(this, i);
    }
}

bool ListBox::SelectByKey(uint16_t key, bool trigger)
{
    const int count = static_cast<int>(GetCount());
    int target = -1;
    switch (key) {
    case VK_UP:
    case VK_LEFT:
        target = m_curSel > 0 ? FindSelectable(m_curSel - 1, false) : -1;
        break;
    case VK_DOWN:
    case VK_RIGHT:
        target = FindSelectable(m_curSel + 1, true);
        break;
    case VK_HOME:
        target = FindSelectable(0, true);
        break;
    case VK_END:
        target = FindSelectable(count - 1, false);
        break;
    default:
        return false;
    }
    if (target >= 0)
        SelectItem(target, true, trigger);
    return true;
}

} // namespace ui
