#include "app/kvctl/KvctlOutput.h"

#include "panel/ChannelMap.h"
#include "panel/ControlValue.h"

std::wstring KvctlOutput::String(std::wstring_view text)
{
    std::wstring quoted = L"\"";
    for (const wchar_t c : text) {
        switch (c) {
        case L'"':
            quoted += L"\\\"";
            break;
        case L'\\':
            quoted += L"\\\\";
            break;
        case L'\n':
            quoted += L"\\n";
            break;
        case L'\r':
            quoted += L"\\r";
            break;
        case L'\t':
            quoted += L"\\t";
            break;
        default:
            if (c < 0x20) {
                constexpr wchar_t kHex[] = L"0123456789abcdef";
                quoted += L"\\u00";
                quoted += kHex[c >> 4];
                quoted += kHex[c & 15];
            } else {
                quoted += c;
            }
        }
    }
    return quoted + L"\"";
}

std::wstring KvctlOutput::Object(const std::vector<std::pair<std::wstring, std::wstring>>& members)
{
    std::wstring text = L"{";
    for (const auto& [key, value] : members) {
        text += (text.size() > 1 ? L", " : L"") + String(key) + L": " + value;
    }
    return text + L"}\n";
}

std::wstring KvctlOutput::Values(const Scene& scene, const std::vector<std::wstring>& names,
                                 bool json)
{
    std::vector<const MixerControl*> shown;
    if (names.empty()) {
        for (const MixerControl& control : ChannelMap::Controls())
            shown.push_back(&control);
    } else {
        for (const std::wstring& name : names)
            shown.push_back(ChannelMap::FindControl(name));
    }
    std::vector<std::pair<std::wstring, std::wstring>> members;
    std::wstring text;
    for (const MixerControl* control : shown) {
        const double* value = control != nullptr ? scene.Find(control->name) : nullptr;
        if (value == nullptr)
            continue;
        const std::wstring name(control->name);
        if (json)
            members.emplace_back(name, ControlValue::Json(*control, *value));
        else
            text += name + L"=" + ControlValue::Text(*control, *value) + L"\n";
    }
    return json ? Object(members) : text;
}

std::wstring KvctlOutput::Help()
{
    return L"kvctl: the KorVane Controls mixer from a console\n"
           L"\n"
           L"usage: kvctl [--json] COMMAND [ARGUMENTS]\n"
           L"\n"
           L"  status             the driver, its API version, the device and its USB mode\n"
           L"  get [NAME...]      the values of the named controls (every control without names)\n"
           L"  set NAME=VALUE...  changes controls as the mixer's own controls would; nothing\n"
           L"                     is sent unless every NAME=VALUE is valid\n"
           L"  save FILE          saves the mixer as a scene\n"
           L"  load FILE          recalls a scene: locks, levels, mutes, device volumes,\n"
           L"                     gains and invert, in that order (never phantom power)\n"
           L"  --json             prints one JSON object instead of text\n"
           L"  --help             this text\n"
           L"\n"
           L"Names are the mixer's control names (kvctl get lists them), for example:\n"
           L"  kvctl set input_mic1=-14dB output_ear_mute=on mic2amp=9 device_HP=80\n"
           L"Fader levels: -14dB, -14, min or max (quantised as a drag would be);\n"
           L"switches: on or off (a lock on moves the stereo pair together);\n"
           L"device volumes: 0..255; gain steps: 3..9.\n"
           L"\n"
           L"Exit codes: 0 done, 2 driver not found, 3925868640 (0xEE000060) driver\n"
           L"version not supported, 3 no device, 4 bad arguments or file.\n";
}
