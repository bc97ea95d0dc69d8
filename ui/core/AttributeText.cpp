#include "ui/core/AttributeText.h"

#include "ui/core/SizeRequest.h"

#include <algorithm>
#include <limits>

namespace ui {

namespace {

bool IsBlank(wchar_t c)
{
    return c == L' ' || (c >= L'\t' && c <= L'\r');
}

} // namespace

int32_t AttributeText::ParseInt(std::wstring_view text, size_t* consumed)
{
    size_t pos = 0;
    while (pos < text.size() && IsBlank(text[pos]))
        ++pos;
    bool negative = false;
    if (pos < text.size() && (text[pos] == L'+' || text[pos] == L'-')) {
        negative = text[pos] == L'-';
        ++pos;
    }
    const size_t digitsStart = pos;
    int64_t value = 0;
    constexpr int64_t kLimit = int64_t{std::numeric_limits<int32_t>::max()} + 1;
    while (pos < text.size() && text[pos] >= L'0' && text[pos] <= L'9') {
        value = std::min(value * 10 + (text[pos] - L'0'), kLimit);
        ++pos;
    }
    if (pos == digitsStart) {
        if (consumed)
            *consumed = 0;
        return 0;
    }
    if (consumed)
        *consumed = pos;
    if (negative)
        return static_cast<int32_t>(-value);
    return static_cast<int32_t>(std::min(value, kLimit - 1));
}

UiRect AttributeText::ParseRect(std::wstring_view text)
{
    int32_t values[4] = {};
    size_t pos = 0;
    for (int i = 0; i < 4 && pos < text.size(); ++i) {
        size_t consumed = 0;
        values[i] = ParseInt(text.substr(pos), &consumed);
        // The next number starts one character after this one ended (the
        // separator); never past the end of the text.
        pos += consumed + 1;
    }
    return UiRect(values[0], values[1], values[2], values[3]);
}

UiSize AttributeText::ParseSize(std::wstring_view text)
{
    const UiRect rect = ParseRect(text);
    return UiSize(rect.left, rect.top);
}

UiPoint AttributeText::ParsePoint(std::wstring_view text)
{
    const UiRect rect = ParseRect(text);
    return UiPoint(rect.left, rect.top);
}

std::optional<int32_t> AttributeText::ParseSizeKeyword(std::wstring_view text)
{
    if (text == L"stretch")
        return kSizeStretch;
    if (text == L"auto")
        return kSizeAuto;
    return std::nullopt;
}

void AttributeText::ForEachPair(std::wstring_view list, const PairVisitor& visit)
{
    size_t pos = 0;
    while (pos < list.size()) {
        const size_t equals = list.find(L'=', pos);
        if (equals == std::wstring_view::npos)
            return;
        const std::wstring name(list.substr(pos, equals - pos));
        pos = equals + 1;
        if (pos >= list.size() || list[pos] != L'"')
            return;
        ++pos;
        const size_t closing = list.find(L'"', pos);
        if (closing == std::wstring_view::npos)
            return;
        const std::wstring value(list.substr(pos, closing - pos));
        pos = closing + 1;
        visit(name, value);
        if (pos >= list.size())
            return;
        // Exactly one blank, and something after it.
        if (list[pos] != L' ' || pos + 1 >= list.size())
            return;
        ++pos;
    }
}

std::vector<std::wstring> AttributeText::SplitWords(std::wstring_view text)
{
    std::vector<std::wstring> words;
    size_t pos = 0;
    while (pos <= text.size()) {
        size_t end = text.find(L' ', pos);
        if (end == std::wstring_view::npos)
            end = text.size();
        if (end > pos)
            words.emplace_back(text.substr(pos, end - pos));
        pos = end + 1;
    }
    return words;
}

std::wstring_view AttributeText::SkipLeadingBlanks(std::wstring_view text)
{
    size_t pos = 0;
    while (pos < text.size() && text[pos] <= L' ')
        ++pos;
    return text.substr(pos);
}

std::wstring AttributeText::ExpandLineBreaks(std::wstring_view text)
{
    std::wstring result;
    result.reserve(text.size());
    size_t pos = 0;
    while (pos < text.size()) {
        const size_t mark = text.find(L"<n>", pos);
        if (mark == std::wstring_view::npos) {
            result.append(text.substr(pos));
            break;
        }
        result.append(text.substr(pos, mark - pos));
        result.append(L"\r\n");
        pos = mark + 3;
    }
    return result;
}

} // namespace ui
