#include "device/wn/WnThread.h"

#include <process.h>

#include "device/wn/WnThreadCallbackInterface.h"

namespace {

unsigned __stdcall ThreadEntry(void* parameter)
{
    return static_cast<WnThreadCallbackInterface*>(parameter)->ThreadRoutine();
}

} // namespace

uint32_t WnThread::Start(WnThreadCallbackInterface* callback, uint32_t stackSize,
                         uint32_t creationFlags)
{
    unsigned id = 0;
    const uintptr_t started =
        ::_beginthreadex(nullptr, stackSize, &ThreadEntry, callback, creationFlags, &id);
    if (started == 0) {
        m_threadId = 0;
        const DWORD error = ::GetLastError();
        return error != 0 ? error : ERROR_NOT_ENOUGH_MEMORY;
    }
    Reset(reinterpret_cast<HANDLE>(started));
    m_threadId = id;
    return 0;
}

void WnThread::Close()
{
    WnHandle::Close();
    m_threadId = 0;
}
