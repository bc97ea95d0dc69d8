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
        obase::LoopClock::Instance().SetSourceForTesting([this] { return m_now.load(); });
    }
    ~FakeClock()
    {
        obase::LoopClock::Instance().SetSourceForTesting(
            [] { return static_cast<uint32_t>(timeGetTime()); });
    }

    void Advance(uint32_t ms) { m_now += ms; }

private:
    std::atomic<uint32_t> m_now = 1000000;
};
