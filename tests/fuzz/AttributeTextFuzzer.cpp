// Attribute values of the skin: numbers, rectangles, sizes, points, colours,
// name="value" lists, word lists and line-break marks. Whatever is read must
// lie within the text and read the same again once written back.
#include "tests/fuzz/FuzzCheck.h"
#include "ui/core/AttributeText.h"
#include "ui/markup/ColorText.h"
#include "ui/markup/TextEncoding.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

namespace {

using fuzz::Check;
using fuzz::Format;

void CheckNumbers(std::wstring_view text)
{
    using ui::AttributeText;
    size_t consumed = SIZE_MAX;
    const int32_t number = AttributeText::ParseInt(text, &consumed);
    Check(consumed <= text.size() && (consumed > 0 || number == 0));
    Check(AttributeText::ParseInt(std::to_wstring(number)) == number);

    const ui::UiRect rect = AttributeText::ParseRect(text);
    Check(AttributeText::ParseRect(Format(rect)) == rect);
    const ui::UiSize size = AttributeText::ParseSize(text);
    const ui::UiPoint point = AttributeText::ParsePoint(text);
    Check(size.cx == rect.left && size.cy == rect.top && point.x == rect.left &&
          point.y == rect.top);
}

void CheckColour(std::wstring_view text)
{
    const uint32_t colour = ui::ColorText::Parse(text);
    wchar_t written[16] = {};
    std::swprintf(written, 16, L"#%08X", static_cast<unsigned>(colour));
    Check(ui::ColorText::Parse(written) == colour);
    if (text.size() <= 1)
        Check(colour == 0);
}

void CheckLists(std::wstring_view text)
{
    using ui::AttributeText;
    std::vector<std::pair<std::wstring, std::wstring>> pairs;
    AttributeText::ForEachPair(text, [&](const std::wstring& name, const std::wstring& value) {
        Check(name.find(L'=') == std::wstring::npos && value.find(L'"') == std::wstring::npos);
        pairs.emplace_back(name, value);
    });
    std::wstring written;
    for (const auto& [name, value] : pairs)
        written += (written.empty() ? L"" : L" ") + name + L"=\"" + value + L"\"";
    Check(written.size() <= text.size());
    std::vector<std::pair<std::wstring, std::wstring>> again;
    AttributeText::ForEachPair(written, [&](const std::wstring& name, const std::wstring& value) {
        again.emplace_back(name, value);
    });
    Check(again == pairs);

    const std::vector<std::wstring> words = AttributeText::SplitWords(text);
    std::wstring joined;
    for (const std::wstring& word : words) {
        Check(!word.empty() && word.find(L' ') == std::wstring::npos);
        joined += (joined.empty() ? L"" : L" ") + word;
    }
    Check(joined.size() <= text.size() && AttributeText::SplitWords(joined) == words);

    const std::wstring_view rest = AttributeText::SkipLeadingBlanks(text);
    Check(text.ends_with(rest) && (rest.empty() || rest.front() > L' '));

    const std::wstring expanded = AttributeText::ExpandLineBreaks(text);
    size_t marks = 0;
    for (size_t at = text.find(L"<n>"); at != std::wstring_view::npos;
         at = text.find(L"<n>", at + 3))
        ++marks;
    Check(expanded.find(L"<n>") == std::wstring::npos && expanded.size() == text.size() - marks);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::wstring text =
        ui::TextEncoding::Utf8ToWide({reinterpret_cast<const char*>(data), size});
    CheckNumbers(text);
    CheckColour(text);
    CheckLists(text);
    // The same readers on every comma-separated piece, as attribute values
    // are often handed on piece by piece.
    for (size_t start = 0; start < text.size();) {
        size_t end = text.find(L',', start);
        if (end == std::wstring::npos)
            end = text.size();
        CheckNumbers(std::wstring_view(text).substr(start, end - start));
        start = end + 1;
    }
    return 0;
}
