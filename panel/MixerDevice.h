#pragma once

#include <cstdint>

// The device as the mixer rules see it. Every operation is a no-op (or a
// failed read) while no device is open or the driver lacks the entry point;
// the rules never learn why and never show a status.
class MixerDevice {
public:
    virtual ~MixerDevice() = default;

    virtual bool IsOpen() const = 0;
    // Rounds a fader position to the table point the device can take:
    // VolumeToPosition(PositionToVolume(position)); 0 with no device open.
    virtual double Quantise(double position, bool isInput) const = 0;
    virtual double VolumeToPosition(int16_t volume, bool isInput) const = 0;

    // False when the device did not take the volume (a failed request, or a
    // device without a usable volume range, to which nothing is sent); true
    // when it did or when no device is open.
    virtual bool SetVolumePosition(double position, uint32_t channel, bool isInput) = 0;
    virtual void SetMute(bool isInput, uint32_t channel, bool muted) = 0;
    virtual bool GetVolume(bool isInput, uint32_t channel, int16_t& volume) = 0;
    virtual bool GetMute(bool isInput, uint32_t channel, bool& muted) = 0;

    // Requests to the device's custom audio-control entity (see AudioControl).
    virtual void ControlSet(uint8_t selector, const uint8_t* bytes, uint32_t length) = 0;
    virtual bool ControlGet(uint8_t selector, uint8_t* buffer, uint32_t length) = 0;
};
