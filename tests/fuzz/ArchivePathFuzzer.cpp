// Normalises arbitrary paths and checks what a normalised name may hold.
#include "ui/markup/ArchivePath.h"
#include "ui/markup/TextEncoding.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::wstring path =
        ui::TextEncoding::Utf8ToWide({reinterpret_cast<const char*>(data), size});
    const std::wstring name = ui::ArchivePath::Normalize(path);
    // No backslashes, no empty segments, nothing left to resolve, and
    // normalising again changes nothing.
    if (name.find(L'\\') != std::wstring::npos || name.find(L"//") != std::wstring::npos ||
        name.starts_with(L"/") || name.starts_with(L"./") || name.starts_with(L"../") ||
        name.find(L"/./") != std::wstring::npos || name.find(L"/../") != std::wstring::npos ||
        name.size() > path.size() || ui::ArchivePath::Normalize(name) != name) {
        std::abort();
    }
    return 0;
}
