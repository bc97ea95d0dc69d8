#include "base/DefaultMessagePump.h"

#include "base/LoopClock.h"

namespace obase {

DefaultMessagePump::DefaultMessagePump() : event_(CreateEventW(nullptr, FALSE, FALSE, nullptr)) {}

DefaultMessagePump::~DefaultMessagePump()
{
    if (event_)
        CloseHandle(event_);
}

void DefaultMessagePump::Run(Delegate* delegate)
{
    // The pump waits only when no step did anything: DoWork runs one task
    // per call, so work left in the loop's queue must be picked up first.
    for (;;) {
        bool didWork = delegate->DoWork();
        if (shouldQuit_)
            break;
        didWork |= delegate->DoDelayedWork(&delayedWorkTime_);
        if (shouldQuit_)
            break;
        if (didWork)
            continue;
        didWork = delegate->DoIdleWork();
        if (shouldQuit_)
            break;
        if (didWork)
            continue;
        WaitForWork();
    }
    shouldQuit_ = false;
}

void DefaultMessagePump::WaitForWork()
{
    if (delayedWorkTime_ == 0) {
        WaitForSingleObject(event_, INFINITE);
        return;
    }
    const int64_t remaining = delayedWorkTime_ - LoopClock::Now();
    if (remaining <= 0) {
        delayedWorkTime_ = 0;
        return;
    }
    const int64_t ms = (remaining + 999) / 1000;
    WaitForSingleObject(event_, ms < INFINITE ? static_cast<DWORD>(ms) : INFINITE - 1);
}

void DefaultMessagePump::Quit()
{
    shouldQuit_ = true;
}

void DefaultMessagePump::ScheduleWork()
{
    SetEvent(event_);
}

void DefaultMessagePump::ScheduleDelayedWork(int64_t runTime)
{
    delayedWorkTime_ = runTime;
}

}  // namespace obase
