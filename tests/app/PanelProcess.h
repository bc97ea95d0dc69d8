#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>

// The control panel program started from a test with a command line,
// inheriting the test's environment (and so the simulator's settings).
// ProgramPath() is the program built beside the test.
// A process still running when the object goes is terminated.
class PanelProcess {
public:
    struct MessageBoxText {
        std::wstring text;
        std::wstring caption;
    };

    explicit PanelProcess(const std::wstring& commandLine);
    // Another copy of the program, started in the given working folder.
    PanelProcess(const std::wstring& commandLine, const std::wstring& program,
                 const std::wstring& folder);
    ~PanelProcess();
    PanelProcess(const PanelProcess&) = delete;
    PanelProcess& operator=(const PanelProcess&) = delete;

    bool Started() const { return m_process.hProcess != nullptr; }
    // The exit code, or nothing while it still runs after timeoutMs.
    std::optional<DWORD> Wait(DWORD timeoutMs);
    // A top-level window of the given class owned by this process.
    HWND FindOwnWindow(const wchar_t* className) const;
    HWND WaitOwnWindow(const wchar_t* className, DWORD timeoutMs = 15000) const;
    // Reads the text and caption of the process's message box, then
    // presses its OK button.
    std::optional<MessageBoxText> DismissMessageBox(DWORD timeoutMs = 15000);

private:
    PROCESS_INFORMATION m_process{};
};

std::wstring ProgramPath();

// Polls cond every 20 ms, pumping the test thread's messages meanwhile.
bool WaitFor(const std::function<bool()>& cond, DWORD timeoutMs = 10000);
