// The mixer reading the device after its notifications: arbitrary volume
// ranges, volumes, mutes, audio-control answers and failing reads, then a
// stream of notification categories, polls and user moves. Whatever the
// driver answers, the controls must show values within their scales.
#include "tests/fuzz/FuzzCheck.h"
#include "panel/AudioControl.h"
#include "panel/ChannelMap.h"
#include "panel/MixerRules.h"
#include "tests/panel/FakeMixer.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

// The categories the mixer window acts on; every other one is ignored.
constexpr uint8_t kNotificationVolume = 3;
constexpr uint8_t kNotificationMute = 4;

class Input {
public:
    Input(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}
    bool Empty() const { return m_pos >= m_size; }
    uint8_t Byte() { return m_pos < m_size ? m_data[m_pos++] : 0; }
    void Bytes(void* target, size_t count)
    {
        auto* out = static_cast<uint8_t*>(target);
        for (size_t i = 0; i < count; ++i)
            out[i] = Byte();
    }

private:
    const uint8_t* m_data;
    size_t m_size;
    size_t m_pos = 0;
};

// The controls whose values must stay within their scales, looked up once
// per input: the checks run after every step.
class ShownControls {
public:
    explicit ShownControls(FakeWidgets& widgets)
    {
        for (const MixerFader& fader : ChannelMap::Faders())
            m_faders.push_back(&FakeEntry(widgets.faders, fader.name));
        for (const GainKnob& knob : ChannelMap::Knobs())
            m_knobs.push_back(
                {&FakeEntry(widgets.knobs, knob.name), &FakeEntry(widgets.labels, knob.label)});
    }

    void Check() const
    {
        for (const FakeFader* fader : m_faders)
            fuzz::Check(std::isfinite(fader->value) && fader->value >= 0.0 &&
                        fader->value <= 100.0);
        for (const auto& [knob, label] : m_knobs) {
            const double step = knob->value;
            fuzz::Check(step >= 0 && step <= 15 && step == std::floor(step));
            fuzz::Check(label->text == MixerRules::GainLabelText(static_cast<int>(step)));
        }
    }

private:
    std::vector<const FakeFader*> m_faders;
    std::vector<std::pair<const FakeKnob*, const FakeLabel*>> m_knobs;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Input input(data, size);
    FakeWidgets widgets;
    FakeDevice device;
    MixerRules rules(widgets, device);
    const ShownControls controls(widgets);
    input.Bytes(&device.range[0], sizeof(VolumeMuteInfo));
    input.Bytes(&device.range[1], sizeof(VolumeMuteInfo));
    // Controls as a connect leaves them: the device faders match the zero
    // block the rules start from, the gain labels their knobs.
    for (const GainKnob& knob : ChannelMap::Knobs())
        FakeEntry(widgets.labels, knob.label).text = MixerRules::GainLabelText(1);
    for (const DeviceFader& fader : ChannelMap::DeviceFaders()) {
        FakeFader& shown = FakeEntry(widgets.faders, fader.name);
        shown.value = 0;
        shown.maximum = 0;
    }

    // A few hundred steps per input find as much as thousands, much faster.
    bool check = false;
    for (int step = 0; step < 256 && !input.Empty(); ++step) {
        const uint8_t op = input.Byte();
        const bool isInput = (op & 8) != 0;
        // Setting up the device's answers shows nothing: check after the rest.
        if (op % 8 != 0 && op % 8 != 1 && op % 8 != 2 && op % 8 != 6)
            check = true;
        switch (op % 8) {
        case 0: {
            int16_t volume = 0;
            input.Bytes(&volume, sizeof(volume));
            device.volumes[isInput][input.Byte() % 9] = volume;
            break;
        }
        case 1:
            device.mutes[isInput][input.Byte() % 9] = (op & 16) != 0;
            break;
        case 2: {
            const uint8_t selectors[] = {AudioControl::kPhantomPower, AudioControl::kInvert,
                                         AudioControl::kPreampGain, AudioControl::kDeviceVolume};
            std::vector<uint8_t>& bytes = device.controls[selectors[(op >> 3) % 4]];
            bytes.resize(input.Byte() % 10);
            input.Bytes(bytes.data(), bytes.size());
            break;
        }
        case 3: {
            const uint8_t category = input.Byte();
            if (category == kNotificationVolume)
                rules.ShowVolumes();
            else if (category == kNotificationMute)
                rules.ShowMutes();
            break;
        }
        case 4:
            if (rules.PollDeviceVolumes()) {
                const DeviceVolumeBlock& block = rules.LastDeviceVolumeBlock();
                for (const DeviceFader& fader : ChannelMap::DeviceFaders()) {
                    const FakeFader& shown = FakeEntry(widgets.faders, fader.name);
                    fuzz::Check(
                        shown.value == block.bytes[DeviceVolumeBlock::LevelByte(fader.index)] &&
                        shown.maximum == block.bytes[DeviceVolumeBlock::TopByte(fader.index)]);
                }
            }
            break;
        case 5:
            rules.ShowGains();
            rules.ShowSwitches();
            break;
        case 6:
            device.failReads = (op & 16) != 0;
            device.open = (op & 32) == 0;
            break;
        default: {
            const auto faders = ChannelMap::Faders();
            const MixerFader& fader = faders[input.Byte() % faders.size()];
            rules.OnFaderMoved(fader.name, input.Byte() * 100.0 / 255.0);
            break;
        }
        }
        if (check)
            controls.Check();
        check = false;
    }
    return 0;
}
