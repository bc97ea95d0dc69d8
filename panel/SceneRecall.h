#pragma once

#include <optional>
#include <string>

#include "panel/Scene.h"

class MixerDevice;
class MixerRules;
class MixerWidgets;

// Recalls a scene through the mixer's rules, so that it sends exactly what
// the user could have set by hand, and reads the mixer's state as a scene.
// The recall order is fixed: locks first, then fader levels, mutes, device
// volumes, gains and invert. Levels are quantised as a drag would be and
// values outside the device's range are clamped; phantom power is never
// switched. The controls show every value at once.
class SceneRecall {
public:
    struct Outcome {
        bool noDevice = false; // nothing was sent
        // The device had its volume faders locked (or the block could not
        // be read): the scene's device volumes were left as they are.
        bool deviceVolumesSkipped = false;
    };

    SceneRecall(MixerRules& rules, MixerWidgets& widgets, MixerDevice& device)
        : m_rules(rules), m_widgets(widgets), m_device(device)
    {
    }

    // Applies the controls the scene holds; with no device open, nothing.
    Outcome Apply(const Scene& scene);
    // Whether the device currently refuses device-volume changes (reads
    // the device-volume block, as the poll does).
    bool DeviceVolumesLocked();
    // The device's state (levels as the device holds them, in dB), with
    // the lock switches as the controls show them and phantom power.
    // Nothing when no device is open or a read failed; `error` says which.
    std::optional<Scene> Capture(std::wstring& error);

private:
    void ApplyLocks(const Scene& scene);
    void ApplyLevels(const Scene& scene);
    void ApplyMutes(const Scene& scene);
    bool ApplyDeviceVolumes(const Scene& scene);
    void ApplyGainsAndInvert(const Scene& scene);
    bool IsLocked(std::wstring_view lockBox);

    MixerRules& m_rules;
    MixerWidgets& m_widgets;
    MixerDevice& m_device;
};
