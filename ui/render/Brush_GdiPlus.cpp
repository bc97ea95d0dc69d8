#include "ui/render/Brush_GdiPlus.h"

namespace ui {

std::unique_ptr<Brush_GdiPlus> Brush_GdiPlus::CreateSolid(uint32_t argb)
{
    Gdiplus::GpSolidFill* fill = nullptr;
    gdip::GdipCreateSolidFill(argb, &fill);
    return std::unique_ptr<Brush_GdiPlus>(new Brush_GdiPlus(fill, argb));
}

namespace {

// A GDI+ copy of a GDI bitmap. 32-bit DIB sections keep their per-pixel
// alpha (they hold premultiplied pixels); other bitmaps are taken as opaque.
Gdiplus::GpBitmap* CopyBitmap(HBITMAP bitmap)
{
    Gdiplus::GpBitmap* copy = nullptr;
    DIBSECTION dib = {};
    if (::GetObjectW(bitmap, sizeof(dib), &dib) == sizeof(dib) && dib.dsBm.bmBitsPixel == 32 &&
        dib.dsBm.bmBits != nullptr) {
        ::GdiFlush();
        const int width = dib.dsBm.bmWidth;
        const int height = dib.dsBm.bmHeight;
        const int stride = dib.dsBm.bmWidthBytes;
        auto* bits = static_cast<BYTE*>(dib.dsBm.bmBits);
        // Bottom-up rows: start at the last row and walk backwards.
        const bool bottomUp = dib.dsBmih.biHeight > 0;
        BYTE* first = bottomUp ? bits + static_cast<size_t>(height - 1) * stride : bits;
        Gdiplus::GpBitmap* view = nullptr;
        if (gdip::GdipCreateBitmapFromScan0(width, height, bottomUp ? -stride : stride,
                                            PixelFormat32bppPARGB, first, &view) == gdip::Ok) {
            gdip::GdipCloneBitmapAreaI(0, 0, width, height, PixelFormat32bppPARGB, view, &copy);
            gdip::GdipDisposeImage(view);
        }
        return copy;
    }
    gdip::GdipCreateBitmapFromHBITMAP(bitmap, nullptr, &copy);
    return copy;
}

} // namespace

std::unique_ptr<Brush_GdiPlus> Brush_GdiPlus::CreateTexture(HBITMAP bitmap)
{
    Gdiplus::GpBrush* brush = nullptr;
    Gdiplus::GpBitmap* image = bitmap != nullptr ? CopyBitmap(bitmap) : nullptr;
    if (image != nullptr) {
        Gdiplus::GpTexture* texture = nullptr;
        if (gdip::GdipCreateTexture(image, Gdiplus::WrapModeTile, &texture) == gdip::Ok)
            brush = texture;
        gdip::GdipDisposeImage(image);
    }
    return std::unique_ptr<Brush_GdiPlus>(new Brush_GdiPlus(brush, 0));
}

Brush_GdiPlus::~Brush_GdiPlus()
{
    if (m_brush != nullptr)
        gdip::GdipDeleteBrush(m_brush);
}

std::unique_ptr<IBrush> Brush_GdiPlus::Clone() const
{
    Gdiplus::GpBrush* copy = nullptr;
    if (m_brush != nullptr)
        gdip::GdipCloneBrush(m_brush, &copy);
    return std::unique_ptr<IBrush>(new Brush_GdiPlus(copy, m_color));
}

} // namespace ui
