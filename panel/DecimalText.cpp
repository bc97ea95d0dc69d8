#include "panel/DecimalText.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace {

bool IsDigit(wchar_t c)
{
    return c >= L'0' && c <= L'9';
}

// Far more digits than any level needs; longer texts are not levels.
constexpr size_t kMaxLength = 40;

} // namespace

std::optional<double> ParseDecimal(std::wstring_view text)
{
    if (text.empty() || text.size() > kMaxLength)
        return std::nullopt;
    std::string ascii;
    size_t i = 0;
    if (text[0] == L'-' || text[0] == L'+') {
        if (text[0] == L'-')
            ascii += '-';
        ++i;
    }
    const size_t digitsStart = i;
    while (i < text.size() && IsDigit(text[i]))
        ascii += static_cast<char>(text[i++]);
    if (i == digitsStart)
        return std::nullopt;
    if (i < text.size() && text[i] == L'.') {
        ascii += '.';
        const size_t fractionStart = ++i;
        while (i < text.size() && IsDigit(text[i]))
            ascii += static_cast<char>(text[i++]);
        if (i == fractionStart)
            return std::nullopt;
    }
    if (i != text.size())
        return std::nullopt;
    double value = 0.0;
    const auto [end, error] = std::from_chars(ascii.data(), ascii.data() + ascii.size(), value);
    if (error != std::errc() || end != ascii.data() + ascii.size() || !std::isfinite(value))
        return std::nullopt;
    return value == 0.0 ? 0.0 : value; // no "-0"
}

std::wstring FormatDecimal(double value)
{
    char buffer[64] = {};
    std::snprintf(buffer, sizeof buffer, "%.8f", value);
    std::string text(buffer);
    if (text.find('.') != std::string::npos) {
        while (text.back() == '0')
            text.pop_back();
        if (text.back() == '.')
            text.pop_back();
    }
    if (text == "-0")
        text = "0";
    return std::wstring(text.begin(), text.end());
}
