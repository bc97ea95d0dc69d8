#pragma once

#include <atomic>
#include <cstdint>

#include <windows.h>
#include <timeapi.h>

#include "base/LoopClock.h"

// Freezes the loops' clock for a test so that run times are exact; the test
// moves it forward itself. Restores the real clock when it goes.
class FakeClock {
public:
    FakeClock()
    {
        obase::LoopClock::Instance().SetSourceForTesting([this] { return now_.load(); });
    }
    ~FakeClock()
    {
        obase::LoopClock::Instance().SetSourceForTesting(
            [] { return static_cast<uint32_t>(timeGetTime()); });
    }

    void Advance(uint32_t ms) { now_ += ms; }

private:
    std::atomic<uint32_t> now_ = 1000000;
};
