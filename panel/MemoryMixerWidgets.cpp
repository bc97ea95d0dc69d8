#include "panel/MemoryMixerWidgets.h"

#include "panel/ChannelMap.h"
#include "panel/FaderWidget.h"
#include "panel/KnobWidget.h"
#include "panel/LabelWidget.h"
#include "panel/SwitchWidget.h"

class MemoryMixerWidgets::MemoryFader : public FaderWidget {
public:
    explicit MemoryFader(double value) : m_value(value) {}
    double Value() const override { return m_value; }
    void ShowValue(double value) override { m_value = value; }
    // Nothing is drawn: only the value matters to the rules.
    void SetMaxValue(double) override {}
    void SetEnabled(bool) override {}
    void SetBackgroundImage(const std::wstring&) override {}

private:
    double m_value;
};

class MemoryMixerWidgets::MemorySwitch : public SwitchWidget {
public:
    bool IsSelected() const override { return m_selected; }
    void ShowSelected(bool selected) override { m_selected = selected; }

private:
    bool m_selected = false;
};

class MemoryMixerWidgets::MemoryKnob : public KnobWidget {
public:
    void ShowValue(double) override {}
};

class MemoryMixerWidgets::MemoryLabel : public LabelWidget {
public:
    void SetText(const std::wstring&) override {}
};

namespace {

template <typename T, typename Table, typename... Args>
T* Entry(Table& table, std::wstring_view name, Args... args)
{
    const auto found = table.find(name);
    if (found != table.end())
        return found->second.get();
    return table.emplace(std::wstring(name), std::make_unique<T>(args...)).first->second.get();
}

} // namespace

MemoryMixerWidgets::MemoryMixerWidgets() = default;
MemoryMixerWidgets::~MemoryMixerWidgets() = default;

FaderWidget* MemoryMixerWidgets::Fader(std::wstring_view name)
{
    const bool deviceFader = ChannelMap::FindDeviceFader(name) != nullptr;
    if (!deviceFader && ChannelMap::FindFader(name) == nullptr)
        return nullptr;
    return Entry<MemoryFader>(m_faders, name, deviceFader ? 0.0 : ChannelMap::kFaderTop);
}

SwitchWidget* MemoryMixerWidgets::Switch(std::wstring_view name)
{
    const MixerControl* control = ChannelMap::FindControl(name);
    if (control == nullptr)
        return nullptr;
    return Entry<MemorySwitch>(m_switches, name);
}

KnobWidget* MemoryMixerWidgets::Knob(std::wstring_view name)
{
    return ChannelMap::FindKnob(name) != nullptr ? Entry<MemoryKnob>(m_knobs, name) : nullptr;
}

LabelWidget* MemoryMixerWidgets::Label(std::wstring_view name)
{
    return Entry<MemoryLabel>(m_labels, name);
}
