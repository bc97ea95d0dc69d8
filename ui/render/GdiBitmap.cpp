#include "ui/render/GdiBitmap.h"

#include <cstring>

namespace ui {

GdiBitmap::~GdiBitmap()
{
    Reset();
}

bool GdiBitmap::Init(HDC dc, int width, int height, bool flipHeight)
{
    Reset();
    if (width < 1 || height < 1)
        return false;

    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = flipHeight ? -height : height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    info.bmiHeader.biSizeImage = static_cast<DWORD>(width) * static_cast<DWORD>(height) * 4;

    void* bits = nullptr;
    HBITMAP bitmap = ::CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap == nullptr)
        return false;
    m_bitmap = bitmap;
    m_bits = static_cast<uint8_t*>(bits);
    m_width = width;
    m_height = height;
    m_topDown = flipHeight;
    return true;
}

void GdiBitmap::Reset()
{
    if (m_bitmap != nullptr)
        ::DeleteObject(m_bitmap);
    m_bitmap = nullptr;
    m_bits = nullptr;
    m_width = 0;
    m_height = 0;
    m_topDown = false;
}

HBITMAP GdiBitmap::DetachBitmap()
{
    HBITMAP bitmap = m_bitmap;
    m_bitmap = nullptr;
    Reset();
    return bitmap;
}

uint8_t* GdiBitmap::Row(int y) const
{
    int row = m_topDown ? y : m_height - 1 - y;
    return m_bits + static_cast<size_t>(row) * static_cast<size_t>(m_width) * 4;
}

UiRect GdiBitmap::ClipToBitmap(const UiRect& rect) const
{
    UiRect clipped = rect;
    clipped.Intersect(UiRect(0, 0, m_width, m_height));
    return clipped;
}

void GdiBitmap::ClearAlpha(const UiRect& rect, uint8_t value)
{
    if (m_bits == nullptr)
        return;
    UiRect area = ClipToBitmap(rect);
    if (area.IsEmpty())
        return;
    ::GdiFlush();
    for (int y = area.top; y < area.bottom; ++y)
        std::memset(Row(y) + static_cast<size_t>(area.left) * 4, value,
                    static_cast<size_t>(area.Width()) * 4);
}

void GdiBitmap::SetAlpha(const UiRect& rect, uint8_t alpha)
{
    if (m_bits == nullptr)
        return;
    const UiRect area = ClipToBitmap(rect);
    if (area.IsEmpty())
        return;
    ::GdiFlush();
    for (int y = area.top; y < area.bottom; ++y) {
        uint8_t* pixel = Row(y) + static_cast<size_t>(area.left) * 4;
        for (int x = area.left; x < area.right; ++x, pixel += 4)
            pixel[3] = alpha;
    }
}

void GdiBitmap::RestoreAlpha(const UiRect& rect, const UiRect& padding, uint8_t alpha)
{
    if (m_bits == nullptr)
        return;
    UiRect inner = rect;
    inner.Deflate(padding);
    UiRect area = ClipToBitmap(inner);
    if (area.IsEmpty())
        return;
    ::GdiFlush();
    for (int y = area.top; y < area.bottom; ++y) {
        uint8_t* pixel = Row(y) + static_cast<size_t>(area.left) * 4;
        for (int x = area.left; x < area.right; ++x, pixel += 4) {
            if (pixel[3] == alpha)
                pixel[3] = 255;
        }
    }
}

} // namespace ui
