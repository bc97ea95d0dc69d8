#pragma once

#include "panel/MixerDevice.h"

class DeviceManager;

// The mixer's device through the driver library: every call goes through
// the device manager's entry table, only while a device is open and the
// entry point is present. Statuses are not reported to the rules.
class DriverMixerDevice : public MixerDevice {
public:
    explicit DriverMixerDevice(DeviceManager& manager) : m_manager(manager) {}

    bool IsOpen() const override;
    double Quantise(double position, bool isInput) const override;
    double VolumeToPosition(int16_t volume, bool isInput) const override;
    bool SetVolumePosition(double position, uint32_t channel, bool isInput) override;
    void SetMute(bool isInput, uint32_t channel, bool muted) override;
    bool GetVolume(bool isInput, uint32_t channel, int16_t& volume) override;
    bool GetMute(bool isInput, uint32_t channel, bool& muted) override;
    void ControlSet(uint8_t selector, const uint8_t* bytes, uint32_t length) override;
    bool ControlGet(uint8_t selector, uint8_t* buffer, uint32_t length) override;

private:
    DeviceManager& m_manager;
};
