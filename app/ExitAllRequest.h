#pragma once

#include <windows.h>

#include <functional>

// Asks the running instance to quit ("-exitall") and waits until its main
// window is gone: find the window, post the exit message, wait 500 ms, and
// again. Ends with 0 once no window is left, or with 100 when the same
// window is still there 21 times in a row after it was first seen.
class ExitAllRequest {
public:
    static constexpr int kGaveUp = 100;
    static constexpr int kMaxRepeats = 20;
    static constexpr DWORD kWaitMs = 500;

    // The system calls it makes; tests put their own in.
    struct Platform {
        std::function<HWND()> findMainWindow;
        std::function<void(HWND)> postExit;
        std::function<void(DWORD)> sleep;
    };
    static Platform SystemPlatform();

    explicit ExitAllRequest(Platform platform = SystemPlatform());
    // The process exit code.
    int Run();

private:
    Platform m_platform;
};
