#include "device/DeviceManager.h"

#include <algorithm>

#include "device/DeviceMessages.h"
#include "device/DeviceStatus.h"
#include "device/DriverRecordBuffer.h"
#include "device/VolumeScale.h"

namespace {

constexpr uint32_t kAllCategories = 0xFFFFFFFF;
constexpr uint32_t kStopTimeoutMs = 1000;
// How much longer the destructor waits for a monitor held in the driver.
constexpr uint32_t kExitGraceMs = 2000;
constexpr DWORD kPauseAfterFailedWaitMs = 100;
constexpr uint32_t kChannelCount = 9;
constexpr uint32_t kUsbModeRefused = 1;
constexpr uint32_t kNotificationDataSize = 64;

} // namespace

DeviceManager* DeviceManager::GetInstance()
{
    static DeviceManager instance;
    return &instance;
}

DeviceManager::~DeviceManager()
{
    // The monitor runs inside this object and, while held up in a driver
    // call, inside the driver library: neither may go before it has ended.
    if (StopThread(kStopTimeoutMs) == 0 || StopThread(kExitGraceMs) == 0) {
        return;
    }
    // A call that never returns must not keep the program from ending: the
    // thread is left behind with the library still loaded and the events it
    // may touch still open; it releases them if the call ever returns, and
    // the end of the process takes them otherwise.
    ::OutputDebugStringW(L"monitor thread still in the driver, leaving it\r\n");
    if (AbandonThread(api.Module(), {m_notificationEvent.Get()})) {
        api.Release();
        m_notificationEvent.Release();
    } else {
        StopThread(INFINITE);
    }
}

uint32_t DeviceManager::OpenDevice()
{
    if (deviceHandle != 0) {
        return 1;
    }
    if (api.TUSBAUDIO_EnumerateDevices == nullptr) {
        return kStatusEntryMissing;
    }
    uint32_t status = api.TUSBAUDIO_EnumerateDevices();
    if (status != 0) {
        return status;
    }
    if (api.TUSBAUDIO_OpenDeviceByIndex == nullptr) {
        return kStatusEntryMissing;
    }
    uint32_t handle = 0;
    status = api.TUSBAUDIO_OpenDeviceByIndex(0, &handle);
    if (status != 0) {
        return status;
    }
    if (handle == 0) {
        // Success without a handle would leave a device open that nobody can close.
        return ERROR_INVALID_HANDLE;
    }
    deviceHandle = handle;

    uint32_t mode = 0;
    status = api.TUSBAUDIO_GetDeviceUsbMode != nullptr
                 ? api.TUSBAUDIO_GetDeviceUsbMode(handle, &mode)
                 : kStatusEntryMissing;
    if (status == 0 && mode == kUsbModeRefused) {
        status = kStatusDeviceRefused;
    }
    if (status != 0) {
        if (api.TUSBAUDIO_CloseDevice != nullptr) {
            api.TUSBAUDIO_CloseDevice(handle);
        }
        deviceHandle = 0;
        return status;
    }

    // A monitor that outlived its last stop still waits on the current event,
    // which therefore must not be replaced until that thread has ended.
    status = IsThreadHeld() ? ERROR_ALREADY_EXISTS : m_notificationEvent.Create();
    if (status == 0) {
        status = api.TUSBAUDIO_RegisterDeviceNotification != nullptr
                     ? api.TUSBAUDIO_RegisterDeviceNotification(handle, kAllCategories,
                                                                m_notificationEvent.Get(), 0)
                     : kStatusEntryMissing;
    }
    if (status == 0) {
        status = StartThread(THREAD_PRIORITY_NORMAL, 0, 0);
    }
    if (status != 0) {
        CloseDevice();
        return status;
    }
    CacheVolumeRanges(handle);
    return 0;
}

void DeviceManager::CloseDevice()
{
    const bool monitorEnded = StopThread(kStopTimeoutMs) == 0;
    const uint32_t handle = deviceHandle;
    if (handle != 0) {
        if (api.TUSBAUDIO_RegisterDeviceNotification != nullptr) {
            api.TUSBAUDIO_RegisterDeviceNotification(handle, 0, nullptr, 0);
        }
        if (api.TUSBAUDIO_CloseDevice != nullptr) {
            api.TUSBAUDIO_CloseDevice(handle);
        }
        deviceHandle = 0;
    }
    // A monitor still held keeps waiting on the event; it is closed by the
    // first close (or the destructor) that sees the thread end.
    if (monitorEnded) {
        m_notificationEvent.Close();
    }
}

uint32_t DeviceManager::SetVolumePosition(double position, int channel, bool isInput)
{
    const uint32_t handle = deviceHandle;
    if (handle == 0) {
        return 0;
    }
    if (api.TUSBAUDIO_SetVolume == nullptr) {
        return kStatusEntryMissing;
    }
    const VolumeMuteInfo* range = ConversionRange(isInput);
    if (range == nullptr || !VolumeScale::IsUsable(*range)) {
        // The conversion would answer 0 dB, the loudest level, for every position.
        return kStatusVolumeRangeUnusable;
    }
    const int16_t volume = VolumeScale::PositionToVolume(position, *range);
    return api.TUSBAUDIO_SetVolume(handle, isInput ? 1 : 0, static_cast<uint32_t>(channel), volume);
}

int16_t DeviceManager::PositionToVolume(double position, bool isInput) const
{
    const VolumeMuteInfo* range = ConversionRange(isInput);
    return range != nullptr ? VolumeScale::PositionToVolume(position, *range) : 0;
}

double DeviceManager::VolumeToPosition(int volume, bool isInput) const
{
    const VolumeMuteInfo* range = ConversionRange(isInput);
    return range != nullptr ? VolumeScale::VolumeToPosition(volume, *range) : 0.0;
}

const VolumeMuteInfo* DeviceManager::ConversionRange(bool isInput) const
{
    if (deviceHandle == 0) {
        return nullptr;
    }
    const std::vector<VolumeMuteInfo>& ranges = isInput ? inputVolumeInfo : outputVolumeInfo;
    return ranges.empty() ? nullptr : &ranges.front();
}

void DeviceManager::CacheVolumeRanges(uint32_t handle)
{
    // Only the open device's ranges are kept: a different interface plugged
    // in later must not be converted with the previous one's.
    inputVolumeInfo.clear();
    outputVolumeInfo.clear();
    for (const uint32_t isInput : {1u, 0u}) {
        std::vector<VolumeMuteInfo>& ranges = isInput != 0 ? inputVolumeInfo : outputVolumeInfo;
        for (uint32_t channel = 0; channel < kChannelCount; ++channel) {
            DriverRecordBuffer<VolumeMuteInfo> range;
            if (api.TUSBAUDIO_GetVolumeMuteInfo != nullptr) {
                api.TUSBAUDIO_GetVolumeMuteInfo(handle, isInput, channel, range.Data());
            }
            ranges.push_back(range.At());
        }
    }
}

uint32_t DeviceManager::ExecuteThread()
{
    // Everything the loop needs is taken once: after a driver call returns
    // with the stop event set, the thread touches no member any more (the
    // object may have given up on it and be gone).
    const HANDLE handles[2] = {StopEventHandle(), m_notificationEvent.Get()};
    const DWORD drainPause = m_drainPauseMs;
    for (;;) {
        ::OutputDebugStringW(L"WaitForMultipleObjectsEx\r\n");
        const DWORD result = ::WaitForMultipleObjectsEx(2, handles, FALSE, INFINITE, FALSE);
        ::OutputDebugStringW(L"WaitForMultipleObjectsEx exit\r\n");
        if (result == WAIT_OBJECT_0) {
            break;
        }
        DWORD pause = kPauseAfterFailedWaitMs;
        if (result == WAIT_OBJECT_0 + 1) {
            ::OutputDebugStringW(L"notificationEventIdx\r\n");
            ReadNotifications(handles[0]);
            pause = drainPause;
        }
        // The pause merges bursts of changes; a stop request ends it early.
        const DWORD paused = ::WaitForSingleObject(handles[0], pause);
        if (paused == WAIT_OBJECT_0) {
            break;
        }
        if (paused == WAIT_FAILED) {
            ::Sleep(pause);
        }
    }
    ::OutputDebugStringW(L"exit monitor thread\r\n");
    ::OutputDebugStringW(L"ExecuteThread exit\r\n");
    return 0;
}

void DeviceManager::ReadNotifications(HANDLE stopEvent)
{
    const uint32_t handle = deviceHandle;
    const auto read = api.TUSBAUDIO_ReadDeviceNotification;
    if (handle == 0) {
        return;
    }
    const auto stopped = [stopEvent] {
        return ::WaitForSingleObject(stopEvent, 0) == WAIT_OBJECT_0;
    };
    std::vector<uint32_t> categories;
    while (read != nullptr) {
        uint32_t category = 0;
        uint32_t bytesReturned = 0;
        uint8_t data[kNotificationDataSize] = {};
        const uint32_t status =
            read(handle, &category, data, kNotificationDataSize, &bytesReturned);
        // Checked first after every call: a closing device's monitor posts
        // nothing more, and one given up on must not touch this object.
        if (stopped()) {
            return;
        }
        if (status != 0) {
            break;
        }
        if (std::find(categories.begin(), categories.end(), category) == categories.end()) {
            categories.push_back(category);
        }
    }
    const std::vector<HWND> windows = notifyWindows.Snapshot();
    for (const uint32_t category : categories) {
        for (const HWND window : windows) {
            ::PostMessageW(window, WM_DEVICE_NOTIFICATION, 0, static_cast<LPARAM>(category));
        }
    }
}
