#include "ui/controls/ListContainerElement.h"

#include "ui/controls/ListBox.h"

#include <oleacc.h>

namespace ui {

void ListContainerElement::Selected(bool select, bool notify)
{
    const std::weak_ptr<obase::WeakFlag> alive = GetWeakFlag();
    OptionTemplate<Box>::Selected(select, notify);
    if (select && !alive.expired() && m_owner != nullptr)
        m_owner->SelectItem(m_index, false, notify);
}

uint32_t ListContainerElement::GetAccessRole() const
{
    return ROLE_SYSTEM_LISTITEM;
}

uint32_t ListContainerElement::GetAccessState() const
{
    // Selected rather than checked, as list entries are.
    uint32_t state = OptionTemplate<Box>::GetAccessState() & ~STATE_SYSTEM_CHECKED;
    state |= STATE_SYSTEM_SELECTABLE;
    return IsSelected() ? state | STATE_SYSTEM_SELECTED : state;
}

void ListContainerElement::SetOwner(ListBox* owner, int index)
{
    m_owner = owner;
    m_index = index;
}

} // namespace ui
