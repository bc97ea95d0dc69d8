#pragma once

#include <map>
#include <memory>
#include <string>

#include "panel/MixerWidgets.h"

// The mixer's controls held in memory, for running the mixer rules without
// a window (the console tool). Each control is created on first use in the
// state the skin gives it: mixer faders at their top (44), device faders at
// 0, switches unselected (stereo pairs locked). Fader positions and switch
// states are kept as the rules write them; nothing else is needed.
class MemoryMixerWidgets : public MixerWidgets {
public:
    MemoryMixerWidgets();
    ~MemoryMixerWidgets() override;

    FaderWidget* Fader(std::wstring_view name) override;
    SwitchWidget* Switch(std::wstring_view name) override;
    KnobWidget* Knob(std::wstring_view name) override;
    LabelWidget* Label(std::wstring_view name) override;

private:
    class MemoryFader;
    class MemorySwitch;
    class MemoryKnob;
    class MemoryLabel;

    template <typename T>
    using Table = std::map<std::wstring, std::unique_ptr<T>, std::less<>>;

    Table<MemoryFader> m_faders;
    Table<MemorySwitch> m_switches;
    Table<MemoryKnob> m_knobs;
    Table<MemoryLabel> m_labels;
};
