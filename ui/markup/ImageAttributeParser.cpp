#include "ui/markup/ImageAttributeParser.h"

#include <climits>

namespace ui {
namespace {

bool IsBlank(wchar_t c)
{
    return static_cast<unsigned>(c) <= 32;
}

size_t SkipBlanks(const std::wstring& text, size_t pos)
{
    while (pos < text.size() && IsBlank(text[pos]))
        ++pos;
    return pos;
}

} // namespace

std::vector<ImageAttributeParser::Pair> ImageAttributeParser::ParsePairs(const std::wstring& text)
{
    std::vector<Pair> pairs;
    size_t pos = SkipBlanks(text, 0);
    while (pos < text.size()) {
        const size_t keyStart = pos;
        while (pos < text.size() && text[pos] != L'=' && !IsBlank(text[pos]))
            ++pos;
        std::wstring key = text.substr(keyStart, pos - keyStart);

        pos = SkipBlanks(text, pos);
        if (pos >= text.size() || text[pos] != L'=')
            break;
        pos = SkipBlanks(text, pos + 1);
        if (pos >= text.size() || text[pos] != L'\'')
            break;
        const size_t valueStart = pos + 1;
        const size_t valueEnd = text.find(L'\'', valueStart);
        if (valueEnd == std::wstring::npos)
            break;
        pairs.emplace_back(std::move(key), text.substr(valueStart, valueEnd - valueStart));

        pos = valueEnd + 1;
        if (pos + 1 >= text.size() || !IsBlank(text[pos]))
            break;
        pos = SkipBlanks(text, pos + 1);
    }
    return pairs;
}

int ImageAttributeParser::ParseInt(const std::wstring& text, size_t start, size_t* end)
{
    size_t pos = start;
    while (pos < text.size() && (text[pos] == L' ' || (text[pos] >= L'\t' && text[pos] <= L'\r')))
        ++pos;
    bool negative = false;
    if (pos < text.size() && (text[pos] == L'+' || text[pos] == L'-')) {
        negative = text[pos] == L'-';
        ++pos;
    }
    const size_t digitsStart = pos;
    long long value = 0;
    while (pos < text.size() && text[pos] >= L'0' && text[pos] <= L'9') {
        if (value <= INT_MAX)
            value = value * 10 + (text[pos] - L'0');
        ++pos;
    }
    if (pos == digitsStart) {
        if (end != nullptr)
            *end = start;
        return 0;
    }
    if (end != nullptr)
        *end = pos;
    if (negative)
        value = -value;
    if (value > INT_MAX)
        return INT_MAX;
    if (value < INT_MIN)
        return INT_MIN;
    return static_cast<int>(value);
}

UiRect ImageAttributeParser::ParseRect(const std::wstring& text)
{
    int numbers[4] = {};
    size_t pos = 0;
    for (int& number : numbers) {
        // Reading stops at the end of the text: the numbers still missing
        // stay 0.
        if (pos > text.size())
            break;
        size_t end = pos;
        number = ParseInt(text, pos, &end);
        pos = end + 1;
    }
    return UiRect(numbers[0], numbers[1], numbers[2], numbers[3]);
}

} // namespace ui
