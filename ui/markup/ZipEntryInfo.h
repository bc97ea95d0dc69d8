#pragma once

#include <cstdint>
#include <string>

namespace ui {

// What the central directory says about one archive entry. The name has
// drive prefixes, leading separators and "..\" climbs removed.
struct ZipEntryInfo {
    uint32_t index = 0;
    std::wstring name;
    uint32_t attributes = 0;
    uint32_t dosDateTime = 0;
    uint32_t compressedSize = 0;
    uint32_t uncompressedSize = 0;
};

} // namespace ui
