#pragma once

#include <cstdint>

#include "device/wn/WnHandle.h"

class WnThreadCallbackInterface;

// An OS thread started through the C runtime, so the runtime is set up on it.
class WnThread : public WnHandle {
public:
    // Starts `callback->ThreadRoutine()` on a new thread; 0 or a Win32 error.
    uint32_t Start(WnThreadCallbackInterface* callback, uint32_t stackSize, uint32_t creationFlags);
    void Close() override;
    uint32_t ThreadId() const { return m_threadId; }

private:
    uint32_t m_threadId = 0;
};
