// Arbitrary bytes as a skin PNG: a decode either gives nothing or an image
// whose pixels fill exactly its size, premultiplied (no colour above alpha).
// When the first byte is odd, the rest has its chunk checksums made right
// first, so that mutations reach the header, the chunks and the image data.
#include "tests/fuzz/FuzzCheck.h"
#include "ui/markup/PngDecoder.h"

#include <zlib.h>

#include <cstddef>
#include <cstdint>
#include <vector>

namespace {

void FixChecksums(std::vector<uint8_t>& png)
{
    for (size_t at = 8; png.size() >= 12 && at <= png.size() - 12;) {
        const uint32_t length = uint32_t{png[at]} << 24 | uint32_t{png[at + 1]} << 16 |
                                uint32_t{png[at + 2]} << 8 | png[at + 3];
        if (length > png.size() - at - 12)
            return;
        const uLong crc = crc32(0, png.data() + at + 4, length + 4);
        for (int i = 0; i < 4; ++i)
            png[at + 8 + length + i] = static_cast<uint8_t>(crc >> (24 - 8 * i));
        at += 12 + length;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    std::vector<uint8_t> png(data + 1, data + size);
    if (data[0] & 1)
        FixChecksums(png);
    const auto image = ui::PngDecoder::Decode(png.data(), png.size());
    if (!image)
        return 0;
    fuzz::Check(image->width > 0 && image->height > 0);
    fuzz::Check(image->bgra.size() == size_t{image->width} * image->height * 4);
    bool transparent = false;
    for (size_t i = 0; i < image->bgra.size(); i += 4) {
        const uint8_t alpha = image->bgra[i + 3];
        fuzz::Check(image->bgra[i] <= alpha && image->bgra[i + 1] <= alpha &&
                    image->bgra[i + 2] <= alpha);
        transparent = transparent || alpha != 255;
    }
    fuzz::Check(transparent == image->transparent);
    return 0;
}
