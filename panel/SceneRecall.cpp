#include "panel/SceneRecall.h"

#include <algorithm>

#include "panel/AudioControl.h"
#include "panel/ChannelMap.h"
#include "panel/DeviceVolumeBlock.h"
#include "panel/FaderWidget.h"
#include "panel/KnobWidget.h"
#include "panel/MixerDevice.h"
#include "panel/MixerRules.h"
#include "panel/MixerWidgets.h"
#include "panel/SwitchWidget.h"

SceneRecall::Outcome SceneRecall::Apply(const Scene& scene)
{
    Outcome outcome;
    if (!m_device.IsOpen()) {
        outcome.noDevice = true;
        return outcome;
    }
    ApplyLocks(scene);
    ApplyLevels(scene);
    ApplyMutes(scene);
    outcome.deviceVolumesSkipped = !ApplyDeviceVolumes(scene);
    ApplyGainsAndInvert(scene);
    return outcome;
}

bool SceneRecall::IsLocked(std::wstring_view lockBox)
{
    // A lock box selected means the pair is unlocked.
    const SwitchWidget* lock = m_widgets.Switch(lockBox);
    return lock != nullptr && !lock->IsSelected();
}

void SceneRecall::ApplyLocks(const Scene& scene)
{
    // Only a lock that changes is switched, as a click would: engaging one
    // levels the pair, which the levels that follow then set.
    for (const MixerControl& control : ChannelMap::Controls()) {
        const double* value = scene.Find(control.name);
        if (control.kind != ControlKind::kLock || value == nullptr)
            continue;
        const bool locked = *value != 0.0;
        SwitchWidget* lock = m_widgets.Switch(control.name);
        if (lock == nullptr || IsLocked(control.name) == locked)
            continue;
        lock->ShowSelected(!locked);
        m_rules.OnLockChanged(control.name, !locked);
    }
}

void SceneRecall::ApplyLevels(const Scene& scene)
{
    for (const MixerFader& fader : ChannelMap::Faders()) {
        const double* db = scene.Find(fader.name);
        if (db == nullptr)
            continue;
        // A locked pair's left fader has already put the right one where
        // the scene wants it when both sides are at the same level.
        if (fader.IsStereo() && ChannelMap::FindByLockBox(fader.lockBox) != &fader &&
            IsLocked(fader.lockBox)) {
            const double* left = scene.Find(fader.partner);
            if (left != nullptr && *left == *db)
                continue;
        }
        // The fader's position for the level (clamped into the device's
        // range), kept on the fader's travel as a drag is; the rules then
        // quantise it to a point the device takes.
        const double position =
            std::clamp(m_device.VolumeToPosition(Scene::VolumeFromDb(*db), fader.isInput), 0.0,
                       ChannelMap::kFaderTop);
        m_rules.OnFaderMoved(fader.name, position);
    }
}

void SceneRecall::ApplyMutes(const Scene& scene)
{
    for (const MixerControl& control : ChannelMap::Controls()) {
        const double* value = scene.Find(control.name);
        if (control.kind != ControlKind::kMute || value == nullptr)
            continue;
        const bool muted = *value != 0.0;
        if (SwitchWidget* box = m_widgets.Switch(control.name))
            box->ShowSelected(muted);
        m_rules.OnMuteChanged(control.name, muted);
    }
}

bool SceneRecall::DeviceVolumesLocked()
{
    // The block gives the faders' scale tops and the lock-out flag; a
    // block that cannot be read leaves the device volumes alone.
    if (!m_rules.PollDeviceVolumes())
        return true;
    return m_rules.LastDeviceVolumeBlock().bytes[DeviceVolumeBlock::kLockOut] != 0;
}

bool SceneRecall::ApplyDeviceVolumes(const Scene& scene)
{
    const bool wanted =
        std::any_of(ChannelMap::DeviceFaders().begin(), ChannelMap::DeviceFaders().end(),
                    [&](const DeviceFader& f) { return scene.Has(f.name); });
    if (!wanted)
        return true;
    // Locked-out device faders cannot be moved by hand either.
    if (DeviceVolumesLocked())
        return false;
    const DeviceVolumeBlock& block = m_rules.LastDeviceVolumeBlock();
    for (const DeviceFader& fader : ChannelMap::DeviceFaders()) {
        const double* level = scene.Find(fader.name);
        if (level == nullptr)
            continue;
        const double top = block.bytes[DeviceVolumeBlock::TopByte(fader.index)];
        const double position = std::clamp(*level, 0.0, top);
        if (FaderWidget* widget = m_widgets.Fader(fader.name))
            widget->ShowValue(position);
        m_rules.OnFaderMoved(fader.name, position);
    }
    return true;
}

void SceneRecall::ApplyGainsAndInvert(const Scene& scene)
{
    for (const GainKnob& knob : ChannelMap::Knobs()) {
        const double* step = scene.Find(knob.name);
        if (step == nullptr)
            continue;
        const double clamped =
            std::clamp(*step, double{ChannelMap::kGainMin}, double{ChannelMap::kGainMax});
        if (KnobWidget* widget = m_widgets.Knob(knob.name))
            widget->ShowValue(clamped);
        m_rules.OnKnobTurned(knob.name, clamped);
    }
    if (const double* on = scene.Find(ChannelMap::kInvertBox)) {
        if (SwitchWidget* box = m_widgets.Switch(ChannelMap::kInvertBox))
            box->ShowSelected(*on != 0.0);
        m_rules.OnInvertChanged(*on != 0.0);
    }
}

std::optional<Scene> SceneRecall::Capture(std::wstring& error)
{
    if (!m_device.IsOpen()) {
        error = L"no device is connected";
        return std::nullopt;
    }
    Scene scene;
    for (const MixerFader& fader : ChannelMap::Faders()) {
        int16_t volume = 0;
        if (!m_device.GetVolume(fader.isInput, fader.channel, volume)) {
            error = L"the level of " + std::wstring(fader.name) + L" could not be read";
            return std::nullopt;
        }
        scene.Set(fader.name, Scene::DbFromVolume(volume));
    }
    for (const MixerControl& control : ChannelMap::Controls()) {
        if (control.kind == ControlKind::kLock) {
            scene.Set(control.name, IsLocked(control.name) ? 1.0 : 0.0);
            continue;
        }
        if (control.kind != ControlKind::kMute)
            continue;
        // A stereo strip shows muted only when both of its channels are.
        const MixerFader* left = ChannelMap::FindByMuteBox(control.name);
        const MixerFader* right = left->IsStereo() ? ChannelMap::FindFader(left->partner) : left;
        bool leftMuted = false;
        bool rightMuted = false;
        if (!m_device.GetMute(left->isInput, left->channel, leftMuted) ||
            !m_device.GetMute(right->isInput, right->channel, rightMuted)) {
            error = L"the mute of " + std::wstring(control.name) + L" could not be read";
            return std::nullopt;
        }
        scene.Set(control.name, leftMuted && rightMuted ? 1.0 : 0.0);
    }
    DeviceVolumeBlock block;
    uint8_t gains = 0;
    uint8_t invert = 0;
    uint8_t phantom = 0;
    if (!m_device.ControlGet(AudioControl::kDeviceVolume, block.bytes.data(),
                             DeviceVolumeBlock::kSize) ||
        !m_device.ControlGet(AudioControl::kPreampGain, &gains, 1) ||
        !m_device.ControlGet(AudioControl::kInvert, &invert, 1) ||
        !m_device.ControlGet(AudioControl::kPhantomPower, &phantom, 1)) {
        error = L"the device's custom controls could not be read";
        return std::nullopt;
    }
    for (const DeviceFader& fader : ChannelMap::DeviceFaders())
        scene.Set(fader.name, block.bytes[DeviceVolumeBlock::LevelByte(fader.index)]);
    scene.Set(ChannelMap::Knobs()[0].name, gains >> 4);
    scene.Set(ChannelMap::Knobs()[1].name, gains & 15);
    scene.Set(ChannelMap::kInvertBox, invert != 0 ? 1.0 : 0.0);
    scene.Set(ChannelMap::kPhantomPowerBox, phantom != 0 ? 1.0 : 0.0);
    return scene;
}
