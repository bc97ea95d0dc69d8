#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/MainThread.h"
#include "tests/sim/SimTestEnvironment.h"

namespace ui {
class Control;
}
class MainForm;

// Runs the program's UI thread (skin, main window, device) on a thread of
// its own against the simulated interface, and drives the window as a user
// would: posted mouse and keyboard messages. Control state is read on the
// UI thread.
class MainFormTestHost {
public:
    // The simulator is configured once per test program, before the driver
    // library is first called; later changes go through Sim().
    static SimTestEnvironment& Sim();

    MainFormTestHost();
    ~MainFormTestHost();

    HWND Window() const { return m_window; }
    // Runs `task` on the UI thread with the form and waits for it.
    void OnUi(const std::function<void(MainForm&)>& task);
    template <typename T>
    T Read(const std::function<T(MainForm&)>& read)
    {
        T value{};
        OnUi([&](MainForm& form) { value = read(form); });
        return value;
    }
    // Handles every message already posted to the window (the loop may run
    // a task before them); the barrier after posted input.
    void Flush();
    // The centre of a named control in client coordinates.
    POINT Centre(const std::wstring& name);

    void Click(const std::wstring& name);
    // Drags a slider's thumb to where the thumb would stand at `value`.
    void DragFader(const std::wstring& name, double value);
    void Wheel(const std::wstring& name, int notches);
    void Key(WPARAM key);

    // Journal lines written since the last call, without the 200 ms polls.
    std::vector<std::wstring> NewCalls();
    // Waits until a journal line containing `text` appears after the mark.
    bool WaitForCall(const std::wstring& text, uint32_t timeoutMs = 3000);

private:
    void WaitForLayout();

    std::unique_ptr<MainThread> m_thread;
    HWND m_window = nullptr;
    size_t m_seen = 0;
};

// The value of a fader, check box etc. as the tests read them.
double FaderValue(MainForm& form, const std::wstring& name);
bool IsEnabled(MainForm& form, const std::wstring& name);
bool IsSelected(MainForm& form, const std::wstring& name);
std::wstring ToolTip(MainForm& form, const std::wstring& name);
std::wstring Text(MainForm& form, const std::wstring& name);
std::wstring BackgroundImage(MainForm& form, const std::wstring& name);
