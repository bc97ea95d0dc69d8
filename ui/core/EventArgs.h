#pragma once

#include "ui/core/EventType.h"
#include "ui/render/UiPoint.h"

#include <cstdint>

namespace ui {

class Control;

// One event as handlers and controls receive it.
struct EventArgs {
    EventType type = kEventNone;
    Control* sender = nullptr;
    uint32_t timestamp = 0; // system tick count, milliseconds
    UiPoint mousePoint;     // window client coordinates
    uint16_t keyCode = 0;
    uint64_t wParam = 0;
    int64_t lParam = 0;
    float pressure = 0;
};

} // namespace ui
