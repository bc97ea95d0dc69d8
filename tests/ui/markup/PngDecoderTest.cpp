#include "ui/markup/PngDecoder.h"

#include <gtest/gtest.h>

#include <zlib.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace ui {
namespace {

struct Chunk {
    std::string type;
    std::vector<uint8_t> body;
};

void Put32(std::vector<uint8_t>& out, uint32_t value)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<uint8_t>(value >> shift));
}

std::vector<uint8_t> Header(uint32_t width, uint32_t height, uint8_t depth, uint8_t colour,
                            uint8_t interlace = 0)
{
    std::vector<uint8_t> body;
    Put32(body, width);
    Put32(body, height);
    body.insert(body.end(), {depth, colour, 0, 0, interlace});
    return body;
}

std::vector<uint8_t> Compressed(const std::vector<uint8_t>& rows)
{
    uLongf size = compressBound(static_cast<uLong>(rows.size()));
    std::vector<uint8_t> out(size);
    compress2(out.data(), &size, rows.data(), static_cast<uLong>(rows.size()), 9);
    out.resize(size);
    return out;
}

std::vector<uint8_t> Png(const std::vector<Chunk>& chunks)
{
    std::vector<uint8_t> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    for (const Chunk& chunk : chunks) {
        Put32(out, static_cast<uint32_t>(chunk.body.size()));
        const size_t start = out.size();
        out.insert(out.end(), chunk.type.begin(), chunk.type.end());
        out.insert(out.end(), chunk.body.begin(), chunk.body.end());
        Put32(out, static_cast<uint32_t>(
                       crc32(0, out.data() + start, static_cast<uInt>(out.size() - start))));
    }
    return out;
}

// A 2 x 2 RGBA image, each row filtered with `filter`: opaque red, half
// transparent white, transparent green, opaque blue.
std::vector<uint8_t> RgbaRows(uint8_t filter)
{
    const uint8_t pixels[2][8] = {{255, 0, 0, 255, 255, 255, 255, 128},
                                  {0, 255, 0, 0, 0, 0, 255, 255}};
    std::vector<uint8_t> rows;
    for (int y = 0; y < 2; ++y) {
        rows.push_back(filter);
        for (int i = 0; i < 8; ++i) {
            const int left = i >= 4 ? pixels[y][i - 4] : 0;
            const int up = y > 0 ? pixels[y - 1][i] : 0;
            const int upLeft = y > 0 && i >= 4 ? pixels[y - 1][i - 4] : 0;
            int predicted = 0;
            if (filter == 1)
                predicted = left;
            else if (filter == 2)
                predicted = up;
            else if (filter == 3)
                predicted = (left + up) / 2;
            else if (filter == 4) {
                const int p = left + up - upLeft;
                const int a = std::abs(p - left), b = std::abs(p - up), c = std::abs(p - upLeft);
                predicted = a <= b && a <= c ? left : (b <= c ? up : upLeft);
            }
            rows.push_back(static_cast<uint8_t>(pixels[y][i] - predicted));
        }
    }
    return rows;
}

std::vector<uint8_t> RgbaPng(uint8_t filter, std::vector<Chunk> extra = {})
{
    std::vector<Chunk> chunks = {{"IHDR", Header(2, 2, 8, 6)}};
    chunks.insert(chunks.end(), extra.begin(), extra.end());
    chunks.push_back({"IDAT", Compressed(RgbaRows(filter))});
    chunks.push_back({"IEND", {}});
    return Png(chunks);
}

TEST(PngDecoderTest, EveryRowFilterGivesPremultipliedBgra)
{
    const std::vector<uint8_t> expected = {0, 0, 255, 255, 128, 128, 128, 128,
                                           0, 0, 0,   0,   255, 0,   0,   255};
    for (uint8_t filter = 0; filter <= 4; ++filter) {
        const std::vector<uint8_t> png = RgbaPng(filter);
        const auto image = PngDecoder::Decode(png.data(), png.size());
        ASSERT_TRUE(image) << "filter " << int(filter);
        EXPECT_EQ(image->width, 2u);
        EXPECT_EQ(image->height, 2u);
        EXPECT_EQ(image->bgra, expected) << "filter " << int(filter);
        EXPECT_TRUE(image->transparent);
    }
    // RGB, with a background colour and a text chunk (the skin's images
    // carry the former): opaque, channels swapped.
    const std::vector<uint8_t> rgb = Png({{"IHDR", Header(1, 1, 8, 2)},
                                          {"bKGD", {0, 0, 0, 0, 0, 0}},
                                          {"IDAT", Compressed({0, 10, 20, 30})},
                                          {"tEXt", {'a', 0, 'b'}},
                                          {"IEND", {}}});
    const auto opaque = PngDecoder::Decode(rgb.data(), rgb.size());
    ASSERT_TRUE(opaque);
    EXPECT_EQ(opaque->bgra, (std::vector<uint8_t>{30, 20, 10, 255}));
    EXPECT_FALSE(opaque->transparent);
}

// Whatever this decoder does not take exactly as the system's codecs would
// is left to them: other formats, colour management, damage of any kind.
TEST(PngDecoderTest, AnythingElseIsLeftToTheGeneralDecoder)
{
    const std::vector<uint8_t> good = RgbaPng(0);
    for (size_t length = 0; length < good.size(); ++length)
        EXPECT_FALSE(PngDecoder::Decode(good.data(), length)) << "cut at " << length;
    EXPECT_FALSE(PngDecoder::Decode(nullptr, 0));

    std::vector<uint8_t> badCrc = good;
    badCrc[good.size() - 20] ^= 0x01; // inside the IDAT chunk
    EXPECT_FALSE(PngDecoder::Decode(badCrc.data(), badCrc.size()));

    const std::vector<uint8_t> rows = RgbaRows(0);
    const std::vector<uint8_t> packed = Compressed(rows);
    const auto with = [&](std::vector<uint8_t> header, std::vector<Chunk> middle,
                          std::vector<uint8_t> data) {
        std::vector<Chunk> chunks = {{"IHDR", std::move(header)}};
        chunks.insert(chunks.end(), middle.begin(), middle.end());
        chunks.push_back({"IDAT", Compressed(data)});
        chunks.push_back({"IEND", {}});
        return Png(chunks);
    };
    const std::vector<std::vector<uint8_t>> refused = {
        with(Header(2, 2, 16, 6), {}, rows),                            // 16 bits per channel
        with(Header(2, 2, 8, 3), {{"PLTE", {1, 2, 3}}}, rows),          // palette
        with(Header(2, 2, 8, 0), {}, rows),                             // grey
        with(Header(2, 2, 8, 6, 1), {}, rows),                          // interlaced
        with(Header(0, 2, 8, 6), {}, rows),                             // no width
        with(Header(5000, 4000, 8, 6), {}, rows),                       // more pixels than allowed
        with(Header(2, 2, 8, 6), {{"gAMA", {0, 0, 0xB1, 0x8F}}}, rows), // gamma
        with(Header(2, 2, 8, 6), {{"tRNS", {0, 0}}}, rows),             // transparency key
        with(Header(2, 2, 8, 6), {{"abCd", {}}}, rows),                 // unknown chunk
        with(Header(2, 2, 8, 6), {}, {rows.begin(), rows.end() - 1}),   // a byte short
        with(Header(2, 2, 8, 6), {},
             [&] { // a byte over
                 std::vector<uint8_t> longer = rows;
                 longer.push_back(0);
                 return longer;
             }()),
        with(Header(2, 2, 8, 6), {},
             [&] { // unknown filter type
                 std::vector<uint8_t> bad = rows;
                 bad[0] = 5;
                 return bad;
             }()),
        Png({{"IHDR", Header(2, 2, 8, 6)}, {"IEND", {}}}), // no image data
        // Image data split by another chunk.
        Png({{"IHDR", Header(2, 2, 8, 6)},
             {"IDAT", {packed.begin(), packed.begin() + 4}},
             {"tEXt", {'a', 0}},
             {"IDAT", {packed.begin() + 4, packed.end()}},
             {"IEND", {}}}),
    };
    for (size_t i = 0; i < refused.size(); ++i)
        EXPECT_FALSE(PngDecoder::Decode(refused[i].data(), refused[i].size())) << "case " << i;
}

} // namespace
} // namespace ui
