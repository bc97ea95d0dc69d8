#include "ui/markup/ColorText.h"

#include <algorithm>

namespace ui {

uint32_t ColorText::Parse(std::wstring_view value)
{
    uint64_t result = 0;
    for (size_t pos = 1; pos < value.size(); ++pos) {
        const wchar_t c = value[pos];
        int digit = 0;
        if (c >= L'0' && c <= L'9') {
            digit = c - L'0';
        } else if (c >= L'a' && c <= L'f') {
            digit = c - L'a' + 10;
        } else if (c >= L'A' && c <= L'F') {
            digit = c - L'A' + 10;
        } else {
            break;
        }
        result = std::min<uint64_t>(result * 16 + digit, 0xFFFFFFFFu);
    }
    return static_cast<uint32_t>(result);
}

} // namespace ui
