#include "ui/markup/ImageResampler.h"

#include "ui/render/GdiBitmap.h"
#include "ui/render/GdiPlusApi.h"

#include <memory>
#include <vector>

namespace ui {

namespace {

template <typename T, Gdiplus::GpStatus (*Delete)(T*)>
struct GdiPlusDeleter {
    void operator()(T* object) const { Delete(object); }
};
using BitmapPtr =
    std::unique_ptr<Gdiplus::GpBitmap, GdiPlusDeleter<Gdiplus::GpImage, gdip::GdipDisposeImage>>;
using GraphicsPtr = std::unique_ptr<Gdiplus::GpGraphics,
                                    GdiPlusDeleter<Gdiplus::GpGraphics, gdip::GdipDeleteGraphics>>;
using AttributesPtr =
    std::unique_ptr<Gdiplus::GpImageAttributes,
                    GdiPlusDeleter<Gdiplus::GpImageAttributes, gdip::GdipDisposeImageAttributes>>;

// A GDI+ view of a 32-bit frame's pixels (premultiplied, as the decoder
// makes them), top row first whatever the bitmap's row order.
BitmapPtr ViewOf(HBITMAP frame)
{
    DIBSECTION dib{};
    if (::GetObjectW(frame, sizeof(dib), &dib) != sizeof(dib) || dib.dsBm.bmBitsPixel != 32 ||
        dib.dsBm.bmBits == nullptr)
        return nullptr;
    ::GdiFlush();
    auto* bits = static_cast<BYTE*>(dib.dsBm.bmBits);
    INT stride = dib.dsBm.bmWidthBytes;
    if (dib.dsBmih.biHeight > 0) {
        bits += static_cast<size_t>(dib.dsBm.bmHeight - 1) * static_cast<size_t>(stride);
        stride = -stride;
    }
    Gdiplus::GpBitmap* view = nullptr;
    if (gdip::GdipCreateBitmapFromScan0(dib.dsBm.bmWidth, dib.dsBm.bmHeight, stride,
                                        PixelFormat32bppPARGB, bits, &view) != gdip::Ok)
        return nullptr;
    return BitmapPtr(view);
}

HBITMAP Scaled(HBITMAP frame, int width, int height)
{
    const BitmapPtr source = ViewOf(frame);
    if (!source)
        return nullptr;
    UINT sourceWidth = 0;
    UINT sourceHeight = 0;
    gdip::GdipGetImageWidth(source.get(), &sourceWidth);
    gdip::GdipGetImageHeight(source.get(), &sourceHeight);

    GdiBitmap result;
    if (!result.Init(nullptr, width, height, true))
        return nullptr;
    Gdiplus::GpBitmap* rawTarget = nullptr;
    Gdiplus::GpGraphics* rawGraphics = nullptr;
    Gdiplus::GpImageAttributes* rawAttributes = nullptr;
    bool done = gdip::GdipCreateBitmapFromScan0(width, height, width * 4, PixelFormat32bppPARGB,
                                                result.GetBits(), &rawTarget) == gdip::Ok;
    const BitmapPtr target(done ? rawTarget : nullptr);
    done = done && gdip::GdipGetImageGraphicsContext(target.get(), &rawGraphics) == gdip::Ok;
    GraphicsPtr graphics(done ? rawGraphics : nullptr);
    done = done && gdip::GdipCreateImageAttributes(&rawAttributes) == gdip::Ok;
    const AttributesPtr attributes(done ? rawAttributes : nullptr);
    if (done) {
        gdip::GdipSetCompositingMode(graphics.get(), Gdiplus::CompositingModeSourceCopy);
        gdip::GdipSetInterpolationMode(graphics.get(),
                                       Gdiplus::InterpolationModeHighQualityBicubic);
        gdip::GdipSetPixelOffsetMode(graphics.get(), Gdiplus::PixelOffsetModeHighQuality);
        // Mirrored beyond the edges, so that the filter does not pull the
        // outside (transparent) into the border pixels.
        gdip::GdipSetImageAttributesWrapMode(attributes.get(), Gdiplus::WrapModeTileFlipXY, 0,
                                             FALSE);
        done = gdip::GdipDrawImageRectRectI(graphics.get(), source.get(), 0, 0, width, height, 0, 0,
                                            static_cast<INT>(sourceWidth),
                                            static_cast<INT>(sourceHeight), Gdiplus::UnitPixel,
                                            attributes.get(), nullptr, nullptr) == gdip::Ok;
    }
    // The pixels are in the section once the graphics object is gone.
    graphics.reset();
    return done ? result.DetachBitmap() : nullptr;
}

} // namespace

bool ImageResampler::Resize(ImageInfo& image, int width, int height)
{
    if (width <= 0 || height <= 0)
        return false;
    if (width == image.width && height == image.height)
        return true;
    std::vector<ImageInfo::BitmapPtr> frames;
    for (const ImageInfo::BitmapPtr& frame : image.frames) {
        HBITMAP scaled = Scaled(frame.get(), width, height);
        if (scaled == nullptr)
            return false;
        frames.emplace_back(scaled);
    }
    image.frames = std::move(frames);
    image.width = width;
    image.height = height;
    return true;
}

} // namespace ui
