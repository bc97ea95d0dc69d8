#pragma once

// What the mixer rules need of a gain knob: showing a value read from the
// device, without raising a change event.
class KnobWidget {
public:
    virtual ~KnobWidget() = default;
    virtual void ShowValue(double value) = 0;
};
