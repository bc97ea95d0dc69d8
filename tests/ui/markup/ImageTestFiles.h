#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace ui::test {

// Image files made by the tests themselves: PNGs through the GDI+ encoder,
// animated GIFs and stored ZIP archives written byte by byte. GDI+ must be
// started.
class ImageTestFiles {
public:
    // colour(x, y) is non-premultiplied 0xAARRGGBB; format a GDI+ pixel
    // format such as PixelFormat32bppARGB.
    static bool WritePng(const std::wstring& path, int width, int height, INT format,
                         const std::function<uint32_t(int, int)>& colour);

    // A GIF whose frame i is filled with colours[i] (0xRRGGBB), shown for
    // delays[i] hundredths of a second, looping forever.
    static std::vector<uint8_t> MakeGif(int width, int height, const std::vector<uint32_t>& colours,
                                        const std::vector<uint16_t>& delays);

    // A ZIP archive of stored entries (name, bytes).
    static std::vector<uint8_t> MakeZip(
        const std::vector<std::pair<std::string, std::vector<uint8_t>>>& entries);

    static std::vector<uint8_t> ReadFile(const std::wstring& path);
    static bool WriteFile(const std::wstring& path, const std::vector<uint8_t>& bytes);
    // A folder of this process under the temporary folder, ending in "\".
    static std::wstring MakeTempFolder(const std::wstring& name);
};

} // namespace ui::test
