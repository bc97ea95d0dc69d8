#include "ui/controls/OptionTemplate.h"

#include "ui/controls/ControlEvents.h"
#include "ui/core/Window.h"

#include <oleacc.h>

#include <algorithm>
#include <vector>

namespace ui {

namespace {

// Group members of either kind.
void DeselectMember(Control* member, bool notify)
{
    if (auto* option = dynamic_cast<OptionTemplate<Control>*>(member))
        option->Selected(false, notify);
    else if (auto* optionBox = dynamic_cast<OptionTemplate<Box>*>(member))
        optionBox->Selected(false, notify);
}

} // namespace

template <typename InheritType>
OptionTemplate<InheritType>::~OptionTemplate()
{
    if (this->m_window != nullptr && !m_group.empty())
        this->m_window->RemoveOptionGroup(m_group, this);
}

template <typename InheritType>
void OptionTemplate<InheritType>::Selected(bool select, bool notify)
{
    const bool changed = this->m_selected != select;
    this->m_selected = select;
    if (changed)
        this->NotifyAccess(EVENT_OBJECT_STATECHANGE);
    if (this->m_window == nullptr) {
        this->Invalidate();
        return;
    }
    // Markup applied while building deselects the group quietly.
    const bool building = this->m_window->IsBuilding();
    if (select) {
        const std::weak_ptr<obase::WeakFlag> alive = this->GetWeakFlag();
        DeselectGroup(notify && !building);
        if (alive.expired())
            return;
        if (!notify || building) {
            this->Invalidate();
            return;
        }
    } else if (building) {
        this->Invalidate();
        return;
    }
    this->NotifySelection();
}

template <typename InheritType>
void OptionTemplate<InheritType>::DeselectGroup(bool notify)
{
    if (m_group.empty())
        return;
    const std::vector<Control*>* group = this->m_window->GetOptionGroup(m_group);
    if (group == nullptr)
        return;
    // Handlers of "unselect" may change the group: walk a copy and skip
    // members that have left it meanwhile.
    const std::vector<Control*> members = *group;
    const std::wstring name = m_group;
    Window* window = this->m_window;
    for (Control* member : members) {
        if (member == this)
            continue;
        const std::vector<Control*>* current = window->GetOptionGroup(name);
        if (current == nullptr ||
            std::find(current->begin(), current->end(), member) == current->end())
            continue;
        DeselectMember(member, notify);
    }
}

template <typename InheritType>
void OptionTemplate<InheritType>::SetGroup(const std::wstring& group)
{
    if (group == m_group)
        return;
    if (this->m_window != nullptr && !m_group.empty())
        this->m_window->RemoveOptionGroup(m_group, this);
    m_group = group;
    if (this->m_window != nullptr && !m_group.empty())
        this->m_window->AddOptionGroup(m_group, this);
}

template <typename InheritType>
void OptionTemplate<InheritType>::SetWindow(Window* window, Box* parent, bool init)
{
    CheckBoxTemplate<InheritType>::SetWindow(window, parent, init);
    if (init && window != nullptr && !m_group.empty())
        window->AddOptionGroup(m_group, this);
}

template <typename InheritType>
void OptionTemplate<InheritType>::SetAttribute(const std::wstring& name, const std::wstring& value)
{
    if (name == L"group")
        SetGroup(value);
    else
        CheckBoxTemplate<InheritType>::SetAttribute(name, value);
}

template <typename InheritType>
uint32_t OptionTemplate<InheritType>::GetAccessRole() const
{
    return ROLE_SYSTEM_RADIOBUTTON;
}

template <typename InheritType>
void OptionTemplate<InheritType>::Activate()
{
    if (!this->CanActivate())
        return;
    const std::weak_ptr<obase::WeakFlag> alive = this->GetWeakFlag();
    SendControlEvent(*this, kEventClick);
    if (!alive.expired() && this->CanActivate())
        Selected(true, true);
}

template class OptionTemplate<Control>;
template class OptionTemplate<Box>;

} // namespace ui
