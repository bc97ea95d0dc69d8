#include "tests/ui/render/RenderTestSupport.h"

#include "ui/render/GdiPlusApi.h"
#include "ui/render/GdiPlusSession.h"

namespace ui::test {

void StartGdiPlus()
{
    static GdiPlusSession session;
}

Pixel PixelAt(const IRenderContext& context, int x, int y)
{
    ::GdiFlush();
    const uint8_t* bits = context.GetBits();
    if (bits == nullptr || x < 0 || y < 0 || x >= context.GetWidth() || y >= context.GetHeight())
        return Pixel();
    // Render contexts in tests are made top-down.
    const uint8_t* p = bits + (static_cast<size_t>(y) * context.GetWidth() + x) * 4;
    return Pixel{p[0], p[1], p[2], p[3]};
}

HBITMAP MakeBitmap(int width, int height, const std::function<uint32_t(int, int)>& colour)
{
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap == nullptr)
        return nullptr;
    auto* pixels = static_cast<uint32_t*>(bits);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            pixels[y * width + x] = colour(x, y);
    return bitmap;
}

bool SavePng(const IRenderContext& context, const std::wstring& path)
{
    static const CLSID kPngEncoder = {
        0x557CF406, 0x1A04, 0x11D3, {0x9A, 0x73, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E}};
    ::GdiFlush();
    Gdiplus::GpBitmap* bitmap = nullptr;
    if (gdip::GdipCreateBitmapFromScan0(context.GetWidth(), context.GetHeight(),
                                        context.GetWidth() * 4, PixelFormat32bppPARGB,
                                        context.GetBits(), &bitmap) != gdip::Ok)
        return false;
    const bool saved =
        gdip::GdipSaveImageToFile(bitmap, path.c_str(), &kPngEncoder, nullptr) == gdip::Ok;
    gdip::GdipDisposeImage(bitmap);
    return saved;
}

} // namespace ui::test
