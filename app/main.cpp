// Entry point of the control panel: binds the driver library found through
// the registry, then the initial thread becomes the UI thread and runs until
// the main window posts quit.
#include <windows.h>

#include "app/MainThread.h"
#include "device/DeviceManager.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    const uint32_t status = DeviceManager::GetInstance()->api.LoadFromRegistry();
    if (status != 0)
        return static_cast<int>(status);
    MainThread mainThread(true);
    mainThread.Run();
    return 0;
}
