#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace ui {

// Decodes the plain PNGs that skins are made of (8-bit RGB or RGBA, not
// interlaced, no colour-management chunks) straight into the pixels GDI
// blends: premultiplied BGRA rows, top row first. A PNG decode through the
// system's codecs costs about 2 ms under Wine whatever its size; this one a
// tenth of that. Anything else, and anything damaged (bad checksums, bad
// compressed data, a wrong length), gets no result, and the caller decodes
// the file the general way, as it would have without this.
class PngDecoder {
public:
    struct Image {
        uint32_t width = 0;
        uint32_t height = 0;
        std::vector<uint8_t> bgra;
        // Some pixel has alpha below 255.
        bool transparent = false;
    };

    // Images of more pixels than this get no result (as the general path
    // refuses them too).
    static constexpr uint64_t kMaxPixels = 16u * 1024 * 1024;

    static std::optional<Image> Decode(const uint8_t* data, size_t size);
};

} // namespace ui
