#include "base/Thread.h"

#include <process.h>

namespace obase {

namespace {

void ApplyPriority(HANDLE thread, int32_t priority)
{
    if (priority < 1)
        return;
    int osPriority = THREAD_PRIORITY_BELOW_NORMAL;
    switch (priority) {
    case 1:
        osPriority = THREAD_PRIORITY_LOWEST;
        break;
    case 3:
        osPriority = THREAD_PRIORITY_HIGHEST;
        break;
    case 4:
        osPriority = THREAD_PRIORITY_TIME_CRITICAL;
        break;
    default:
        break;
    }
    SetThreadPriority(thread, osPriority);
}

} // namespace

Thread::~Thread()
{
    Join();
}

bool Thread::Start()
{
    if (m_handle)
        return false;
    unsigned threadId = 0;
    const uintptr_t handle = _beginthreadex(nullptr, 0, &ThreadMain, this, 0, &threadId);
    if (handle == 0)
        return false;
    m_handle = reinterpret_cast<HANDLE>(handle);
    m_threadId = threadId;
    ApplyPriority(m_handle, m_priority);
    return true;
}

void Thread::Join()
{
    if (!m_handle)
        return;
    if (WaitForSingleObject(m_handle, INFINITE) != WAIT_OBJECT_0)
        TerminateThread(m_handle, 0);
    CloseHandle(m_handle);
    m_handle = nullptr;
}

unsigned __stdcall Thread::ThreadMain(void* param)
{
    static_cast<Thread*>(param)->Run();
    return 0;
}

} // namespace obase
