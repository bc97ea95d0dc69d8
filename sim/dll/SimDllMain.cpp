#include <windows.h>

#include "sim/dll/SimRuntime.h"

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID reserved)
{
    // At process exit (reserved non-null) the other threads are already gone;
    // on FreeLibrary the control thread must end before the code it runs is unmapped.
    if (reason == DLL_PROCESS_DETACH && reserved == nullptr) {
        SimRuntime::ShutdownIfStarted();
    }
    return TRUE;
}
