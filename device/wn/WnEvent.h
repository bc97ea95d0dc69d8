#pragma once

#include <cstdint>

#include "device/wn/WnHandle.h"

// An unnamed kernel event; the reset mode is fixed when the object is built.
class WnEvent : public WnHandle {
public:
    explicit WnEvent(bool manual) : m_manualReset(manual ? 1 : 0) {}

    // Closes any held event and creates a new non-signalled one; 0 or a Win32 error.
    uint32_t Create();
    // 0 or a Win32 error.
    uint32_t Set();

private:
    int32_t m_manualReset = 0;
};
