#include "panel/DriverMixerDevice.h"

#include "device/DeviceManager.h"
#include "panel/AudioControl.h"

bool DriverMixerDevice::IsOpen() const
{
    return m_manager.deviceHandle != 0;
}

double DriverMixerDevice::Quantise(double position, bool isInput) const
{
    if (!IsOpen())
        return 0.0;
    return m_manager.VolumeToPosition(m_manager.PositionToVolume(position, isInput), isInput);
}

double DriverMixerDevice::VolumeToPosition(int16_t volume, bool isInput) const
{
    return m_manager.VolumeToPosition(volume, isInput);
}

bool DriverMixerDevice::SetVolumePosition(double position, uint32_t channel, bool isInput)
{
    return m_manager.SetVolumePosition(position, static_cast<int>(channel), isInput) == 0;
}

void DriverMixerDevice::SetMute(bool isInput, uint32_t channel, bool muted)
{
    const uint32_t handle = m_manager.deviceHandle;
    if (handle == 0 || !m_manager.api.TUSBAUDIO_SetMute)
        return;
    m_manager.api.TUSBAUDIO_SetMute(handle, isInput ? 1 : 0, channel, muted ? 1 : 0);
}

bool DriverMixerDevice::GetVolume(bool isInput, uint32_t channel, int16_t& volume)
{
    const uint32_t handle = m_manager.deviceHandle;
    if (handle == 0 || !m_manager.api.TUSBAUDIO_GetVolume)
        return false;
    return m_manager.api.TUSBAUDIO_GetVolume(handle, isInput ? 1 : 0, channel, &volume) == 0;
}

bool DriverMixerDevice::GetMute(bool isInput, uint32_t channel, bool& muted)
{
    const uint32_t handle = m_manager.deviceHandle;
    if (handle == 0 || !m_manager.api.TUSBAUDIO_GetMute)
        return false;
    uint32_t value = 0;
    if (m_manager.api.TUSBAUDIO_GetMute(handle, isInput ? 1 : 0, channel, &value) != 0)
        return false;
    muted = value != 0;
    return true;
}

void DriverMixerDevice::ControlSet(uint8_t selector, const uint8_t* bytes, uint32_t length)
{
    const uint32_t handle = m_manager.deviceHandle;
    if (handle == 0 || !m_manager.api.TUSBAUDIO_AudioControlRequestSet)
        return;
    m_manager.api.TUSBAUDIO_AudioControlRequestSet(
        handle, AudioControl::kEntity, AudioControl::kRequest, selector, AudioControl::kChannel,
        bytes, length, nullptr, AudioControl::kTimeoutMs);
}

bool DriverMixerDevice::ControlGet(uint8_t selector, uint8_t* buffer, uint32_t length)
{
    const uint32_t handle = m_manager.deviceHandle;
    if (handle == 0 || !m_manager.api.TUSBAUDIO_AudioControlRequestGet)
        return false;
    return m_manager.api.TUSBAUDIO_AudioControlRequestGet(
               handle, AudioControl::kEntity, AudioControl::kRequest, selector,
               AudioControl::kChannel, buffer, length, nullptr, AudioControl::kTimeoutMs) == 0;
}
