#pragma once

#include "device/wn/WnEvent.h"

class WnManualResetEvent : public WnEvent {
public:
    WnManualResetEvent() : WnEvent(true) {}
};
