#include "base/DefaultMessagePump.h"

#include <utility>

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
    const DWORD enclosingThreadId = m_runThreadId.exchange(GetCurrentThreadId());
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
        if (didWork || std::exchange(m_selfScheduled, false))
            continue;
        WaitForWork();
    }
    m_shouldQuit = false;
    m_runThreadId = enclosingThreadId;
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

// A task that posts to its own loop (a repeating timer reposting itself)
// needs no event: the loop looks at its queue before it waits again. The
// event would cost a kernel call and a wait that returns at once.
void DefaultMessagePump::ScheduleWork()
{
    if (m_runThreadId.load() == GetCurrentThreadId()) {
        m_selfScheduled = true;
        return;
    }
    SetEvent(m_event);
}

void DefaultMessagePump::ScheduleDelayedWork(int64_t runTime)
{
    m_delayedWorkTime = runTime;
}

} // namespace obase
