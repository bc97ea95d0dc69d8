#pragma once

#include "device/wn/WnEvent.h"

class WnAutoResetEvent : public WnEvent {
public:
    WnAutoResetEvent() : WnEvent(false) {}
};
