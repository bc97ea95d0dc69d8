#include "tests/ui/markup/ImageTestFiles.h"

#include "ui/render/GdiPlusApi.h"

#include <filesystem>
#include <fstream>
#include <iterator>

namespace ui::test {
namespace {

void Put16(std::vector<uint8_t>& out, uint32_t value)
{
    out.push_back(static_cast<uint8_t>(value));
    out.push_back(static_cast<uint8_t>(value >> 8));
}

void Put32(std::vector<uint8_t>& out, uint32_t value)
{
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

uint32_t Crc32(const std::vector<uint8_t>& bytes)
{
    uint32_t crc = 0xFFFFFFFF;
    for (uint8_t byte : bytes) {
        crc ^= byte;
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xEDB88320 & (0 - (crc & 1)));
    }
    return ~crc;
}

// Packs codes of `width` bits least significant bit first.
class BitWriter {
public:
    void Write(uint32_t code, int width)
    {
        m_buffer |= code << m_count;
        m_count += width;
        while (m_count >= 8) {
            m_bytes.push_back(static_cast<uint8_t>(m_buffer));
            m_buffer >>= 8;
            m_count -= 8;
        }
    }
    std::vector<uint8_t> Finish()
    {
        if (m_count > 0)
            m_bytes.push_back(static_cast<uint8_t>(m_buffer));
        return m_bytes;
    }

private:
    std::vector<uint8_t> m_bytes;
    uint32_t m_buffer = 0;
    int m_count = 0;
};

} // namespace

bool ImageTestFiles::WritePng(const std::wstring& path, int width, int height, INT format,
                              const std::function<uint32_t(int, int)>& colour)
{
    static const CLSID kPngEncoder = {
        0x557CF406, 0x1A04, 0x11D3, {0x9A, 0x73, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E}};
    Gdiplus::GpBitmap* bitmap = nullptr;
    if (gdip::GdipCreateBitmapFromScan0(width, height, 0, format, nullptr, &bitmap) != gdip::Ok)
        return false;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            gdip::GdipBitmapSetPixel(bitmap, x, y, colour(x, y));
    const bool saved =
        gdip::GdipSaveImageToFile(bitmap, path.c_str(), &kPngEncoder, nullptr) == gdip::Ok;
    gdip::GdipDisposeImage(bitmap);
    return saved;
}

std::vector<uint8_t> ImageTestFiles::MakeGif(int width, int height,
                                             const std::vector<uint32_t>& colours,
                                             const std::vector<uint16_t>& delays)
{
    std::vector<uint8_t> out = {'G', 'I', 'F', '8', '9', 'a'};
    Put16(out, static_cast<uint32_t>(width));
    Put16(out, static_cast<uint32_t>(height));
    // Global colour table of 4 entries: the frame colours, padded.
    out.insert(out.end(), {0xF1, 0, 0});
    for (size_t i = 0; i < 4; ++i) {
        const uint32_t rgb = i < colours.size() ? colours[i] : 0;
        out.insert(out.end(), {static_cast<uint8_t>(rgb >> 16), static_cast<uint8_t>(rgb >> 8),
                               static_cast<uint8_t>(rgb)});
    }
    // Loop forever.
    out.insert(out.end(), {0x21, 0xFF, 0x0B, 'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', '.', '0',
                           0x03, 0x01, 0x00, 0x00, 0x00});
    for (size_t frame = 0; frame < colours.size() && frame < 4; ++frame) {
        out.insert(out.end(), {0x21, 0xF9, 0x04, 0x00});
        Put16(out, frame < delays.size() ? delays[frame] : 0);
        out.insert(out.end(), {0x00, 0x00});
        out.push_back(0x2C);
        Put32(out, 0);
        Put16(out, static_cast<uint32_t>(width));
        Put16(out, static_cast<uint32_t>(height));
        out.push_back(0x00);
        // LZW with minimum code size 2: a clear code before every two
        // pixels keeps the table from growing past 3-bit codes.
        out.push_back(0x02);
        BitWriter bits;
        const int pixels = width * height;
        for (int i = 0; i < pixels; ++i) {
            if (i % 2 == 0)
                bits.Write(4, 3);
            bits.Write(static_cast<uint32_t>(frame), 3);
        }
        bits.Write(5, 3);
        const std::vector<uint8_t> data = bits.Finish();
        for (size_t pos = 0; pos < data.size(); pos += 255) {
            const size_t length = std::min<size_t>(255, data.size() - pos);
            out.push_back(static_cast<uint8_t>(length));
            out.insert(out.end(), data.begin() + pos, data.begin() + pos + length);
        }
        out.push_back(0x00);
    }
    out.push_back(0x3B);
    return out;
}

std::vector<uint8_t> ImageTestFiles::MakeZip(
    const std::vector<std::pair<std::string, std::vector<uint8_t>>>& entries)
{
    std::vector<uint8_t> out;
    std::vector<uint8_t> central;
    for (const auto& [name, bytes] : entries) {
        const uint32_t offset = static_cast<uint32_t>(out.size());
        const uint32_t crc = Crc32(bytes);
        const uint32_t size = static_cast<uint32_t>(bytes.size());
        Put32(out, 0x04034b50);
        Put16(out, 10);
        Put16(out, 0);
        Put16(out, 0); // stored
        Put32(out, 0);
        Put32(out, crc);
        Put32(out, size);
        Put32(out, size);
        Put16(out, static_cast<uint32_t>(name.size()));
        Put16(out, 0);
        out.insert(out.end(), name.begin(), name.end());
        out.insert(out.end(), bytes.begin(), bytes.end());

        Put32(central, 0x02014b50);
        Put16(central, 20);
        Put16(central, 10);
        Put16(central, 0);
        Put16(central, 0);
        Put32(central, 0);
        Put32(central, crc);
        Put32(central, size);
        Put32(central, size);
        Put16(central, static_cast<uint32_t>(name.size()));
        Put16(central, 0);
        Put16(central, 0);
        Put16(central, 0);
        Put16(central, 0);
        Put32(central, 0);
        Put32(central, offset);
        central.insert(central.end(), name.begin(), name.end());
    }
    const uint32_t centralOffset = static_cast<uint32_t>(out.size());
    out.insert(out.end(), central.begin(), central.end());
    Put32(out, 0x06054b50);
    Put16(out, 0);
    Put16(out, 0);
    Put16(out, static_cast<uint32_t>(entries.size()));
    Put16(out, static_cast<uint32_t>(entries.size()));
    Put32(out, static_cast<uint32_t>(central.size()));
    Put32(out, centralOffset);
    Put16(out, 0);
    return out;
}

std::vector<uint8_t> ImageTestFiles::ReadFile(const std::wstring& path)
{
    std::ifstream file(std::filesystem::path(path), std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(file), {});
}

bool ImageTestFiles::WriteFile(const std::wstring& path, const std::vector<uint8_t>& bytes)
{
    std::ofstream file(std::filesystem::path(path), std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(file);
}

std::wstring ImageTestFiles::MakeTempFolder(const std::wstring& name)
{
    wchar_t temp[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, temp);
    const std::wstring folder =
        std::wstring(temp) + name + L"_" + std::to_wstring(::GetCurrentProcessId()) + L"\\";
    ::CreateDirectoryW(folder.c_str(), nullptr);
    return folder;
}

} // namespace ui::test
