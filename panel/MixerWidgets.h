#pragma once

#include <string_view>

class FaderWidget;
class KnobWidget;
class LabelWidget;
class SwitchWidget;

// Finds the mixer's controls by their skin names. A name the window does
// not have answers null, and the rules then skip that control.
class MixerWidgets {
public:
    virtual ~MixerWidgets() = default;
    virtual FaderWidget* Fader(std::wstring_view name) = 0;
    virtual SwitchWidget* Switch(std::wstring_view name) = 0;
    virtual KnobWidget* Knob(std::wstring_view name) = 0;
    virtual LabelWidget* Label(std::wstring_view name) = 0;
};
