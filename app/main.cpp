// Entry point of the control panel: answers "-exitall", makes sure only one
// instance runs (a second start wakes the first), binds the driver library
// found through the registry, then the initial thread becomes the UI thread
// and runs until the main window posts quit.
#include <windows.h>

#include "app/CommandLineOptions.h"
#include "app/DriverLoadMessage.h"
#include "app/ExitAllRequest.h"
#include "app/MainThread.h"
#include "app/SingleInstance.h"
#include "device/DeviceManager.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR commandLine, int)
{
    const CommandLineOptions options(commandLine != nullptr ? commandLine : L"");
    if (options.IsExitAll())
        return ExitAllRequest().Run();
    const SingleInstance instance;
    if (!instance.IsFirst()) {
        if (!options.IsHide())
            SingleInstance::WakeRunningInstance();
        return 0;
    }
    const uint32_t status = DeviceManager::GetInstance()->api.LoadFromRegistry();
    if (status != 0) {
        ShowDriverLoadMessage(status);
        return static_cast<int>(status);
    }
    MainThread mainThread(!options.IsHide());
    mainThread.Run();
    return 0;
}
