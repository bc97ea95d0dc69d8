#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "device/wn/ThreadHandOver.h"
#include "device/wn/WnManualResetEvent.h"
#include "device/wn/WnThread.h"
#include "device/wn/WnThreadCallbackInterface.h"

// Base of a worker thread that runs until its stop event is set.
class Thread : public WnThreadCallbackInterface {
public:
    uint32_t ThreadRoutine() override;
    ~Thread() override = default;

    // 0, 183 (ERROR_ALREADY_EXISTS) while a thread is held, or a Win32 error.
    virtual uint32_t StartThread(int priority, uint32_t stackSize, uint32_t creationFlags);
    // 0 once the thread has ended (or none was running); otherwise the wait's
    // result, and the thread stays held.
    virtual uint32_t StopThread(uint32_t timeoutMs);

    bool IsThreadHeld() const { return m_thread.IsValid(); }

    // Gives up on a held thread that does not end, so that this object can go
    // while the thread lives on. The stop event, `handles` and the reference
    // to `library` go with the thread, which releases them as it leaves; the
    // thread must touch nothing of this object once its stop event is set.
    // False (nothing handed over) when no thread is held or it is already
    // leaving by itself; StopThread then ends the wait for it.
    bool AbandonThread(HMODULE library, std::vector<HANDLE> handles);

protected:
    virtual uint32_t InitThread() { return 0; }
    virtual uint32_t ExecuteThread() = 0;
    virtual void ExitThread() {}

    HANDLE StopEventHandle() const { return m_stopEvent.Get(); }

private:
    WnManualResetEvent m_stopEvent;
    WnThread m_thread;
    std::shared_ptr<ThreadHandOver> m_handOver;
};
