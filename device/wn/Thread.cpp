#include "device/wn/Thread.h"

uint32_t Thread::ThreadRoutine()
{
    const uint32_t status = InitThread();
    if (status != 0) {
        return status;
    }
    const uint32_t result = ExecuteThread();
    ExitThread();
    return result;
}

uint32_t Thread::StartThread(int priority, uint32_t stackSize, uint32_t creationFlags)
{
    // A thread that did not stop in time may still be waiting on the current
    // stop event (already set), so the event is replaced only once no thread
    // is held any more.
    if (m_thread.IsValid()) {
        return ERROR_ALREADY_EXISTS;
    }
    uint32_t status = m_stopEvent.Create();
    if (status != 0) {
        return status;
    }
    status = m_thread.Start(this, stackSize, creationFlags);
    if (status != 0) {
        return status;
    }
    ::SetThreadPriority(m_thread.Get(), priority);
    return 0;
}

uint32_t Thread::StopThread(uint32_t timeoutMs)
{
    if (!m_thread.IsValid()) {
        return 0;
    }
    const uint32_t status = m_stopEvent.Set();
    if (status != 0) {
        return status;
    }
    DWORD result = 0;
    if (timeoutMs == INFINITE) {
        do {
            result = ::WaitForSingleObject(m_thread.Get(), 1000);
        } while (result == WAIT_TIMEOUT);
    } else {
        result = ::WaitForSingleObject(m_thread.Get(), timeoutMs);
    }
    if (result != WAIT_OBJECT_0) {
        return result;
    }
    m_thread.Close();
    return 0;
}
