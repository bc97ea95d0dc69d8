#include "device/wn/Thread.h"

uint32_t Thread::ThreadRoutine()
{
    // A local share: it outlives this object if the owner gives up on the thread.
    std::shared_ptr<ThreadHandOver> handOver = m_handOver;
    const uint32_t status = InitThread();
    const uint32_t result = status != 0 ? status : ExecuteThread();
    if (handOver->ThreadLeaving()) {
        // Abandoned: this object may be gone. Release what was handed over;
        // the library reference last, as the thread ends, because its code
        // may have been running on this thread a moment ago.
        const HMODULE library = handOver->Library();
        handOver.reset();
        if (library != nullptr) {
            ::FreeLibraryAndExitThread(library, result);
        }
        return result;
    }
    if (status == 0) {
        ExitThread();
    }
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
    m_handOver = std::make_shared<ThreadHandOver>();
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

bool Thread::AbandonThread(HMODULE library, std::vector<HANDLE> handles)
{
    if (!m_thread.IsValid()) {
        return false;
    }
    // The thread may still wait on its stop event: it goes with the thread.
    handles.push_back(m_stopEvent.Get());
    if (!m_handOver->Abandon(library, std::move(handles))) {
        return false;
    }
    m_stopEvent.Release();
    m_thread.Close();
    m_handOver.reset();
    return true;
}
