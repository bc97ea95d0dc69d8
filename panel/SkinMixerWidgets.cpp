#include "panel/SkinMixerWidgets.h"

#include "panel/CheckBoxSwitchWidget.h"
#include "panel/CircleSliderKnobWidget.h"
#include "panel/LabelTextWidget.h"
#include "panel/SliderFaderWidget.h"

namespace {

template <typename Table>
auto* Find(Table& table, std::wstring_view name)
{
    const auto found = table.find(name);
    return found == table.end() ? nullptr : found->second.get();
}

} // namespace

SkinMixerWidgets::SkinMixerWidgets() = default;
SkinMixerWidgets::~SkinMixerWidgets() = default;

void SkinMixerWidgets::Add(std::wstring_view name, std::unique_ptr<SliderFaderWidget> fader)
{
    m_faders[std::wstring(name)] = std::move(fader);
}

void SkinMixerWidgets::Add(std::wstring_view name, std::unique_ptr<CheckBoxSwitchWidget> box)
{
    m_switches[std::wstring(name)] = std::move(box);
}

void SkinMixerWidgets::Add(std::wstring_view name, std::unique_ptr<CircleSliderKnobWidget> knob)
{
    m_knobs[std::wstring(name)] = std::move(knob);
}

void SkinMixerWidgets::Add(std::wstring_view name, std::unique_ptr<LabelTextWidget> label)
{
    m_labels[std::wstring(name)] = std::move(label);
}

FaderWidget* SkinMixerWidgets::Fader(std::wstring_view name)
{
    return Find(m_faders, name);
}

SliderFaderWidget* SkinMixerWidgets::SliderFader(std::wstring_view name)
{
    return Find(m_faders, name);
}

SwitchWidget* SkinMixerWidgets::Switch(std::wstring_view name)
{
    return Find(m_switches, name);
}

KnobWidget* SkinMixerWidgets::Knob(std::wstring_view name)
{
    return Find(m_knobs, name);
}

LabelWidget* SkinMixerWidgets::Label(std::wstring_view name)
{
    return Find(m_labels, name);
}
