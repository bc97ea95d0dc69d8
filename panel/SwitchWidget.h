#pragma once

// What the mixer rules need of a check box (mute, lock, phantom power,
// invert). ShowSelected never raises a select or unselect event.
class SwitchWidget {
public:
    virtual ~SwitchWidget() = default;
    virtual bool IsSelected() const = 0;
    virtual void ShowSelected(bool selected) = 0;
};
