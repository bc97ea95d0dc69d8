#pragma once

#include <cstdint>
#include <span>
#include <string_view>

// One mixer fader of the main window and the device channel it drives. A
// stereo strip is two faders (left carries the lower channel) sharing one
// mute box and one lock box.
struct MixerFader {
    std::wstring_view name;
    bool isInput = false;
    uint32_t channel = 0;
    std::wstring_view partner; // empty on a single strip
    std::wstring_view muteBox;
    std::wstring_view lockBox; // empty on a single strip

    bool IsStereo() const { return !partner.empty(); }
};

// A device-volume fader: it drives byte `index` of the device-volume block.
struct DeviceFader {
    std::wstring_view name;
    uint8_t index = 0;
};

// A pre-amp gain knob, the label that shows its gain and the input it sets.
struct GainKnob {
    std::wstring_view name;
    std::wstring_view label;
    uint8_t input = 0; // 1 = MIC1, 2 = MIC2
};

// The kinds of named mixer controls that scenes and the console tool address.
enum class ControlKind { kFader, kMute, kLock, kDeviceVolume, kGain, kInvert, kPhantomPower };

struct MixerControl {
    std::wstring_view name;
    ControlKind kind = ControlKind::kFader;
};

// What each named control of the mixer skin stands for on the device.
class ChannelMap {
public:
    static constexpr std::wstring_view kPhantomPowerBox = L"input_48v";
    static constexpr std::wstring_view kInvertBox = L"input_invert";
    // The mixer faders' travel is 0..kFaderTop (0 dB at the top).
    static constexpr double kFaderTop = 44.0;
    // The gain knobs' steps.
    static constexpr int kGainMin = 3;
    static constexpr int kGainMax = 9;

    static std::span<const MixerFader> Faders();
    static std::span<const DeviceFader> DeviceFaders();
    static std::span<const GainKnob> Knobs();

    static const MixerFader* FindFader(std::wstring_view name);
    static const DeviceFader* FindDeviceFader(std::wstring_view name);
    static const GainKnob* FindKnob(std::wstring_view name);
    // The left (or only) fader of the strip that owns the box.
    static const MixerFader* FindByMuteBox(std::wstring_view muteBox);
    static const MixerFader* FindByLockBox(std::wstring_view lockBox);

    // Faders in the order their volumes are read from the device: output
    // channels 0..8, then input channels 0, 1, 3..8.
    static std::span<const MixerFader* const> VolumeReadOrder();
    // Mute boxes in the order mutes are read: single strips, then stereo ones.
    static std::span<const std::wstring_view> SingleMuteReadOrder();
    static std::span<const std::wstring_view> StereoMuteReadOrder();

    // Every named control a scene or the console tool addresses, in the
    // order a scene is recalled: locks, fader levels, mutes, device
    // volumes, gains, invert; phantom power (never recalled) last.
    static std::span<const MixerControl> Controls();
    static const MixerControl* FindControl(std::wstring_view name);
};
