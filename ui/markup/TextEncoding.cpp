#include "ui/markup/TextEncoding.h"

#include <cstdint>
#include <type_traits>

namespace ui {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

wchar_t* PutCodePoint(wchar_t* out, char32_t cp)
{
    if constexpr (sizeof(wchar_t) == 2) {
        if (cp >= 0x10000) {
            cp -= 0x10000;
            *out++ = static_cast<wchar_t>(0xD800 + (cp >> 10));
            *out++ = static_cast<wchar_t>(0xDC00 + (cp & 0x3FF));
            return out;
        }
    }
    *out++ = static_cast<wchar_t>(cp);
    return out;
}

bool IsContinuation(unsigned char c)
{
    return (c & 0xC0) == 0x80;
}

// Decodes one sequence starting at in[i]; advances i over it. A malformed
// sequence consumes its lead byte and the valid continuation bytes that
// follow, and yields one replacement character.
char32_t DecodeOne(std::string_view in, size_t& i)
{
    const auto lead = static_cast<unsigned char>(in[i++]);
    if (lead < 0x80) {
        return lead;
    }
    size_t length = 0;
    char32_t cp = 0;
    char32_t minimum = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 1, cp = lead & 0x1F, minimum = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 2, cp = lead & 0x0F, minimum = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 3, cp = lead & 0x07, minimum = 0x10000;
    } else {
        return kReplacement;
    }
    size_t taken = 0;
    while (taken < length && i < in.size() && IsContinuation(static_cast<unsigned char>(in[i]))) {
        cp = (cp << 6) | (static_cast<unsigned char>(in[i]) & 0x3F);
        ++i;
        ++taken;
    }
    if (taken != length || cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        return kReplacement;
    }
    return cp;
}

void AppendUtf8(std::string& out, char32_t cp)
{
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

} // namespace

std::wstring TextEncoding::Utf8ToWide(std::string_view utf8)
{
    // No sequence yields more code units than it has bytes.
    std::wstring out(utf8.size(), L'\0');
    wchar_t* next = out.data();
    size_t i = 0;
    while (i < utf8.size()) {
        // Runs of ASCII, by far the most common input, skip the decoder.
        while (i < utf8.size() && static_cast<unsigned char>(utf8[i]) < 0x80) {
            *next++ = static_cast<wchar_t>(utf8[i++]);
        }
        if (i < utf8.size()) {
            next = PutCodePoint(next, DecodeOne(utf8, i));
        }
    }
    out.resize(static_cast<size_t>(next - out.data()));
    return out;
}

std::string TextEncoding::WideToUtf8(std::wstring_view wide)
{
    std::string out;
    out.reserve(wide.size());
    for (size_t i = 0; i < wide.size(); ++i) {
        auto cp = static_cast<char32_t>(static_cast<std::make_unsigned_t<wchar_t>>(wide[i]));
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < wide.size()) {
            const auto low =
                static_cast<char32_t>(static_cast<std::make_unsigned_t<wchar_t>>(wide[i + 1]));
            if (low >= 0xDC00 && low <= 0xDFFF) {
                cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
                ++i;
            }
        }
        if ((cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF) {
            cp = kReplacement;
        }
        AppendUtf8(out, cp);
    }
    return out;
}

} // namespace ui
