#pragma once

#include <memory>
#include <string>
#include <vector>

#include "panel/DriverMixerDevice.h"
#include "panel/MixerRules.h"
#include "panel/SceneLibrary.h"
#include "panel/SceneRecall.h"
#include "panel/SkinMixerWidgets.h"
#include "panel/TrayIcon.h"
#include "ui/controls/ButtonTemplate.h"
#include "ui/controls/CheckBoxTemplate.h"
#include "ui/core/WindowImplBase.h"

class DeviceManager;
class MiscThread;
class SettingForm;

namespace orb_comp {
class CMenuWnd;
}

namespace ui {
class CircleSlider;
class Slider;
} // namespace ui

// The mixer window: binds the skin's faders, switches and knobs to the mixer
// rules, follows the device's arrival and removal, shows the device's state
// and polls the device-volume block every 200 ms while connected.
class MainForm : public ui::WindowImplBase {
public:
    static constexpr wchar_t kClassName[] = L"KorVaneControls";
    // Messages from other instances of the program.
    static constexpr UINT kMsgShow = WM_USER + 100;
    static constexpr UINT kMsgExit = WM_USER + 101;
    static constexpr int kPollPeriodMs = 200;

    MainForm();
    ~MainForm() override;

    std::wstring GetWindowClassName() const override { return kClassName; }
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override;
    void InitWindow() override;
    std::wstring GetSkinFolder() override { return L"ControlPanel"; }
    std::wstring GetSkinFile() override { return L"MainForm.xml"; }

    // Registers for plug and play and connects when a device is present.
    void Initialize();
    void ConnectDevice();
    void DisconnectDevice();

    // Shows and raises the window; reconnects when it was hidden.
    void ShowMainWindow();
    // Releases the device, stops plug-and-play messages and hides.
    void HideMainWindow();
    // Removes the tray icon, releases everything and ends the UI loop.
    void ExitApplication();
    // The tray menu ("Show", the scenes, "Exit") at the cursor.
    void ShowTrayMenu();
    TrayIcon& GetTrayIcon() { return m_trayIcon; }

    bool IsPolling() const { return m_polling; }

    // Opens the settings window near the cursor, owned by this window,
    // which stays disabled until it closes.
    void OpenSettings();
    // The open settings window, or null once it is gone.
    SettingForm* GetSettingForm() const;

    // Scenes. Each returns what went wrong, or "" when done; the scene then
    // heads the recent list. A load checks the whole file before it sends
    // anything, and sends nothing without a device.
    std::wstring SaveScene(const std::wstring& path);
    std::wstring LoadScene(const std::wstring& path);
    // The scene menu under the caption's scene button: "Save scene…",
    // "Load scene…" and the scenes used last.
    void ShowSceneMenu();
    // The system's file dialogs, starting in the scene folder; what goes
    // wrong is shown in a message box.
    void ChooseSceneToSave();
    void ChooseSceneToLoad();
    void RecallScene(const std::wstring& path);
    void SetSceneLibrary(SceneLibrary library) { m_sceneLibrary = std::move(library); }

private:
    void BindControls();
    void AttachHandlers();
    void SetFaderImages(bool connected);
    void StartPolling();
    void StopPolling();
    void PollDeviceVolumes();
    std::wstring FaderLevelText(bool isInput, double position) const;
    void RefreshLevelTexts();
    // The scene items of a menu (the scene menu and the tray menu).
    void AttachSceneItems(orb_comp::CMenuWnd& menu);
    void ShowSceneError(const wchar_t* caption, const std::wstring& message);
    // The file dialog's choice, or "" when cancelled.
    std::wstring AskForScene(bool save);

    DeviceManager& m_manager;
    DriverMixerDevice m_device;
    SkinMixerWidgets m_widgets;
    MixerRules m_rules{m_widgets, m_device};
    SceneRecall m_scenes{m_rules, m_widgets, m_device};
    SceneLibrary m_sceneLibrary;

    ui::Button* m_settingsButton = nullptr;
    ui::Button* m_hideButton = nullptr;
    ui::Button* m_scenesButton = nullptr;
    // The 21 faders (17 mixer faders, then the 4 device-volume faders) and
    // the 19 check boxes, in the order they are enabled and disabled.
    std::vector<ui::Slider*> m_faders;
    std::vector<ui::CheckBox*> m_checkBoxes;
    std::vector<ui::CircleSlider*> m_knobs;

    std::unique_ptr<MiscThread> m_miscThread;
    TrayIcon m_trayIcon;
    // Broadcast by the shell when the notification area has restarted.
    const UINT m_taskbarCreated = ::RegisterWindowMessageW(L"TaskbarCreated");
    bool m_polling = false;
    bool m_exiting = false;
    // The handle device notifications go to, until the form is gone.
    HWND m_notifyWindow = nullptr;
    // The settings window deletes itself; the flag tells when it has.
    SettingForm* m_settingForm = nullptr;
    std::weak_ptr<obase::WeakFlag> m_settingFormAlive;
};
