#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "panel/DeviceVolumeBlock.h"

class MixerDevice;
class MixerWidgets;
struct MixerFader;

// The mixer's rules: what a change of a named control sends to the device,
// how controls are tied together (stereo lock, mute greying, gain labels) and
// how the device's state is shown. Nothing written to a control raises its
// change event, so nothing is echoed back to the device.
class MixerRules {
public:
    MixerRules(MixerWidgets& widgets, MixerDevice& device) : m_widgets(widgets), m_device(device) {}

    // User changes. Names outside the channel map are ignored.
    void OnFaderMoved(std::wstring_view fader, double position);
    void OnMuteChanged(std::wstring_view muteBox, bool muted);
    // A lock box unselected means the pair is locked again.
    void OnLockChanged(std::wstring_view lockBox, bool unlocked);
    void OnKnobTurned(std::wstring_view knob, double value);
    void OnPhantomPowerChanged(bool on);
    void OnInvertChanged(bool on);

    // Showing the device's state.
    void ShowVolumes();
    void ShowMutes();
    void ShowSwitches();
    void ShowGains();
    // Reads the device-volume block and applies it; false when the read failed.
    bool PollDeviceVolumes();
    void ApplyDeviceVolumeBlock(const DeviceVolumeBlock& block);
    // Zeroes the block kept, so the next one applies every byte.
    void ForgetDeviceVolumeBlock() { m_lastBlock = {}; }
    const DeviceVolumeBlock& LastDeviceVolumeBlock() const { return m_lastBlock; }

    // "%dDB" of (step - 2) x 3.
    static std::wstring GainLabelText(int step);

private:
    void MoveMixerFader(const MixerFader& fader, double position);
    // Sends a volume; one the device does not take is replaced on screen.
    void SendVolume(const MixerFader& fader, double position);
    void ShowDeviceVolume(const MixerFader& fader);
    void MoveDeviceFader(uint8_t index, double position);
    void ShowGain(std::wstring_view knob, int step);

    MixerWidgets& m_widgets;
    MixerDevice& m_device;
    DeviceVolumeBlock m_lastBlock;
};
