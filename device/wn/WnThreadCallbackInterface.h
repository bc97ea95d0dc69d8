#pragma once

#include <cstdint>

// What a WnThread runs: the routine's result becomes the thread's exit code.
class WnThreadCallbackInterface {
public:
    virtual uint32_t ThreadRoutine() = 0;
    virtual ~WnThreadCallbackInterface() = default;
};
