// kvctl: the mixer of the KorVane interface from a console. It binds the
// driver library as the panel does (registry, version check), opens the
// first device and drives it through the panel's own mixer rules, so it
// sends exactly what the panel's controls would; a running panel follows
// through the driver's notifications.
#include <windows.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "app/kvctl/KvctlArguments.h"
#include "app/kvctl/KvctlConsole.h"
#include "app/kvctl/KvctlOutput.h"
#include "device/DeviceManager.h"
#include "device/DeviceStatus.h"
#include "panel/ChannelMap.h"
#include "panel/DriverMixerDevice.h"
#include "panel/MemoryMixerWidgets.h"
#include "panel/MixerRules.h"
#include "panel/SceneFile.h"
#include "panel/SceneRecall.h"

namespace {

constexpr int kExitDone = 0;
constexpr int kExitNoDriver = 2;
constexpr int kExitNoDevice = 3;
constexpr int kExitBadArguments = 4;
constexpr uint32_t kUsbModeRefused = 1;

std::wstring Hex(uint32_t value)
{
    wchar_t text[16] = {};
    constexpr wchar_t kDigits[] = L"0123456789ABCDEF";
    for (int i = 0; i < 8; ++i)
        text[i] = kDigits[(value >> (28 - 4 * i)) & 15];
    return L"0x" + std::wstring(text);
}

class Kvctl {
public:
    explicit Kvctl(KvctlArguments arguments) : m_arguments(std::move(arguments)) {}

    int Run();

private:
    int Fail(int code, const std::wstring& message) const;
    int Status();
    int RunOnDevice();
    std::wstring DriverPath() const;

    KvctlArguments m_arguments;
    KvctlConsole m_console;
    DeviceManager& m_manager = *DeviceManager::GetInstance();
    Scene m_loaded;
};

int Kvctl::Fail(int code, const std::wstring& message) const
{
    m_console.Err(L"kvctl: " + message + L"\n");
    if (m_arguments.json) {
        m_console.Out(
            KvctlOutput::Object({{L"error", KvctlOutput::String(message)},
                                 {L"exitCode", std::to_wstring(static_cast<DWORD>(code))}}));
    }
    return code;
}

std::wstring Kvctl::DriverPath() const
{
    wchar_t path[MAX_PATH] = {};
    const DWORD length = ::GetModuleFileNameW(m_manager.api.Module(), path, MAX_PATH);
    return std::wstring(path, length);
}

int Kvctl::Run()
{
    using Command = KvctlArguments::Command;
    if (!m_arguments.error.empty())
        return Fail(kExitBadArguments, m_arguments.error);
    if (m_arguments.command == Command::kHelp) {
        m_console.Out(KvctlOutput::Help());
        return kExitDone;
    }
    // A scene is checked in full before the driver is even bound.
    if (m_arguments.command == Command::kLoad) {
        SceneDocument::ReadResult read = SceneFile::Read(m_arguments.file);
        if (!read.scene)
            return Fail(kExitBadArguments, L"cannot load " + read.error);
        m_loaded = std::move(*read.scene);
    }
    const uint32_t bound = m_manager.api.LoadFromRegistry();
    if (bound == kStatusApiVersionRefused) {
        return Fail(static_cast<int>(kStatusApiVersionRefused),
                    L"The driver version mismatched! (its API version " +
                        std::to_wstring(m_manager.api.ApiVersion() >> 16) + L"." +
                        std::to_wstring(m_manager.api.ApiVersion() & 0xFFFF) +
                        L" is not supported)");
    }
    if (bound != 0) {
        return Fail(kExitNoDriver, bound == ERROR_FILE_NOT_FOUND
                                       ? std::wstring(L"Can't find driver!")
                                       : L"Can't find driver! (its library could not be loaded, "
                                         L"error " +
                                             std::to_wstring(bound) + L")");
    }
    const int code = m_arguments.command == Command::kStatus ? Status() : RunOnDevice();
    m_manager.CloseDevice();
    return code;
}

int Kvctl::Status()
{
    const uint32_t version = m_manager.api.ApiVersion();
    const std::wstring versionText =
        std::to_wstring(version >> 16) + L"." + std::to_wstring(version & 0xFFFF);
    const uint32_t opened = m_manager.OpenDevice();
    uint32_t mode = opened == kStatusDeviceRefused ? kUsbModeRefused : 0;
    if (opened == 0 && m_manager.api.TUSBAUDIO_GetDeviceUsbMode)
        m_manager.api.TUSBAUDIO_GetDeviceUsbMode(m_manager.deviceHandle, &mode);
    const bool known = opened == 0 || opened == kStatusDeviceRefused;
    std::wstring device = opened == 0                      ? L"present"
                          : opened == kStatusDeviceRefused ? L"refused (USB mode 1)"
                                                           : L"none";
    if (m_arguments.json) {
        m_console.Out(KvctlOutput::Object(
            {{L"driver", KvctlOutput::String(DriverPath())},
             {L"apiVersion", KvctlOutput::String(versionText)},
             {L"device", opened == 0 ? L"true" : L"false"},
             {L"deviceState", KvctlOutput::String(device)},
             {L"usbMode", known ? std::to_wstring(mode) : std::wstring(L"null")}}));
    } else {
        m_console.Out(L"driver: " + DriverPath() + L"\napi version: " + versionText +
                      L"\ndevice: " + device + L"\n" +
                      (known ? L"usb mode: " + std::to_wstring(mode) + L"\n" : L""));
    }
    return opened == 0 ? kExitDone : kExitNoDevice;
}

int Kvctl::RunOnDevice()
{
    using Command = KvctlArguments::Command;
    const uint32_t opened = m_manager.OpenDevice();
    if (opened == kStatusDeviceRefused)
        return Fail(kExitNoDevice, L"the device was refused: it reports USB mode 1");
    if (opened != 0) {
        return Fail(
            kExitNoDevice,
            m_manager.api.TUSBAUDIO_GetDeviceCount && m_manager.api.TUSBAUDIO_GetDeviceCount() == 0
                ? std::wstring(L"no device is connected")
                : L"the device could not be opened (status " + Hex(opened) + L")");
    }
    DriverMixerDevice device(m_manager);
    MemoryMixerWidgets widgets;
    MixerRules rules(widgets, device);
    // The controls as the panel shows them on connecting: the rules of a
    // stereo pair depend on whether it shows locked.
    rules.ShowSwitches();
    rules.ShowVolumes();
    rules.ShowMutes();
    rules.ShowGains();
    rules.PollDeviceVolumes();
    SceneRecall recall(rules, widgets, device);
    std::wstring error;

    switch (m_arguments.command) {
    case Command::kSet: {
        const Scene& changes = m_arguments.changes;
        const bool deviceVolumes =
            std::any_of(changes.Values().begin(), changes.Values().end(), [](const auto& entry) {
                const MixerControl* control = ChannelMap::FindControl(entry.first);
                return control != nullptr && control->kind == ControlKind::kDeviceVolume;
            });
        if (deviceVolumes && recall.DeviceVolumesLocked())
            return Fail(kExitBadArguments,
                        L"the device volumes are locked on the device; nothing was changed");
        recall.Apply(changes);
        const std::optional<Scene> now = recall.Capture(error);
        if (!now)
            return Fail(kExitNoDevice, L"the changes were sent, but " + error);
        m_console.Out(KvctlOutput::Values(*now, m_arguments.names, m_arguments.json));
        return kExitDone;
    }
    case Command::kLoad: {
        const SceneRecall::Outcome outcome = recall.Apply(m_loaded);
        if (outcome.deviceVolumesSkipped) {
            m_console.Err(
                L"kvctl: the device volumes are locked on the device and were left as "
                L"they are\n");
        }
        m_console.Out(m_arguments.json ? KvctlOutput::Object(
                                             {{L"loaded", KvctlOutput::String(m_arguments.file)}})
                                       : L"loaded " + m_arguments.file + L"\n");
        return kExitDone;
    }
    default:
        break;
    }
    const std::optional<Scene> scene = recall.Capture(error);
    if (!scene)
        return Fail(kExitNoDevice, error);
    if (m_arguments.command == Command::kGet) {
        m_console.Out(KvctlOutput::Values(*scene, m_arguments.names, m_arguments.json));
        return kExitDone;
    }
    error = SceneFile::Write(m_arguments.file, *scene);
    if (!error.empty())
        return Fail(kExitBadArguments, L"cannot save " + error);
    m_console.Out(m_arguments.json
                      ? KvctlOutput::Object({{L"saved", KvctlOutput::String(m_arguments.file)}})
                      : L"saved " + m_arguments.file + L"\n");
    return kExitDone;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    const std::vector<std::wstring> arguments(argv + 1, argv + argc);
    return Kvctl(KvctlArguments::Parse(arguments)).Run();
}
