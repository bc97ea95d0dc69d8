#pragma once

#include <cstdint>
#include <functional>

#include "base/Lock.h"

namespace obase {

// The loop clock: a 32-bit millisecond counter extended to 64 bits by
// counting its wraps, in microseconds. One process-wide instance reads
// timeGetTime; the reading and the wrap offset are taken under one lock so
// that concurrent readers never mistake each other's older reading for a wrap.
class LoopClock {
public:
    using Source = std::function<uint32_t()>;

    explicit LoopClock(Source source);
    LoopClock(const LoopClock&) = delete;
    LoopClock& operator=(const LoopClock&) = delete;

    int64_t NowMicroseconds();

    // The process-wide clock that every message loop uses.
    static LoopClock& Instance();
    static int64_t Now() { return Instance().NowMicroseconds(); }

    // Replaces the millisecond source and forgets the wrap history, so that
    // tests can drive the loops' notion of time explicitly.
    void SetSourceForTesting(Source source);

private:
    Source m_source;
    uint32_t m_lastReading = 0;
    int64_t m_wrapOffset = 0;
    Lock m_lock;
};

} // namespace obase
