#pragma once

#include <atomic>
#include <cstdint>
#include <vector>

#include "device/NotifyWindowList.h"
#include "device/TUsbAudioApiDll.h"
#include "device/VolumeMuteInfo.h"
#include "device/wn/Thread.h"
#include "device/wn/WnAutoResetEvent.h"

// Owner of the driver binding and of the one device the program controls.
// While a device is open its worker thread drains the driver's notification
// queue and posts one WM_DEVICE_NOTIFICATION per distinct category to every
// window in notifyWindows.
class DeviceManager : public Thread {
public:
    static DeviceManager* GetInstance();

    static constexpr uint32_t kDrainPauseMs = 50;

    // `drainPauseMs` is how long the monitor rests after each drain, merging
    // bursts of changes; a stop request cuts the rest short.
    explicit DeviceManager(uint32_t drainPauseMs = kDrainPauseMs) : m_drainPauseMs(drainPauseMs) {}
    // Waits a bounded time for a monitor thread still inside the driver;
    // one that does not come back is left behind with the library loaded.
    ~DeviceManager() override;

    // 0 opened; 1 already open; kStatusEntryMissing; kStatusDeviceRefused;
    // otherwise the driver's status or a Win32 error. A failure leaves no
    // device open and no monitor running.
    uint32_t OpenDevice();
    // Stops the monitor, unregisters and closes the device; safe when none is open.
    void CloseDevice();
    // 0 also when no device is open; kStatusEntryMissing without TUSBAUDIO_SetVolume;
    // kStatusVolumeRangeUnusable, sending nothing, when the device gave no usable range.
    uint32_t SetVolumePosition(double position, int channel, bool isInput);
    // 0 when no device is open.
    int16_t PositionToVolume(double position, bool isInput) const;
    // 0.0 when no device is open.
    double VolumeToPosition(int volume, bool isInput) const;

    TUsbAudioApiDll api;
    // The open device's handle, 0 when none; read by the monitor thread too.
    std::atomic<uint32_t> deviceHandle = 0;

    // The event registered with the driver. It stays open while a monitor
    // that outlived its stop time-out is held, and is closed once it ends.
    HANDLE NotificationEvent() const { return m_notificationEvent.Get(); }

private:
    WnAutoResetEvent m_notificationEvent;
    const uint32_t m_drainPauseMs;

public:
    NotifyWindowList notifyWindows;
    // Volume ranges of channels 0..8 of the open device; the conversions use channel 0.
    std::vector<VolumeMuteInfo> inputVolumeInfo;
    std::vector<VolumeMuteInfo> outputVolumeInfo;

protected:
    uint32_t ExecuteThread() override;

private:
    void ReadNotifications(HANDLE stopEvent);
    void CacheVolumeRanges(uint32_t handle);
    const VolumeMuteInfo* ConversionRange(bool isInput) const;
};
