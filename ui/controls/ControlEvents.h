#pragma once

#include "ui/core/EventType.h"

#include <cstdint>

namespace ui {

class Control;

// Sends an event that a control raises about itself (click, select,
// value change) to its own DispatchEvent: the control as sender, the
// current tick count and the window's last mouse position.
void SendControlEvent(Control& control, EventType type, uint64_t wParam = 0, int64_t lParam = 0);

} // namespace ui
