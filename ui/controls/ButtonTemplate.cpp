#include "ui/controls/ButtonTemplate.h"

#include "ui/controls/ControlEvents.h"

#include <windows.h>
#include <oleacc.h>

namespace ui {

template <typename InheritType>
ButtonTemplate<InheritType>::ButtonTemplate()
{
    this->m_textStyle = kButtonTextStyle;
}

template <typename InheritType>
void ButtonTemplate<InheritType>::Activate()
{
    if (!this->CanActivate() || this->m_window == nullptr)
        return;
    SendControlEvent(*this, kEventClick);
}

template <typename InheritType>
void ButtonTemplate<InheritType>::HandleEvent(const EventArgs& event)
{
    if (event.type == kEventKeyDown && this->IsKeyboardEnabled() &&
        (event.keyCode == VK_SPACE || event.keyCode == VK_RETURN)) {
        Activate();
        return;
    }
    LabelTemplate<InheritType>::HandleEvent(event);
}

template <typename InheritType>
uint32_t ButtonTemplate<InheritType>::GetAccessRole() const
{
    return ROLE_SYSTEM_PUSHBUTTON;
}

template <typename InheritType>
bool ButtonTemplate<InheritType>::IsAllowTabStop() const
{
    return this->IsKeyboardEnabled() && this->IsEnabled();
}

template class ButtonTemplate<Control>;
template class ButtonTemplate<Box>;

} // namespace ui
