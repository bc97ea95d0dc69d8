#include "panel/ControlValue.h"

#include <algorithm>
#include <cwctype>

#include "device/VolumeScale.h"
#include "panel/ChannelMap.h"
#include "panel/DecimalText.h"

namespace {

std::wstring Lower(std::wstring_view text)
{
    std::wstring lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](wchar_t c) { return static_cast<wchar_t>(std::towlower(c)); });
    return lower;
}

bool IsSwitch(ControlKind kind)
{
    return kind == ControlKind::kMute || kind == ControlKind::kLock ||
           kind == ControlKind::kInvert || kind == ControlKind::kPhantomPower;
}

std::optional<double> ParseSwitch(std::wstring_view text)
{
    const std::wstring word = Lower(text);
    if (word == L"on" || word == L"1" || word == L"true")
        return 1.0;
    if (word == L"off" || word == L"0" || word == L"false")
        return 0.0;
    return std::nullopt;
}

std::optional<double> ParseFaderDb(std::wstring_view text)
{
    const std::wstring word = Lower(text);
    // The fader's ends: the table's bottom (-127 dB) and its top (0 dB).
    if (word == L"min")
        return Scene::DbFromVolume(VolumeScale::TableVolume(0));
    if (word == L"max")
        return Scene::DbFromVolume(VolumeScale::TableVolume(VolumeScale::kTablePoints - 1));
    std::wstring_view number = text;
    if (word.size() > 2 && word.compare(word.size() - 2, 2, L"db") == 0)
        number.remove_suffix(2);
    const std::optional<double> db = ParseDecimal(number);
    if (!db || *db < Scene::kLowestDb || *db > Scene::kHighestDb)
        return std::nullopt;
    return db;
}

std::optional<double> ParseWhole(std::wstring_view text, double low, double high)
{
    const std::wstring word = Lower(text);
    if (word == L"min")
        return low;
    if (word == L"max")
        return high;
    const std::optional<double> value = ParseDecimal(text);
    if (!value || *value != static_cast<double>(static_cast<long long>(*value)) || *value < 0 ||
        *value > 255)
        return std::nullopt;
    return value;
}

} // namespace

std::wstring ControlValue::Parse(std::wstring_view assignment, Scene& changes)
{
    const size_t equals = assignment.find(L'=');
    if (equals == std::wstring_view::npos)
        return L"'" + std::wstring(assignment) + L"' is not NAME=VALUE";
    const std::wstring_view name = assignment.substr(0, equals);
    const std::wstring_view text = assignment.substr(equals + 1);
    const MixerControl* control = ChannelMap::FindControl(name);
    if (control == nullptr)
        return L"there is no control named '" + std::wstring(name) + L"' (see kvctl get)";
    if (control->kind == ControlKind::kPhantomPower) {
        return std::wstring(name) +
               L" (48 V phantom power) is never switched from here: it can harm ribbon "
               L"microphones";
    }
    if (changes.Has(name))
        return std::wstring(name) + L" is given twice";
    std::optional<double> value;
    const wchar_t* expected = L"";
    switch (control->kind) {
    case ControlKind::kFader:
        value = ParseFaderDb(text);
        expected = L"a level in dB from -128 to 127.99 (-14dB, -14, min or max)";
        break;
    case ControlKind::kDeviceVolume:
        value = ParseWhole(text, 0, 255);
        expected = L"a level from 0 to 255 (or min, max)";
        break;
    case ControlKind::kGain:
        value = ParseWhole(text, ChannelMap::kGainMin, ChannelMap::kGainMax);
        if (value && *value > 15)
            value.reset();
        expected = L"a gain step from 3 to 9 (or min, max)";
        break;
    default:
        value = ParseSwitch(text);
        expected = L"on or off";
    }
    if (!value)
        return std::wstring(name) + L": '" + std::wstring(text) + L"' is not " + expected;
    changes.Set(name, *value);
    return {};
}

std::wstring ControlValue::Text(const MixerControl& control, double value)
{
    if (IsSwitch(control.kind))
        return value != 0.0 ? L"on" : L"off";
    if (control.kind == ControlKind::kFader)
        return FormatDecimal(value) + L"dB";
    return FormatDecimal(value);
}

std::wstring ControlValue::Json(const MixerControl& control, double value)
{
    if (IsSwitch(control.kind))
        return value != 0.0 ? L"true" : L"false";
    return FormatDecimal(value);
}
