#include "ui/controls/ControlEvents.h"

#include "ui/core/Control.h"
#include "ui/core/Window.h"

namespace ui {

void SendControlEvent(Control& control, EventType type, uint64_t wParam, int64_t lParam)
{
    EventArgs event;
    event.type = type;
    event.sender = &control;
    event.timestamp = ::GetTickCount();
    if (const Window* window = control.GetWindow())
        event.mousePoint = window->GetLastMousePos();
    event.wParam = wParam;
    event.lParam = lParam;
    control.DispatchEvent(event);
}

} // namespace ui
