#pragma once

#include <string>
#include <string_view>

#include "panel/Scene.h"

struct MixerControl;

// Control values as the console tool reads and writes them: faders in dB
// ("-14dB", "-14", "min", "max"), switches "on"/"off", device-volume levels
// 0..255 and gain steps as numbers ("min"/"max" too). A lock "on" means the
// stereo pair moves together.
namespace ControlValue {

// Parses "NAME=VALUE" into `changes`. Returns what is wrong, or "" when the
// assignment is valid: a known, settable control not named before, with a
// value of its kind.
std::wstring Parse(std::wstring_view assignment, Scene& changes);
// "-14dB", "on", "50", "3".
std::wstring Text(const MixerControl& control, double value);
// The same as a JSON value: -14, true, 50, 3.
std::wstring Json(const MixerControl& control, double value);

} // namespace ControlValue
