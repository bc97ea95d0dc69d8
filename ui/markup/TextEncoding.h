#pragma once

#include <string>
#include <string_view>

namespace ui {

// Conversions between UTF-8 bytes and the framework's wide strings. On
// Windows a wide string holds UTF-16 (supplementary characters become
// surrogate pairs); where wchar_t is 32 bits wide it holds code points.
// Malformed input bytes become U+FFFD, like the system converter does.
class TextEncoding {
public:
    static std::wstring Utf8ToWide(std::string_view utf8);
    static std::string WideToUtf8(std::wstring_view wide);
};

} // namespace ui
