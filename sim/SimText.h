#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Text helpers of the simulator: every string is a std::wstring inside and
// UTF-8 only in files.
namespace SimText {

// printf-style formatting of numbers; the format must not insert strings.
std::wstring Format(const char* format, ...);
std::string ToUtf8(std::wstring_view text);
// Invalid sequences become U+FFFD.
std::wstring FromUtf8(std::string_view text);
// A decimal number with an optional sign, or 0x followed by hexadecimal digits.
std::optional<int64_t> ParseNumber(std::wstring_view text);

} // namespace SimText
