#include "panel/MainForm.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <optional>
#include <string_view>

#include "app/MiscThread.h"
#include "base/ThreadRegistry.h"
#include "device/DeviceManager.h"
#include "device/DeviceMessages.h"
#include "device/VolumeScale.h"
#include "panel/ChannelMap.h"
#include "panel/CheckBoxSwitchWidget.h"
#include "panel/CircleSliderKnobWidget.h"
#include "panel/DecibelText.h"
#include "panel/LabelTextWidget.h"
#include "panel/RecentScenes.h"
#include "panel/SceneFile.h"
#include "panel/SettingForm.h"
#include "panel/SliderFaderWidget.h"
#include "ui/controls/CircleSlider.h"
#include "ui/controls/LabelTemplate.h"
#include "ui/controls/Slider.h"
#include "ui/markup/DpiManager.h"
#include "ui/menu/CMenuWnd.h"

#include <commdlg.h>

namespace {

constexpr UINT kNotificationVolume = 3;
constexpr UINT kNotificationMute = 4;
constexpr UINT kNotificationAudioControl = 5;
constexpr wchar_t kSceneFilter[] = L"KorVane scenes (*.kvscene)\0*.kvscene\0All files (*.*)\0*.*\0";
constexpr uint32_t kStatusAlreadyOpen = 1;

// The faders in the order they are enabled and disabled.
constexpr const wchar_t* kFaderNames[] = {
    L"input_master",        L"input_mic1",         L"input_mic2",          L"input_guitar",
    L"input_phone1_left",   L"input_phone1_right", L"input_phone2_left",   L"input_phone2_right",
    L"output_master",       L"output_ear_left",    L"output_ear_right",    L"output_phone1_left",
    L"output_phone1_right", L"output_phone2_left", L"output_phone2_right", L"output_box_left",
    L"output_box_right",    L"device_MIC1",        L"device_MIC2",         L"device_GUITAR",
    L"device_HP",
};

constexpr const wchar_t* kCheckBoxNames[] = {
    L"input_master_mute",  L"input_mic1_mute",    L"input_mic2_mute",    L"input_guitar_mute",
    L"input_phone1_mute",  L"input_phone2_mute",  L"input_48v",          L"input_invert",
    L"input_phone1_lock",  L"input_phone2_lock",  L"output_master_mute", L"output_ear_mute",
    L"output_phone1_mute", L"output_phone2_mute", L"output_box_mute",    L"output_ear_lock",
    L"output_phone1_lock", L"output_phone2_lock", L"output_box_lock",
};

bool EndsWith(const std::wstring& text, std::wstring_view end)
{
    return text.size() >= end.size() &&
           text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// The groove of a fader: stereo pairs have left and right halves.
std::wstring FaderImage(const std::wstring& name, bool connected)
{
    std::wstring image = L"slidarBar_single";
    if (EndsWith(name, L"_left"))
        image = L"slidarBar_left";
    else if (EndsWith(name, L"_right"))
        image = L"slidarBar_right";
    return image + (connected ? L".png" : L"_disable.png");
}

// Moves the window the least needed to lie inside the work area of the
// monitor at `point`; one larger than the area keeps its top-left corner in it.
void KeepInsideWorkArea(HWND window, POINT point)
{
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    if (!::GetMonitorInfoW(::MonitorFromPoint(point, MONITOR_DEFAULTTONEAREST), &monitor))
        return;
    const RECT& work = monitor.rcWork;
    RECT rect{};
    ::GetWindowRect(window, &rect);
    const LONG left =
        std::max(work.left, std::min(rect.left, work.right - (rect.right - rect.left)));
    const LONG top = std::max(work.top, std::min(rect.top, work.bottom - (rect.bottom - rect.top)));
    if (left != rect.left || top != rect.top)
        ::SetWindowPos(window, nullptr, left, top, 0, 0,
                       SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

} // namespace

MainForm::MainForm() : m_manager(*DeviceManager::GetInstance()), m_device(m_manager) {}

MainForm::~MainForm()
{
    // The misc thread's timer is bound to this form; it ends before the form.
    m_miscThread.reset();
    if (m_notifyWindow)
        m_manager.notifyWindows.Remove(m_notifyWindow);
}

void MainForm::InitWindow()
{
    BindControls();
    if (m_settingsButton)
        m_settingsButton->SetEnabled(false);
    AttachHandlers();
    m_miscThread = std::make_unique<MiscThread>();
    // The notification-area icon is a round trip to the shell that the first
    // frame does not need: it is added just after that frame (building the
    // window has already posted its paint, and tasks keep their order with
    // window messages). A window on its way out gets none.
    obase::ThreadRegistry::PostTask(0, ToWeakCallback([this] {
                                        if (!m_exiting)
                                            m_trayIcon.Add(GetHWND());
                                    }));
    m_notifyWindow = GetHWND();
    m_manager.notifyWindows.Append(m_notifyWindow);
}

void MainForm::BindControls()
{
    m_settingsButton = dynamic_cast<ui::Button*>(FindControl(std::wstring(L"settings")));
    m_hideButton = dynamic_cast<ui::Button*>(FindControl(std::wstring(L"hidebtn")));
    m_scenesButton = dynamic_cast<ui::Button*>(FindControl(std::wstring(L"scenes")));
    for (const wchar_t* name : kFaderNames) {
        auto* slider = dynamic_cast<ui::Slider*>(FindControl(std::wstring(name)));
        if (!slider)
            continue;
        m_faders.push_back(slider);
        SliderFaderWidget::LevelText levelText;
        if (const MixerFader* fader = ChannelMap::FindFader(name)) {
            const bool isInput = fader->isInput;
            levelText = [this, isInput](double position) {
                return FaderLevelText(isInput, position);
            };
        }
        m_widgets.Add(name, std::make_unique<SliderFaderWidget>(*slider, std::move(levelText)));
    }
    for (const wchar_t* name : kCheckBoxNames) {
        if (auto* box = dynamic_cast<ui::CheckBox*>(FindControl(std::wstring(name)))) {
            m_checkBoxes.push_back(box);
            m_widgets.Add(name, std::make_unique<CheckBoxSwitchWidget>(*box));
        }
    }
    for (const GainKnob& knob : ChannelMap::Knobs()) {
        auto* circle = dynamic_cast<ui::CircleSlider*>(FindControl(std::wstring(knob.name)));
        if (circle != nullptr) {
            m_knobs.push_back(circle);
            m_widgets.Add(knob.name, std::make_unique<CircleSliderKnobWidget>(*circle));
        }
        if (auto* label = dynamic_cast<ui::Label*>(FindControl(std::wstring(knob.label)))) {
            m_widgets.Add(knob.label, std::make_unique<LabelTextWidget>(*label));
            // Screen readers read the knob's gain from its read-out.
            if (circle != nullptr)
                circle->SetAccessValueText(
                    label->ToWeakCallback([label] { return label->GetText(); }));
        }
    }
}

void MainForm::AttachHandlers()
{
    for (ui::Slider* slider : m_faders) {
        slider->AddEventHandler(ui::kEventValueChange,
                                ToWeakCallback([this, slider](const ui::EventArgs&) {
                                    m_rules.OnFaderMoved(slider->GetName(), slider->GetValue());
                                    return true;
                                }));
    }
    for (ui::CheckBox* box : m_checkBoxes) {
        const std::wstring& name = box->GetName();
        auto onChange = [this, box](bool selected) {
            const std::wstring& boxName = box->GetName();
            if (boxName == ChannelMap::kPhantomPowerBox)
                m_rules.OnPhantomPowerChanged(selected);
            else if (boxName == ChannelMap::kInvertBox)
                m_rules.OnInvertChanged(selected);
            else if (ChannelMap::FindByLockBox(boxName))
                m_rules.OnLockChanged(boxName, selected);
            else
                m_rules.OnMuteChanged(boxName, selected);
        };
        // Selecting a lock box (unlocking) does nothing.
        if (!ChannelMap::FindByLockBox(name)) {
            box->AddEventHandler(ui::kEventSelect, ToWeakCallback([onChange](const ui::EventArgs&) {
                                     onChange(true);
                                     return true;
                                 }));
        }
        box->AddEventHandler(ui::kEventUnSelect, ToWeakCallback([onChange](const ui::EventArgs&) {
                                 onChange(false);
                                 return true;
                             }));
    }
    for (ui::CircleSlider* knob : m_knobs) {
        knob->AddEventHandler(ui::kEventValueChange,
                              ToWeakCallback([this, knob](const ui::EventArgs&) {
                                  m_rules.OnKnobTurned(knob->GetName(), knob->GetValue());
                                  return true;
                              }));
    }
    if (m_settingsButton) {
        m_settingsButton->AddEventHandler(ui::kEventClick, [this](const ui::EventArgs&) {
            OpenSettings();
            return true;
        });
    }
    if (m_hideButton) {
        m_hideButton->AddEventHandler(ui::kEventClick, ToWeakCallback([this](const ui::EventArgs&) {
                                          HideMainWindow();
                                          return true;
                                      }));
    }
    if (m_scenesButton) {
        m_scenesButton->AddEventHandler(ui::kEventClick,
                                        ToWeakCallback([this](const ui::EventArgs&) {
                                            ShowSceneMenu();
                                            return true;
                                        }));
    }
}

LRESULT MainForm::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled)
{
    if (message == m_taskbarCreated && m_taskbarCreated != 0) {
        m_trayIcon.Restore();
        handled = true;
        return 0;
    }
    switch (message) {
    case TrayIcon::kCallbackMessage:
        if (lParam == WM_LBUTTONUP)
            ShowMainWindow();
        else if (lParam == WM_RBUTTONUP)
            ShowTrayMenu();
        handled = true;
        return 0;
    case kMsgShow:
        ::OutputDebugStringW(L"UIMSG_USER");
        ShowMainWindow();
        handled = true;
        return 0;
    case kMsgExit:
        ExitApplication();
        handled = true;
        return 0;
    case WM_DEVICE_CHANGE:
        ::OutputDebugStringW(L"device change");
        if (wParam == kDeviceArrived)
            ConnectDevice();
        else if (wParam == kDeviceRemoved)
            DisconnectDevice();
        handled = true;
        return 0;
    case WM_DEVICE_NOTIFICATION:
        ::OutputDebugStringW(L"WM_DEVICE_NOTIFICATION\r\n");
        if (lParam == kNotificationVolume) {
            m_rules.ShowVolumes();
        } else if (lParam == kNotificationMute) {
            m_rules.ShowMutes();
        } else if (lParam == kNotificationAudioControl && m_manager.deviceHandle != 0) {
            // Gains, invert and device volumes changed elsewhere (another
            // program, a recalled scene) show at once, not at the next start.
            m_rules.ShowSwitches();
            m_rules.ShowGains();
            m_rules.PollDeviceVolumes();
        }
        handled = true;
        return 0;
    case WM_CLOSE:
        // Closing ends the program; the window stays until the loop is gone.
        ExitApplication();
        handled = true;
        return 1;
    default:
        return ui::WindowImplBase::HandleMessage(message, wParam, lParam, handled);
    }
}

void MainForm::Initialize()
{
    // Once exit has begun, messages still queued open nothing again.
    if (m_exiting)
        return;
    TUsbAudioApiDll& api = m_manager.api;
    if (!api.TUSBAUDIO_RegisterPnpNotification ||
        api.TUSBAUDIO_RegisterPnpNotification(nullptr, nullptr, GetHWND(), WM_DEVICE_CHANGE, 0) !=
            0) {
        ::MessageBoxW(nullptr, L"Initialize", L"TUSBAUDIO_RegisterPnpNotification", MB_ICONERROR);
    }
    if (!api.TUSBAUDIO_EnumerateDevices || api.TUSBAUDIO_EnumerateDevices() != 0) {
        // Nothing can be opened: the skin's start state would look live and
        // take moves that go nowhere, so the mixer shows no device instead.
        if (m_manager.deviceHandle == 0)
            DisconnectDevice();
        return;
    }
    if (!api.TUSBAUDIO_GetDeviceCount || api.TUSBAUDIO_GetDeviceCount() == 0)
        DisconnectDevice();
    else
        ConnectDevice();
}

void MainForm::ConnectDevice()
{
    if (m_exiting)
        return;
    const uint32_t status = m_manager.OpenDevice();
    if (status == kStatusAlreadyOpen)
        return;
    if (status != 0) {
        // A device that could not be opened (or was refused) must not look
        // connected: the skin's start state would take moves that go nowhere.
        DisconnectDevice();
        return;
    }
    SetFaderImages(true);
    for (ui::Slider* slider : m_faders)
        slider->SetEnabled(true);
    for (ui::CheckBox* box : m_checkBoxes)
        box->SetEnabled(true);
    m_rules.ShowSwitches();
    for (ui::CircleSlider* knob : m_knobs)
        knob->SetEnabled(true);
    m_rules.ShowVolumes();
    m_rules.ShowMutes();
    m_rules.ShowGains();
    if (m_settingsButton)
        m_settingsButton->SetEnabled(true);
    RefreshLevelTexts();
    StartPolling();
}

void MainForm::DisconnectDevice()
{
    m_manager.CloseDevice();
    SetFaderImages(false);
    for (ui::Slider* slider : m_faders) {
        slider->SetEnabled(false);
        m_widgets.Fader(slider->GetName())->ShowValue(slider->GetMaxValue());
    }
    for (ui::CheckBox* box : m_checkBoxes)
        box->SetEnabled(false);
    if (SettingForm* settings = GetSettingForm()) {
        if (::IsWindow(settings->GetHWND()))
            settings->Close(1);
    }
    m_settingForm = nullptr;
    m_settingFormAlive.reset();
    if (m_settingsButton)
        m_settingsButton->SetEnabled(false);
    for (ui::CircleSlider* knob : m_knobs)
        knob->SetEnabled(false);
    StopPolling();
    m_rules.ForgetDeviceVolumeBlock();
}

void MainForm::SetFaderImages(bool connected)
{
    for (ui::Slider* slider : m_faders)
        slider->SetBkImage(FaderImage(slider->GetName(), connected));
}

void MainForm::StartPolling()
{
    m_rules.PollDeviceVolumes();
    if (!m_miscThread->IsRunning())
        m_miscThread->Start(obase::MessageLoop::Type::kDefault);
    if (m_polling)
        return;
    // Only the weak callbacks cross to the misc thread: the form itself is
    // touched on the UI thread alone.
    const auto poll = ToWeakCallback([this] { m_rules.PollDeviceVolumes(); });
    const auto tick = ToWeakCallback([poll] { obase::ThreadRegistry::PostTask(0, poll); });
    m_polling = obase::ThreadRegistry::PostRepeatedTask(
        MiscThread::kIdentifier, tick, obase::TimeDelta::FromMilliseconds(kPollPeriodMs), -1);
}

void MainForm::StopPolling()
{
    m_miscThread->Stop();
    m_polling = false;
}

std::wstring MainForm::FaderLevelText(bool isInput, double position) const
{
    position = std::max(position, 0.0);
    if (m_manager.deviceHandle != 0)
        return DecibelText(m_manager.PositionToVolume(position, isInput));
    const int point = std::min(static_cast<int>(position), VolumeScale::kTablePoints - 1);
    return DecibelText(VolumeScale::TableVolume(point));
}

void MainForm::RefreshLevelTexts()
{
    for (ui::Slider* slider : m_faders) {
        if (SliderFaderWidget* fader = m_widgets.SliderFader(slider->GetName()))
            fader->RefreshLevelText();
    }
}

void MainForm::ShowMainWindow()
{
    if (m_exiting)
        return;
    HWND window = GetHWND();
    const bool wasVisible = ::IsWindowVisible(window) != FALSE;
    ::ShowWindow(window, SW_SHOW);
    if (m_hideButton) {
        m_hideButton->SetState(ui::kControlStateNormal);
        m_hideButton->SetHotAlpha(0);
        m_hideButton->Invalidate();
    }
    ::SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);
    ::SetWindowPos(window, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);
    if (!wasVisible)
        Initialize();
}

void MainForm::OpenSettings()
{
    if (m_exiting)
        return;
    if (SettingForm* open = GetSettingForm()) {
        // One settings window at a time: while it is open (and holds this
        // window disabled) a new request brings it forward.
        if (open->IsModal()) {
            open->ActivateWindow();
            return;
        }
        // One fading out after its close goes now rather than beside the new one.
        ::DestroyWindow(open->GetHWND());
    }
    constexpr int kWidth = 250;
    constexpr int kHeight = 500;
    POINT cursor{};
    ::GetCursorPos(&cursor);

    auto* form = new SettingForm(m_manager);
    m_settingForm = form;
    m_settingFormAlive = form->GetWeakFlag();
    // The skin's size replaces this rectangle's.
    HWND settings = form->Create(GetHWND(), SettingForm::kClassName, WS_POPUP | WS_VISIBLE,
                                 WS_EX_TOOLWINDOW, true, ui::UiRect(cursor.x, cursor.y, 800, 572));
    if (settings == nullptr) {
        m_settingForm = nullptr;
        m_settingFormAlive.reset();
        return;
    }
    // At the cursor, kept on its monitor with the size the window has at
    // that monitor's scale (and taller when its texts need it).
    const int scale = form->GetDpiScale();
    RECT rect{};
    ::GetWindowRect(form->GetHWND(), &rect);
    const ui::UiRect shadow = form->GetShadow().GetCorner();
    const LONG width = ui::DpiManager::ScaleBy(kWidth, scale);
    const LONG height = std::max<LONG>(ui::DpiManager::ScaleBy(kHeight, scale),
                                       rect.bottom - rect.top - shadow.top - shadow.bottom);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    ::GetMonitorInfoW(::MonitorFromWindow(form->GetHWND(), MONITOR_DEFAULTTOPRIMARY), &monitor);
    ::SetWindowPos(form->GetHWND(), nullptr, std::min(cursor.x, monitor.rcMonitor.right - width),
                   std::min(cursor.y, monitor.rcMonitor.bottom - height), 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    // Then moved the least needed to lie inside the work area.
    KeepInsideWorkArea(settings, cursor);
    ::EnableWindow(GetHWND(), FALSE);
    form->ShowWindow(true, true);
    form->SetModal(true);
}

SettingForm* MainForm::GetSettingForm() const
{
    return m_settingFormAlive.expired() ? nullptr : m_settingForm;
}

void MainForm::ShowTrayMenu()
{
    if (m_exiting)
        return;
    POINT cursor{};
    ::GetCursorPos(&cursor);
    auto* menu = new orb_comp::CMenuWnd(nullptr);
    if (!menu->Init(L"settings_menu.xml", L"xml", ui::UiPoint(cursor.x, cursor.y)))
        return;
    const auto onSelect = [this, menu](const wchar_t* item, void (MainForm::*action)()) {
        if (ui::Control* control = menu->FindControl(std::wstring(item))) {
            control->AddEventHandler(ui::kEventSelect,
                                     ToWeakCallback([this, action](const ui::EventArgs&) {
                                         (this->*action)();
                                         return true;
                                     }));
        }
    };
    onSelect(L"first", &MainForm::ShowMainWindow);
    onSelect(L"second", &MainForm::ExitApplication);
    AttachSceneItems(*menu);
    menu->Show();
}

void MainForm::ShowSceneMenu()
{
    POINT point{};
    if (m_scenesButton != nullptr) {
        const ui::UiRect rect = m_scenesButton->GetRect();
        point = {rect.left, rect.bottom};
        ::ClientToScreen(GetHWND(), &point);
    } else {
        ::GetCursorPos(&point);
    }
    auto* menu = new orb_comp::CMenuWnd(GetHWND());
    if (!menu->Init(L"scene_menu.xml", L"xml", ui::UiPoint(point.x, point.y)))
        return;
    AttachSceneItems(*menu);
    menu->Show();
}

void MainForm::AttachSceneItems(orb_comp::CMenuWnd& menu)
{
    // The action runs once the menu has closed: a file dialog runs a
    // message loop of its own.
    const auto onSelect = [this, &menu](const std::wstring& item, std::function<void()> action) {
        ui::Control* control = menu.FindControl(item);
        if (control == nullptr)
            return;
        control->AddEventHandler(ui::kEventSelect,
                                 ToWeakCallback([this, action](const ui::EventArgs&) {
                                     obase::ThreadRegistry::PostTask(0, ToWeakCallback(action));
                                     return true;
                                 }));
    };
    onSelect(L"scene_save", [this] { ChooseSceneToSave(); });
    onSelect(L"scene_load", [this] { ChooseSceneToLoad(); });
    const std::vector<std::wstring> recent = m_sceneLibrary.Recent();
    for (size_t i = 0; i < recent.size() && i < RecentScenes::kLimit; ++i) {
        const std::wstring item = L"scene_recent" + std::to_wstring(i + 1);
        ui::Control* control = menu.FindControl(item);
        auto* label = dynamic_cast<ui::Label*>(menu.FindControl(item + L"_text"));
        if (control == nullptr || label == nullptr)
            continue;
        label->SetText(SceneFile::Title(recent[i]));
        control->SetVisible(true);
        if (ui::Control* line = menu.FindControl(std::wstring(L"scene_recent_line")))
            line->SetVisible(true);
        const std::wstring path = recent[i];
        onSelect(item, [this, path] { RecallScene(path); });
    }
}

std::wstring MainForm::SaveScene(const std::wstring& path)
{
    std::wstring error;
    const std::optional<Scene> scene = m_scenes.Capture(error);
    if (!scene)
        return L"Nothing was saved: " + error + L".";
    error = SceneFile::Write(path, *scene);
    if (!error.empty())
        return L"The scene could not be saved: " + error + L".";
    m_sceneLibrary.Remember(path);
    return {};
}

std::wstring MainForm::LoadScene(const std::wstring& path)
{
    const SceneDocument::ReadResult read = SceneFile::Read(path);
    if (!read.scene)
        return L"The scene could not be loaded: " + read.error + L".";
    if (m_scenes.Apply(*read.scene).noDevice)
        return L"No device is connected: the scene was not loaded.";
    m_sceneLibrary.Remember(path);
    return {};
}

void MainForm::RecallScene(const std::wstring& path)
{
    const std::wstring error = LoadScene(path);
    if (!error.empty())
        ShowSceneError(L"Load scene", error);
}

void MainForm::ShowSceneError(const wchar_t* caption, const std::wstring& message)
{
    ::MessageBoxW(GetHWND(), message.c_str(), caption, MB_OK | MB_ICONERROR);
}

std::wstring MainForm::AskForScene(bool save)
{
    wchar_t file[MAX_PATH] = {};
    if (save) {
        constexpr std::wstring_view kSuggested = L"Scene.kvscene";
        std::copy(kSuggested.begin(), kSuggested.end(), file);
    }
    const std::wstring folder = m_sceneLibrary.SceneFolder();
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = GetHWND();
    dialog.lpstrFilter = kSceneFilter;
    dialog.lpstrFile = file;
    dialog.nMaxFile = MAX_PATH;
    dialog.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
    dialog.lpstrTitle = save ? L"Save scene" : L"Load scene";
    dialog.lpstrDefExt = SceneLibrary::kExtension;
    dialog.Flags = OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR | OFN_HIDEREADONLY |
                   (save ? OFN_OVERWRITEPROMPT : OFN_FILEMUSTEXIST);
    const BOOL chosen = save ? ::GetSaveFileNameW(&dialog) : ::GetOpenFileNameW(&dialog);
    return chosen ? std::wstring(file) : std::wstring();
}

void MainForm::ChooseSceneToSave()
{
    const std::wstring path = AskForScene(true);
    if (path.empty())
        return;
    const std::wstring error = SaveScene(path);
    if (!error.empty())
        ShowSceneError(L"Save scene", error);
}

void MainForm::ChooseSceneToLoad()
{
    const std::wstring path = AskForScene(false);
    if (!path.empty())
        RecallScene(path);
}

void MainForm::HideMainWindow()
{
    if (m_manager.api.TUSBAUDIO_UnregisterPnpNotification)
        m_manager.api.TUSBAUDIO_UnregisterPnpNotification();
    DisconnectDevice();
    ::ShowWindow(GetHWND(), SW_HIDE);
}

void MainForm::ExitApplication()
{
    // Once is enough: "-exitall" keeps posting its request, and each repeat
    // would queue ahead of the quit message and, with a device slow to
    // close, could keep it from ever being taken.
    if (m_exiting)
        return;
    m_exiting = true;
    m_trayIcon.Remove();
    DisconnectDevice();
    if (m_manager.api.TUSBAUDIO_UnregisterPnpNotification)
        m_manager.api.TUSBAUDIO_UnregisterPnpNotification();
    ::PostQuitMessage(0);
}
