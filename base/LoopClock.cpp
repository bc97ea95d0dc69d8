#include "base/LoopClock.h"

#include <mutex>
#include <utility>

#include <windows.h>
#include <timeapi.h>

namespace obase {

LoopClock::LoopClock(Source source) : source_(std::move(source)) {}

int64_t LoopClock::NowMicroseconds()
{
    std::lock_guard guard(lock_);
    const uint32_t reading = source_();
    if (reading < lastReading_)
        wrapOffset_ += int64_t{1} << 32;
    lastReading_ = reading;
    return (wrapOffset_ + reading) * 1000;
}

LoopClock& LoopClock::Instance()
{
    static LoopClock clock([] { return static_cast<uint32_t>(timeGetTime()); });
    return clock;
}

void LoopClock::SetSourceForTesting(Source source)
{
    std::lock_guard guard(lock_);
    source_ = std::move(source);
    lastReading_ = 0;
    wrapOffset_ = 0;
}

}  // namespace obase
