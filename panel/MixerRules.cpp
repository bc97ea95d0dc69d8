#include "panel/MixerRules.h"

#include <algorithm>
#include <cmath>

#include "panel/AudioControl.h"
#include "panel/ChannelMap.h"
#include "panel/FaderWidget.h"
#include "panel/KnobWidget.h"
#include "panel/LabelWidget.h"
#include "panel/MixerDevice.h"
#include "panel/MixerWidgets.h"
#include "panel/SwitchWidget.h"

namespace {

constexpr wchar_t kDeviceFaderImage[] = L"slidarBar_single.png";
constexpr wchar_t kDeviceFaderLockedOutImage[] = L"slidarBar_single_disable.png";

// A request byte from a control value: truncated toward zero and kept inside
// a byte. A slider's wheel step can overshoot its top until the next paint,
// and a wrapped byte would send the opposite extreme to the hardware.
uint8_t ValueByte(double value)
{
    if (!(value > 0.0))
        return 0;
    return static_cast<uint8_t>(std::min(std::trunc(value), 255.0));
}

} // namespace

std::wstring MixerRules::GainLabelText(int step)
{
    return std::to_wstring((step - 2) * 3) + L"DB";
}

void MixerRules::OnFaderMoved(std::wstring_view name, double position)
{
    if (const MixerFader* fader = ChannelMap::FindFader(name)) {
        MoveMixerFader(*fader, position);
    } else if (const DeviceFader* deviceFader = ChannelMap::FindDeviceFader(name)) {
        MoveDeviceFader(deviceFader->index, position);
    }
}

void MixerRules::MoveMixerFader(const MixerFader& fader, double position)
{
    const double q = m_device.Quantise(position, fader.isInput);
    FaderWidget* moved = m_widgets.Fader(fader.name);
    if (!fader.IsStereo()) {
        const bool taken = m_device.SetVolumePosition(q, fader.channel, fader.isInput);
        if (moved)
            moved->ShowValue(q);
        if (!taken)
            ShowDeviceVolume(fader);
        return;
    }
    if (moved)
        moved->ShowValue(q);
    SwitchWidget* lock = m_widgets.Switch(fader.lockBox);
    const bool locked = lock && !lock->IsSelected();
    SendVolume(fader, q);
    if (!locked)
        return;
    const MixerFader* partner = ChannelMap::FindFader(fader.partner);
    if (FaderWidget* partnerWidget = m_widgets.Fader(partner->name))
        partnerWidget->ShowValue(q);
    SendVolume(*partner, q);
}

void MixerRules::SendVolume(const MixerFader& fader, double position)
{
    if (!m_device.SetVolumePosition(position, fader.channel, fader.isInput))
        ShowDeviceVolume(fader);
}

void MixerRules::ShowDeviceVolume(const MixerFader& fader)
{
    // A volume the device did not take must not stay on screen: the fader
    // goes back to what the device reports (or stays put if it cannot be read).
    int16_t volume = 0;
    if (!m_device.GetVolume(fader.isInput, fader.channel, volume))
        return;
    if (FaderWidget* widget = m_widgets.Fader(fader.name))
        widget->ShowValue(m_device.VolumeToPosition(volume, fader.isInput));
}

void MixerRules::MoveDeviceFader(uint8_t index, double position)
{
    const uint8_t bytes[2] = {index, ValueByte(position)};
    m_device.ControlSet(AudioControl::kDeviceVolume, bytes, sizeof(bytes));
}

void MixerRules::OnMuteChanged(std::wstring_view muteBox, bool muted)
{
    const MixerFader* left = ChannelMap::FindByMuteBox(muteBox);
    if (!left)
        return;
    const MixerFader* right = left->IsStereo() ? ChannelMap::FindFader(left->partner) : nullptr;
    for (const MixerFader* fader : {left, right}) {
        if (!fader)
            continue;
        if (FaderWidget* widget = m_widgets.Fader(fader->name))
            widget->SetEnabled(!muted);
    }
    for (const MixerFader* fader : {left, right}) {
        if (fader)
            m_device.SetMute(fader->isInput, fader->channel, muted);
    }
}

void MixerRules::OnLockChanged(std::wstring_view lockBox, bool unlocked)
{
    const MixerFader* left = ChannelMap::FindByLockBox(lockBox);
    if (!left || unlocked)
        return;
    const MixerFader* right = ChannelMap::FindFader(left->partner);
    FaderWidget* leftWidget = m_widgets.Fader(left->name);
    FaderWidget* rightWidget = m_widgets.Fader(right->name);
    const double leftValue = leftWidget ? leftWidget->Value() : 0.0;
    const double rightValue = rightWidget ? rightWidget->Value() : 0.0;
    double v = (leftValue + rightValue) * 0.5;
    v = m_device.IsOpen() ? m_device.Quantise(v, left->isInput) : 0.0;
    if (leftWidget)
        leftWidget->ShowValue(v);
    if (rightWidget)
        rightWidget->ShowValue(v);
    SendVolume(*left, v);
    SendVolume(*right, v);
}

void MixerRules::OnKnobTurned(std::wstring_view name, double value)
{
    const GainKnob* knob = ChannelMap::FindKnob(name);
    if (!knob)
        return;
    const uint8_t step = ValueByte(value);
    const uint8_t bytes[2] = {knob->input, step};
    m_device.ControlSet(AudioControl::kPreampGain, bytes, sizeof(bytes));
    if (LabelWidget* label = m_widgets.Label(knob->label))
        label->SetText(GainLabelText(step));
}

void MixerRules::OnPhantomPowerChanged(bool on)
{
    const uint8_t byte = on ? 1 : 0;
    m_device.ControlSet(AudioControl::kPhantomPower, &byte, 1);
}

void MixerRules::OnInvertChanged(bool on)
{
    const uint8_t bytes[2] = {static_cast<uint8_t>(on ? 1 : 0), 0};
    m_device.ControlSet(AudioControl::kInvert, bytes, sizeof(bytes));
}

void MixerRules::ShowVolumes()
{
    struct Reading {
        bool ok = false;
        int16_t volume = 0;
    };
    Reading readings[2][9];
    for (const MixerFader* fader : ChannelMap::VolumeReadOrder()) {
        Reading& reading = readings[fader->isInput][fader->channel];
        reading.ok = m_device.GetVolume(fader->isInput, fader->channel, reading.volume);
        if (!reading.ok)
            continue;
        if (FaderWidget* widget = m_widgets.Fader(fader->name)) {
            widget->ShowValue(m_device.VolumeToPosition(reading.volume, fader->isInput));
        }
    }
    // A pair found at two different volumes cannot be locked.
    for (const MixerFader& fader : ChannelMap::Faders()) {
        if (!fader.IsStereo() || ChannelMap::FindByLockBox(fader.lockBox) != &fader)
            continue;
        const MixerFader* right = ChannelMap::FindFader(fader.partner);
        const Reading& l = readings[fader.isInput][fader.channel];
        const Reading& r = readings[right->isInput][right->channel];
        if (l.ok && r.ok && l.volume != r.volume) {
            if (SwitchWidget* lock = m_widgets.Switch(fader.lockBox))
                lock->ShowSelected(true);
        }
    }
}

void MixerRules::ShowMutes()
{
    for (std::wstring_view muteBox : ChannelMap::SingleMuteReadOrder()) {
        const MixerFader* fader = ChannelMap::FindByMuteBox(muteBox);
        bool muted = false;
        if (!m_device.GetMute(fader->isInput, fader->channel, muted))
            continue;
        if (SwitchWidget* box = m_widgets.Switch(muteBox))
            box->ShowSelected(muted);
        if (FaderWidget* widget = m_widgets.Fader(fader->name))
            widget->SetEnabled(!muted);
    }
    for (std::wstring_view muteBox : ChannelMap::StereoMuteReadOrder()) {
        const MixerFader* left = ChannelMap::FindByMuteBox(muteBox);
        const MixerFader* right = ChannelMap::FindFader(left->partner);
        bool leftMuted = false;
        bool rightMuted = false;
        // Both sides are always read, left first; a failed read of either
        // leaves the strip as it is.
        const bool leftRead = m_device.GetMute(left->isInput, left->channel, leftMuted);
        const bool rightRead = m_device.GetMute(right->isInput, right->channel, rightMuted);
        if (!leftRead || !rightRead)
            continue;
        // Sides that disagree show the strip as not muted, both faders usable.
        const bool muted = leftMuted && rightMuted;
        if (SwitchWidget* box = m_widgets.Switch(muteBox))
            box->ShowSelected(muted);
        for (const MixerFader* fader : {left, right}) {
            if (FaderWidget* widget = m_widgets.Fader(fader->name))
                widget->SetEnabled(!muted);
        }
    }
}

void MixerRules::ShowSwitches()
{
    const std::pair<uint8_t, std::wstring_view> switches[] = {
        {AudioControl::kPhantomPower, ChannelMap::kPhantomPowerBox},
        {AudioControl::kInvert, ChannelMap::kInvertBox},
    };
    for (const auto& [selector, name] : switches) {
        uint8_t byte = 0;
        const bool on = m_device.ControlGet(selector, &byte, 1) && byte != 0;
        if (SwitchWidget* box = m_widgets.Switch(name))
            box->ShowSelected(on);
    }
}

void MixerRules::ShowGains()
{
    uint8_t byte = 0;
    if (!m_device.ControlGet(AudioControl::kPreampGain, &byte, 1))
        return;
    ShowGain(ChannelMap::Knobs()[0].name, byte >> 4);
    ShowGain(ChannelMap::Knobs()[1].name, byte & 15);
}

void MixerRules::ShowGain(std::wstring_view name, int step)
{
    const GainKnob* knob = ChannelMap::FindKnob(name);
    if (KnobWidget* widget = m_widgets.Knob(knob->name))
        widget->ShowValue(step);
    if (LabelWidget* label = m_widgets.Label(knob->label))
        label->SetText(GainLabelText(step));
}

bool MixerRules::PollDeviceVolumes()
{
    if (!m_device.IsOpen())
        return false;
    DeviceVolumeBlock block;
    if (!m_device.ControlGet(AudioControl::kDeviceVolume, block.bytes.data(),
                             DeviceVolumeBlock::kSize)) {
        return false;
    }
    ApplyDeviceVolumeBlock(block);
    return true;
}

void MixerRules::ApplyDeviceVolumeBlock(const DeviceVolumeBlock& block)
{
    const auto& now = block.bytes;
    const auto& before = m_lastBlock.bytes;
    for (const DeviceFader& deviceFader : ChannelMap::DeviceFaders()) {
        const int top = DeviceVolumeBlock::TopByte(deviceFader.index);
        const int level = DeviceVolumeBlock::LevelByte(deviceFader.index);
        if (now[top] == before[top] && now[level] == before[level])
            continue;
        if (FaderWidget* widget = m_widgets.Fader(deviceFader.name)) {
            widget->SetMaxValue(now[top]);
            widget->ShowValue(now[level]);
        }
    }
    const int lockOut = DeviceVolumeBlock::kLockOut;
    if (now[lockOut] != before[lockOut]) {
        const bool enabled = now[lockOut] == 0;
        for (const DeviceFader& deviceFader : ChannelMap::DeviceFaders()) {
            if (FaderWidget* widget = m_widgets.Fader(deviceFader.name)) {
                widget->SetEnabled(enabled);
                widget->SetBackgroundImage(enabled ? kDeviceFaderImage
                                                   : kDeviceFaderLockedOutImage);
            }
        }
    }
    m_lastBlock = block;
}
