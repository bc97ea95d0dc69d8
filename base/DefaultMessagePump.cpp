#include "base/DefaultMessagePump.h"

#include "base/LoopClock.h"

namespace obase {

DefaultMessagePump::DefaultMessagePump() : m_event(CreateEventW(nullptr, FALSE, FALSE, nullptr)) {}

DefaultMessagePump::~DefaultMessagePump()
{
    if (m_event)
        CloseHandle(m_event);
}

void DefaultMessagePump::Run(Delegate* delegate)
{
    // The pump waits only when no step did anything: DoWork runs one task
    // per call, so work left in the loop's queue must be picked up first.
    for (;;) {
        bool didWork = delegate->DoWork();
        if (m_shouldQuit)
            break;
        didWork |= delegate->DoDelayedWork(&m_delayedWorkTime);
        if (m_shouldQuit)
            break;
        if (didWork)
            continue;
        didWork = delegate->DoIdleWork();
        if (m_shouldQuit)
            break;
        if (didWork)
            continue;
        WaitForWork();
    }
    m_shouldQuit = false;
}

void DefaultMessagePump::WaitForWork()
{
    if (m_delayedWorkTime == 0) {
        WaitForSingleObject(m_event, INFINITE);
        return;
    }
    const int64_t remaining = m_delayedWorkTime - LoopClock::Now();
    if (remaining <= 0) {
        m_delayedWorkTime = 0;
        return;
    }
    const int64_t ms = (remaining + 999) / 1000;
    WaitForSingleObject(m_event, ms < INFINITE ? static_cast<DWORD>(ms) : INFINITE - 1);
}

void DefaultMessagePump::Quit()
{
    m_shouldQuit = true;
}

void DefaultMessagePump::ScheduleWork()
{
    SetEvent(m_event);
}

void DefaultMessagePump::ScheduleDelayedWork(int64_t runTime)
{
    m_delayedWorkTime = runTime;
}

} // namespace obase
