#include "ui/markup/PngDecoder.h"

#include <zlib.h>

#include <array>
#include <cstdlib>
#include <cstring>
#include <string_view>

namespace ui {
namespace {

constexpr uint8_t kSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
constexpr uint32_t kMaxChunkLength = 0x7FFFFFFF;
constexpr uint8_t kColourRgb = 2;
constexpr uint8_t kColourRgba = 6;

// Chunks that change no pixel; any other ancillary chunk (gamma, colour
// profiles, transparency keys...) leaves the image to the general decoder.
constexpr std::array<std::string_view, 6> kHarmlessChunks = {"bKGD", "pHYs", "tEXt",
                                                             "zTXt", "iTXt", "tIME"};

uint32_t Read32(const uint8_t* bytes)
{
    return static_cast<uint32_t>(bytes[0]) << 24 | static_cast<uint32_t>(bytes[1]) << 16 |
           static_cast<uint32_t>(bytes[2]) << 8 | bytes[3];
}

uint8_t Paeth(int left, int up, int upLeft)
{
    const int estimate = left + up - upLeft;
    const int toLeft = std::abs(estimate - left);
    const int toUp = std::abs(estimate - up);
    const int toUpLeft = std::abs(estimate - upLeft);
    if (toLeft <= toUp && toLeft <= toUpLeft)
        return static_cast<uint8_t>(left);
    return static_cast<uint8_t>(toUp <= toUpLeft ? up : upLeft);
}

// Undoes each row's filter in place; false for an unknown filter type.
bool Unfilter(std::vector<uint8_t>& data, size_t rowBytes, uint32_t height, size_t pixelBytes)
{
    const uint8_t* previous = nullptr;
    for (uint32_t y = 0; y < height; ++y) {
        uint8_t* row = data.data() + y * (rowBytes + 1);
        const uint8_t filter = row[0];
        uint8_t* pixels = row + 1;
        for (size_t i = 0; i < rowBytes; ++i) {
            const int left = i >= pixelBytes ? pixels[i - pixelBytes] : 0;
            const int up = previous != nullptr ? previous[i] : 0;
            const int upLeft =
                previous != nullptr && i >= pixelBytes ? previous[i - pixelBytes] : 0;
            switch (filter) {
            case 0:
                break;
            case 1:
                pixels[i] = static_cast<uint8_t>(pixels[i] + left);
                break;
            case 2:
                pixels[i] = static_cast<uint8_t>(pixels[i] + up);
                break;
            case 3:
                pixels[i] = static_cast<uint8_t>(pixels[i] + (left + up) / 2);
                break;
            case 4:
                pixels[i] = static_cast<uint8_t>(pixels[i] + Paeth(left, up, upLeft));
                break;
            default:
                return false;
            }
        }
        previous = pixels;
    }
    return true;
}

// Inflates exactly `size` bytes; false for bad data, too little, or more.
bool Inflate(const std::vector<uint8_t>& compressed, std::vector<uint8_t>& out, size_t size)
{
    out.resize(size);
    z_stream stream{};
    if (inflateInit(&stream) != Z_OK)
        return false;
    stream.next_in = const_cast<Bytef*>(compressed.data());
    stream.avail_in = static_cast<uInt>(compressed.size());
    stream.next_out = out.data();
    stream.avail_out = static_cast<uInt>(size);
    const int result = inflate(&stream, Z_FINISH);
    const bool complete = result == Z_STREAM_END && stream.total_out == size;
    inflateEnd(&stream);
    return complete;
}

} // namespace

std::optional<PngDecoder::Image> PngDecoder::Decode(const uint8_t* data, size_t size)
{
    if (data == nullptr || size < sizeof kSignature ||
        std::memcmp(data, kSignature, sizeof kSignature) != 0)
        return std::nullopt;
    Image image;
    uint8_t colour = 0;
    std::vector<uint8_t> compressed;
    bool headerSeen = false;
    bool idatEnded = false;
    bool endSeen = false;
    for (size_t at = sizeof kSignature; !endSeen;) {
        if (size - at < 12)
            return std::nullopt;
        const uint32_t length = Read32(data + at);
        if (length > kMaxChunkLength || size - at - 12 < length)
            return std::nullopt;
        const uint8_t* type = data + at + 4;
        const uint8_t* body = type + 4;
        const uLong crc = crc32(crc32(0L, Z_NULL, 0), type, length + 4);
        if (crc != Read32(body + length))
            return std::nullopt;
        const std::string_view name(reinterpret_cast<const char*>(type), 4);
        at += 12 + length;
        if (!headerSeen) {
            if (name != "IHDR" || length != 13)
                return std::nullopt;
            headerSeen = true;
            image.width = Read32(body);
            image.height = Read32(body + 4);
            colour = body[9];
            if (image.width == 0 || image.height == 0 || image.width > kMaxChunkLength ||
                image.height > kMaxChunkLength ||
                uint64_t{image.width} * image.height > kMaxPixels || body[8] != 8 ||
                (colour != kColourRgb && colour != kColourRgba) || body[10] != 0 || body[11] != 0 ||
                body[12] != 0)
                return std::nullopt;
        } else if (name == "IDAT") {
            // The image data is one run of IDAT chunks.
            if (idatEnded)
                return std::nullopt;
            compressed.insert(compressed.end(), body, body + length);
        } else if (name == "IEND") {
            endSeen = true;
        } else {
            bool harmless = false;
            for (std::string_view chunk : kHarmlessChunks)
                harmless = harmless || name == chunk;
            if (!harmless)
                return std::nullopt;
            idatEnded = !compressed.empty();
        }
    }
    if (compressed.empty())
        return std::nullopt;

    const size_t pixelBytes = colour == kColourRgba ? 4 : 3;
    const size_t rowBytes = size_t{image.width} * pixelBytes;
    std::vector<uint8_t> rows;
    if (!Inflate(compressed, rows, (rowBytes + 1) * image.height) ||
        !Unfilter(rows, rowBytes, image.height, pixelBytes))
        return std::nullopt;

    image.bgra.resize(size_t{image.width} * image.height * 4);
    uint8_t* out = image.bgra.data();
    for (uint32_t y = 0; y < image.height; ++y) {
        const uint8_t* in = rows.data() + y * (rowBytes + 1) + 1;
        for (uint32_t x = 0; x < image.width; ++x, in += pixelBytes, out += 4) {
            const unsigned alpha = pixelBytes == 4 ? in[3] : 255;
            // Premultiplied as the system's codecs hand it over, rounded.
            out[0] = static_cast<uint8_t>((in[2] * alpha + 127) / 255);
            out[1] = static_cast<uint8_t>((in[1] * alpha + 127) / 255);
            out[2] = static_cast<uint8_t>((in[0] * alpha + 127) / 255);
            out[3] = static_cast<uint8_t>(alpha);
            image.transparent = image.transparent || alpha != 255;
        }
    }
    return image;
}

} // namespace ui
