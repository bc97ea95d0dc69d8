#include "app/ExitAllRequest.h"

#include "panel/MainForm.h"

#include <utility>

ExitAllRequest::Platform ExitAllRequest::SystemPlatform()
{
    return Platform{
        [] { return ::FindWindowW(MainForm::kClassName, nullptr); },
        [](HWND window) { ::PostMessageW(window, MainForm::kMsgExit, 0, 0); },
        [](DWORD ms) { ::Sleep(ms); },
    };
}

ExitAllRequest::ExitAllRequest(Platform platform) : m_platform(std::move(platform)) {}

int ExitAllRequest::Run()
{
    HWND remembered = nullptr;
    int repeats = 0;
    for (;;) {
        HWND window = m_platform.findMainWindow();
        if (window == nullptr)
            return 0;
        if (window == remembered) {
            if (++repeats > kMaxRepeats)
                return kGaveUp;
        } else {
            repeats = 0;
        }
        m_platform.postExit(window);
        m_platform.sleep(kWaitMs);
        remembered = window;
    }
}
