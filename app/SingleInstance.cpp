#include "app/SingleInstance.h"

#include "app/InstanceMessages.h"

SingleInstance::SingleInstance() : m_mutex(::CreateMutexW(nullptr, FALSE, kMainWindowName))
{
    // A mutex that cannot be made is taken as a running instance.
    m_first = m_mutex.IsValid() && ::GetLastError() != ERROR_ALREADY_EXISTS;
}

void SingleInstance::WakeRunningInstance()
{
    HWND window = ::FindWindowW(kMainWindowName, nullptr);
    if (window == nullptr)
        return;
    DWORD processId = 0;
    ::GetWindowThreadProcessId(window, &processId);
    ::AllowSetForegroundWindow(processId);
    ::PostMessageW(window, kMsgShowMain, 0, 0);
}
