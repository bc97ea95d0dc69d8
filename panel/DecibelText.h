#pragma once

#include <cstdint>
#include <string>

// A driver volume (1/256 dB) as users read it: "-14 dB", "-0.5 dB", "0 dB".
std::wstring DecibelText(int16_t volume);
