#pragma once

#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "panel/MixerWidgets.h"

class CheckBoxSwitchWidget;
class CircleSliderKnobWidget;
class LabelTextWidget;
class SliderFaderWidget;

// The mixer rules' view of a window's skin controls: one adapter per bound
// control, looked up by skin name. Names not added answer null.
class SkinMixerWidgets : public MixerWidgets {
public:
    SkinMixerWidgets();
    ~SkinMixerWidgets() override;

    void Add(std::wstring_view name, std::unique_ptr<SliderFaderWidget> fader);
    void Add(std::wstring_view name, std::unique_ptr<CheckBoxSwitchWidget> box);
    void Add(std::wstring_view name, std::unique_ptr<CircleSliderKnobWidget> knob);
    void Add(std::wstring_view name, std::unique_ptr<LabelTextWidget> label);

    FaderWidget* Fader(std::wstring_view name) override;
    SwitchWidget* Switch(std::wstring_view name) override;
    KnobWidget* Knob(std::wstring_view name) override;
    LabelWidget* Label(std::wstring_view name) override;

    SliderFaderWidget* SliderFader(std::wstring_view name);

private:
    template <typename T>
    using Table = std::map<std::wstring, std::unique_ptr<T>, std::less<>>;

    Table<SliderFaderWidget> m_faders;
    Table<CheckBoxSwitchWidget> m_switches;
    Table<CircleSliderKnobWidget> m_knobs;
    Table<LabelTextWidget> m_labels;
};
