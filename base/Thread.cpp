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
    case 1: osPriority = THREAD_PRIORITY_LOWEST; break;
    case 3: osPriority = THREAD_PRIORITY_HIGHEST; break;
    case 4: osPriority = THREAD_PRIORITY_TIME_CRITICAL; break;
    default: break;
    }
    SetThreadPriority(thread, osPriority);
}

}  // namespace

Thread::~Thread()
{
    Join();
}

bool Thread::Start()
{
    if (handle_)
        return false;
    unsigned threadId = 0;
    const uintptr_t handle = _beginthreadex(nullptr, 0, &ThreadMain, this, 0, &threadId);
    if (handle == 0)
        return false;
    handle_ = reinterpret_cast<HANDLE>(handle);
    threadId_ = threadId;
    ApplyPriority(handle_, priority_);
    return true;
}

void Thread::Join()
{
    if (!handle_)
        return;
    if (WaitForSingleObject(handle_, INFINITE) != WAIT_OBJECT_0)
        TerminateThread(handle_, 0);
    CloseHandle(handle_);
    handle_ = nullptr;
}

unsigned __stdcall Thread::ThreadMain(void* param)
{
    static_cast<Thread*>(param)->Run();
    return 0;
}

}  // namespace obase
