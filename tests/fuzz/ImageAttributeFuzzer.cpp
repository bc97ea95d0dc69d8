// Image attribute strings ("file='a.png' corner='4,4,4,4'"): the pairs the
// grammar accepts must be pieces of the text, written back they must parse
// the same, and the numbers of a rectangle must survive formatting.
#include "tests/fuzz/FuzzCheck.h"
#include "ui/markup/ImageAttributeParser.h"
#include "ui/markup/TextEncoding.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

using fuzz::Check;
using fuzz::Format;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using ui::ImageAttributeParser;
    const std::wstring text =
        ui::TextEncoding::Utf8ToWide({reinterpret_cast<const char*>(data), size});

    const auto pairs = ImageAttributeParser::ParsePairs(text);
    std::wstring written;
    size_t from = 0;
    for (const auto& [key, value] : pairs) {
        Check(key.find(L'=') == std::wstring::npos && value.find(L'\'') == std::wstring::npos);
        for (const wchar_t c : key)
            Check(static_cast<unsigned>(c) > 32);
        // Each pair stands in the text after the one before it.
        const size_t keyAt = text.find(key, from);
        Check(keyAt != std::wstring::npos);
        const size_t valueAt = text.find(L'\'' + value + L'\'', keyAt + key.size());
        Check(valueAt != std::wstring::npos);
        from = valueAt + value.size() + 2;
        written += (written.empty() ? L"" : L" ") + key + L"='" + value + L"'";
    }
    Check(ImageAttributeParser::ParsePairs(written) == pairs);

    for (const auto& [key, value] : pairs) {
        const ui::UiRect rect = ImageAttributeParser::ParseRect(value);
        Check(ImageAttributeParser::ParseRect(Format(rect)) == rect);
    }
    const ui::UiRect rect = ImageAttributeParser::ParseRect(text);
    Check(ImageAttributeParser::ParseRect(Format(rect)) == rect);

    for (size_t start = 0; start <= text.size(); start += 1 + start / 4) {
        size_t end = SIZE_MAX;
        const int number = ImageAttributeParser::ParseInt(text, start, &end);
        Check(end >= start && end <= text.size() && (end > start || number == 0));
        size_t again = 0;
        Check(ImageAttributeParser::ParseInt(std::to_wstring(number), 0, &again) == number);
    }
    return 0;
}
