#include "base/LoopClock.h"

#include <mutex>
#include <utility>

#include <windows.h>
#include <timeapi.h>

namespace obase {

LoopClock::LoopClock(Source source) : m_source(std::move(source)) {}

int64_t LoopClock::NowMicroseconds()
{
    std::lock_guard guard(m_lock);
    const uint32_t reading = m_source();
    if (reading < m_lastReading)
        m_wrapOffset += int64_t{1} << 32;
    m_lastReading = reading;
    return (m_wrapOffset + reading) * 1000;
}

LoopClock& LoopClock::Instance()
{
    static LoopClock clock([] { return static_cast<uint32_t>(timeGetTime()); });
    return clock;
}

void LoopClock::SetSourceForTesting(Source source)
{
    std::lock_guard guard(m_lock);
    m_source = std::move(source);
    m_lastReading = 0;
    m_wrapOffset = 0;
}

} // namespace obase
