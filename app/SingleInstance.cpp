#include "app/SingleInstance.h"

#include "panel/MainForm.h"

SingleInstance::SingleInstance() : m_mutex(::CreateMutexW(nullptr, FALSE, MainForm::kClassName))
{
    // A mutex that cannot be made is taken as a running instance.
    m_first = m_mutex.IsValid() && ::GetLastError() != ERROR_ALREADY_EXISTS;
}

void SingleInstance::WakeRunningInstance()
{
    HWND window = ::FindWindowW(MainForm::kClassName, nullptr);
    if (window == nullptr)
        return;
    DWORD processId = 0;
    ::GetWindowThreadProcessId(window, &processId);
    ::AllowSetForegroundWindow(processId);
    ::PostMessageW(window, MainForm::kMsgShow, 0, 0);
}
