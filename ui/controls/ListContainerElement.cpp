#include "ui/controls/ListContainerElement.h"

#include "ui/controls/ListBox.h"

namespace ui {

void ListContainerElement::Selected(bool select, bool notify)
{
    const std::weak_ptr<obase::WeakFlag> alive = GetWeakFlag();
    OptionTemplate<Box>::Selected(select, notify);
    if (select && !alive.expired() && m_owner != nullptr)
        m_owner->SelectItem(m_index, false, notify);
}

void ListContainerElement::SetOwner(ListBox* owner, int index)
{
    m_owner = owner;
    m_index = index;
}

} // namespace ui
