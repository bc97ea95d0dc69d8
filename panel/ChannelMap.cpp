#include "panel/ChannelMap.h"

#include <algorithm>

namespace {

constexpr MixerFader kFaders[] = {
    {L"input_master", true, 0, L"", L"input_master_mute", L""},
    {L"input_mic1", true, 1, L"", L"input_mic1_mute", L""},
    {L"input_phone1_left", true, 3, L"input_phone1_right", L"input_phone1_mute",
     L"input_phone1_lock"},
    {L"input_phone1_right", true, 4, L"input_phone1_left", L"input_phone1_mute",
     L"input_phone1_lock"},
    {L"input_mic2", true, 5, L"", L"input_mic2_mute", L""},
    {L"input_guitar", true, 6, L"", L"input_guitar_mute", L""},
    {L"input_phone2_left", true, 7, L"input_phone2_right", L"input_phone2_mute",
     L"input_phone2_lock"},
    {L"input_phone2_right", true, 8, L"input_phone2_left", L"input_phone2_mute",
     L"input_phone2_lock"},
    {L"output_master", false, 0, L"", L"output_master_mute", L""},
    {L"output_ear_left", false, 1, L"output_ear_right", L"output_ear_mute", L"output_ear_lock"},
    {L"output_ear_right", false, 2, L"output_ear_left", L"output_ear_mute", L"output_ear_lock"},
    {L"output_phone1_left", false, 3, L"output_phone1_right", L"output_phone1_mute",
     L"output_phone1_lock"},
    {L"output_phone1_right", false, 4, L"output_phone1_left", L"output_phone1_mute",
     L"output_phone1_lock"},
    {L"output_phone2_left", false, 5, L"output_phone2_right", L"output_phone2_mute",
     L"output_phone2_lock"},
    {L"output_phone2_right", false, 6, L"output_phone2_left", L"output_phone2_mute",
     L"output_phone2_lock"},
    {L"output_box_left", false, 7, L"output_box_right", L"output_box_mute", L"output_box_lock"},
    {L"output_box_right", false, 8, L"output_box_left", L"output_box_mute", L"output_box_lock"},
};

constexpr DeviceFader kDeviceFaders[] = {
    {L"device_MIC1", 0},
    {L"device_MIC2", 1},
    {L"device_GUITAR", 2},
    {L"device_HP", 3},
};

constexpr GainKnob kKnobs[] = {
    {L"mic1amp", L"mic1_value", 1},
    {L"mic2amp", L"mic2_value", 2},
};

// Output faders (table rows 8..16) come first, then the input faders.
constexpr const MixerFader* kVolumeReadOrder[] = {
    &kFaders[8],  &kFaders[9],  &kFaders[10], &kFaders[11], &kFaders[12], &kFaders[13],
    &kFaders[14], &kFaders[15], &kFaders[16], &kFaders[0],  &kFaders[1],  &kFaders[2],
    &kFaders[3],  &kFaders[4],  &kFaders[5],  &kFaders[6],  &kFaders[7],
};

constexpr std::wstring_view kSingleMuteReadOrder[] = {
    L"input_master_mute", L"output_master_mute", L"input_mic1_mute",
    L"input_mic2_mute",   L"input_guitar_mute",
};

constexpr std::wstring_view kStereoMuteReadOrder[] = {
    L"input_phone1_mute",  L"input_phone2_mute",  L"output_ear_mute",
    L"output_phone1_mute", L"output_phone2_mute", L"output_box_mute",
};

using enum ControlKind;
constexpr MixerControl kControls[] = {
    {L"input_phone1_lock", kLock},
    {L"input_phone2_lock", kLock},
    {L"output_ear_lock", kLock},
    {L"output_phone1_lock", kLock},
    {L"output_phone2_lock", kLock},
    {L"output_box_lock", kLock},
    {L"input_master", kFader},
    {L"input_mic1", kFader},
    {L"input_phone1_left", kFader},
    {L"input_phone1_right", kFader},
    {L"input_mic2", kFader},
    {L"input_guitar", kFader},
    {L"input_phone2_left", kFader},
    {L"input_phone2_right", kFader},
    {L"output_master", kFader},
    {L"output_ear_left", kFader},
    {L"output_ear_right", kFader},
    {L"output_phone1_left", kFader},
    {L"output_phone1_right", kFader},
    {L"output_phone2_left", kFader},
    {L"output_phone2_right", kFader},
    {L"output_box_left", kFader},
    {L"output_box_right", kFader},
    {L"input_master_mute", kMute},
    {L"input_mic1_mute", kMute},
    {L"input_phone1_mute", kMute},
    {L"input_mic2_mute", kMute},
    {L"input_guitar_mute", kMute},
    {L"input_phone2_mute", kMute},
    {L"output_master_mute", kMute},
    {L"output_ear_mute", kMute},
    {L"output_phone1_mute", kMute},
    {L"output_phone2_mute", kMute},
    {L"output_box_mute", kMute},
    {L"device_MIC1", kDeviceVolume},
    {L"device_MIC2", kDeviceVolume},
    {L"device_GUITAR", kDeviceVolume},
    {L"device_HP", kDeviceVolume},
    {L"mic1amp", kGain},
    {L"mic2amp", kGain},
    {L"input_invert", kInvert},
    {L"input_48v", kPhantomPower},
};

template <typename Row, typename Field>
const Row* FindRow(std::span<const Row> rows, Field Row::*field, std::wstring_view value)
{
    auto it =
        std::find_if(rows.begin(), rows.end(), [&](const Row& row) { return row.*field == value; });
    return it == rows.end() ? nullptr : &*it;
}

} // namespace

std::span<const MixerFader> ChannelMap::Faders()
{
    return kFaders;
}
std::span<const DeviceFader> ChannelMap::DeviceFaders()
{
    return kDeviceFaders;
}
std::span<const GainKnob> ChannelMap::Knobs()
{
    return kKnobs;
}

const MixerFader* ChannelMap::FindFader(std::wstring_view name)
{
    return FindRow(Faders(), &MixerFader::name, name);
}

const DeviceFader* ChannelMap::FindDeviceFader(std::wstring_view name)
{
    return FindRow(DeviceFaders(), &DeviceFader::name, name);
}

const GainKnob* ChannelMap::FindKnob(std::wstring_view name)
{
    return FindRow(Knobs(), &GainKnob::name, name);
}

// Rows are ordered left before right, so the first match is the left fader.
const MixerFader* ChannelMap::FindByMuteBox(std::wstring_view muteBox)
{
    return muteBox.empty() ? nullptr : FindRow(Faders(), &MixerFader::muteBox, muteBox);
}

const MixerFader* ChannelMap::FindByLockBox(std::wstring_view lockBox)
{
    return lockBox.empty() ? nullptr : FindRow(Faders(), &MixerFader::lockBox, lockBox);
}

std::span<const MixerFader* const> ChannelMap::VolumeReadOrder()
{
    return kVolumeReadOrder;
}
std::span<const std::wstring_view> ChannelMap::SingleMuteReadOrder()
{
    return kSingleMuteReadOrder;
}
std::span<const std::wstring_view> ChannelMap::StereoMuteReadOrder()
{
    return kStereoMuteReadOrder;
}

std::span<const MixerControl> ChannelMap::Controls()
{
    return kControls;
}

const MixerControl* ChannelMap::FindControl(std::wstring_view name)
{
    return FindRow(Controls(), &MixerControl::name, name);
}
