// Loads arbitrary bytes as a language string table and looks up ids taken
// from the input itself.
#include "ui/markup/LanguageStrings.h"
#include "ui/markup/TextEncoding.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    ui::LanguageStrings strings;
    strings.LoadFromMemory(data, size);
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    for (size_t start = 0; start < text.size();) {
        const size_t end = text.find('=', start);
        strings.GetStringById(ui::TextEncoding::Utf8ToWide(text.substr(start, end - start)));
        if (end == std::string_view::npos) {
            break;
        }
        start = end + 1;
    }
    return 0;
}
