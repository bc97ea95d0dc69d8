#pragma once

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "device/VolumeMuteInfo.h"
#include "device/VolumeScale.h"
#include "panel/FaderWidget.h"
#include "panel/KnobWidget.h"
#include "panel/LabelWidget.h"
#include "panel/MixerDevice.h"
#include "panel/MixerWidgets.h"
#include "panel/SwitchWidget.h"

// Plain controls that remember what the rules wrote into them.
struct FakeFader : FaderWidget {
    double value = 44;
    double maximum = 44;
    bool enabled = true;
    std::wstring image;
    double Value() const override { return value; }
    void ShowValue(double v) override { value = v; }
    void SetMaxValue(double m) override { maximum = m; }
    void SetEnabled(bool e) override { enabled = e; }
    void SetBackgroundImage(const std::wstring& i) override { image = i; }
};

struct FakeSwitch : SwitchWidget {
    bool selected = false;
    bool IsSelected() const override { return selected; }
    void ShowSelected(bool s) override { selected = s; }
};

struct FakeKnob : KnobWidget {
    double value = 1;
    void ShowValue(double v) override { value = v; }
};

struct FakeLabel : LabelWidget {
    std::wstring text = L"3DB";
    void SetText(const std::wstring& t) override { text = t; }
};

// The entry of that name, created on first use; a lookup allocates nothing.
template <typename Map>
typename Map::mapped_type& FakeEntry(Map& map, std::wstring_view name)
{
    const auto found = map.find(name);
    return found != map.end() ? found->second : map.try_emplace(std::wstring(name)).first->second;
}

// Every control of the mixer skin, created on first use.
struct FakeWidgets : MixerWidgets {
    std::map<std::wstring, FakeFader, std::less<>> faders;
    std::map<std::wstring, FakeSwitch, std::less<>> switches;
    std::map<std::wstring, FakeKnob, std::less<>> knobs;
    std::map<std::wstring, FakeLabel, std::less<>> labels;
    FaderWidget* Fader(std::wstring_view n) override { return &FakeEntry(faders, n); }
    SwitchWidget* Switch(std::wstring_view n) override { return &FakeEntry(switches, n); }
    KnobWidget* Knob(std::wstring_view n) override { return &FakeEntry(knobs, n); }
    LabelWidget* Label(std::wstring_view n) override { return &FakeEntry(labels, n); }
};

// A device model: volumes and mutes per channel, entity-10 bytes per
// selector, and a log of every request in the order it was made.
struct FakeDevice : MixerDevice {
    bool open = true;
    VolumeMuteInfo range[2] = {{0, -127 * 256, 0, 256, {}}, {0, -127 * 256, 0, 256, {}}};
    int16_t volumes[2][9] = {};
    bool mutes[2][9] = {};
    bool failReads = false;
    std::string failedMuteRead; // the one channel whose mute cannot be read, e.g. "out3"
    std::vector<std::string> muteReads;
    std::map<uint8_t, std::vector<uint8_t>> controls;
    std::vector<std::string> log;

    bool IsOpen() const override { return open; }
    double Quantise(double p, bool in) const override
    {
        if (!open)
            return 0.0;
        return VolumeScale::VolumeToPosition(VolumeScale::PositionToVolume(p, range[in]),
                                             range[in]);
    }
    double VolumeToPosition(int16_t v, bool in) const override
    {
        return open ? VolumeScale::VolumeToPosition(v, range[in]) : 0.0;
    }
    // Like the device manager: nothing is sent without a usable range.
    bool SetVolumePosition(double p, uint32_t ch, bool in) override
    {
        if (!open)
            return true;
        if (!VolumeScale::IsUsable(range[in]))
            return false;
        volumes[in][ch] = VolumeScale::PositionToVolume(p, range[in]);
        log.push_back(Name(in, ch) + " volume " + std::to_string(volumes[in][ch]));
        return true;
    }
    void SetMute(bool in, uint32_t ch, bool m) override
    {
        if (!open)
            return;
        mutes[in][ch] = m;
        log.push_back(Name(in, ch) + " mute " + std::to_string(m));
    }
    bool GetVolume(bool in, uint32_t ch, int16_t& v) override
    {
        if (!open || failReads)
            return false;
        v = volumes[in][ch];
        return true;
    }
    bool GetMute(bool in, uint32_t ch, bool& m) override
    {
        muteReads.push_back(Name(in, ch));
        if (!open || failReads || failedMuteRead == Name(in, ch))
            return false;
        m = mutes[in][ch];
        return true;
    }
    void ControlSet(uint8_t selector, const uint8_t* bytes, uint32_t length) override
    {
        if (!open)
            return;
        std::string line = "set " + std::to_string(selector);
        for (uint32_t i = 0; i < length; ++i)
            line += " " + std::to_string(bytes[i]);
        log.push_back(line);
    }
    bool ControlGet(uint8_t selector, uint8_t* buffer, uint32_t length) override
    {
        auto it = controls.find(selector);
        if (!open || failReads || it == controls.end() || it->second.size() < length)
            return false;
        std::copy_n(it->second.begin(), length, buffer);
        return true;
    }
    static std::string Name(bool in, uint32_t ch)
    {
        return std::string(in ? "in" : "out") + std::to_string(ch);
    }
};
