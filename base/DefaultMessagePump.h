#pragma once

#include <windows.h>

#include <atomic>

#include "base/MessagePump.h"

namespace obase {

// The pump of loops without a Windows message queue: it sleeps on an
// auto-reset event that ScheduleWork sets, or until the next delayed task.
class DefaultMessagePump : public MessagePump {
public:
    DefaultMessagePump();
    ~DefaultMessagePump() override;
    DefaultMessagePump(const DefaultMessagePump&) = delete;
    DefaultMessagePump& operator=(const DefaultMessagePump&) = delete;

    void Run(Delegate* delegate) override;
    void Quit() override;
    void ScheduleWork() override;
    void ScheduleDelayedWork(int64_t runTime) override;

private:
    void WaitForWork();

    HANDLE m_event = nullptr;
    // The thread inside Run, and work it scheduled for itself meanwhile.
    std::atomic<DWORD> m_runThreadId = 0;
    bool m_selfScheduled = false;
    bool m_shouldQuit = false;
    int64_t m_delayedWorkTime = 0;
};

} // namespace obase
