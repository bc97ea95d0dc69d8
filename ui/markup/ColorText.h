#pragma once

#include <cstdint>
#include <string_view>

namespace ui {

// Colour values of the skin's TextColor entries, "#AARRGGBB".
// Platform-independent.
class ColorText {
public:
    // The first character (the "#") is skipped whatever it is; then
    // hexadecimal digits up to the first other character. More than eight
    // digits saturate at 0xFFFFFFFF; no digits give 0.
    static uint32_t Parse(std::wstring_view value);
};

} // namespace ui
