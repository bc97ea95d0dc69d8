#pragma once

#include <windows.h>

#include "base/FrameworkThread.h"

class MainForm;

// The UI thread, registered as thread 0: it owns the skin, the global UI
// resources and every window. The program entry runs it on the initial
// thread; it ends when the main window posts quit, or at once when the main
// window cannot be created.
class MainThread : public obase::FrameworkThread {
public:
    static constexpr int32_t kIdentifier = 0;

    // With show false the main window is created hidden and no device is
    // opened until it is shown.
    explicit MainThread(bool show);

    // The main window, or null when it could not be created or is gone.
    HWND MainWindow() const;
    // The main form while its window exists (UI thread only).
    MainForm* Form() const;

protected:
    void Init() override;
    void Cleanup() override;

private:
    void LoadSkin();
    void CreateMainWindow();

    bool m_show = true;
    // Screen readers' objects are marshalled through the UI thread's apartment.
    bool m_comInitialized = false;
    MainForm* m_form = nullptr;
    HWND m_mainWindow = nullptr;
};
