#include "ui/markup/ImageDecoder.h"

#include "ui/render/GdiPlusApi.h"

#include <vector>

namespace ui {
namespace {

constexpr PROPID kFrameDelayTag = 0x5100;
constexpr Gdiplus::PixelFormat kAlphaFlag = 0x00040000;
constexpr Gdiplus::PixelFormat kIndexedFlag = 0x00010000;
constexpr Gdiplus::PixelFormat kFormat32bppArgb = 0x0026200A;
constexpr UINT kPaletteHasAlpha = 0x0001;
constexpr Gdiplus::ARGB kOpaqueBlack = 0xFF000000;

struct ImageDeleter {
    void operator()(Gdiplus::GpBitmap* bitmap) const { gdip::GdipDisposeImage(bitmap); }
};
using BitmapPtr = std::unique_ptr<Gdiplus::GpBitmap, ImageDeleter>;

struct StreamDeleter {
    void operator()(IStream* stream) const { stream->Release(); }
};
using StreamPtr = std::unique_ptr<IStream, StreamDeleter>;

std::vector<uint32_t> ReadFrameDelays(Gdiplus::GpBitmap* bitmap)
{
    UINT size = 0;
    if (gdip::GdipGetPropertyItemSize(bitmap, kFrameDelayTag, &size) != gdip::Ok ||
        size < sizeof(Gdiplus::PropertyItem))
        return {};
    std::vector<uint8_t> buffer(size);
    auto* item = reinterpret_cast<Gdiplus::PropertyItem*>(buffer.data());
    if (gdip::GdipGetPropertyItem(bitmap, kFrameDelayTag, size, item) != gdip::Ok ||
        item->value == nullptr)
        return {};
    const auto* values = static_cast<const uint32_t*>(item->value);
    return std::vector<uint32_t>(values, values + item->length / sizeof(uint32_t));
}

bool PaletteHasAlpha(Gdiplus::GpBitmap* bitmap)
{
    INT size = 0;
    if (gdip::GdipGetImagePaletteSize(bitmap, &size) != gdip::Ok ||
        size < static_cast<INT>(sizeof(Gdiplus::ColorPalette)))
        return false;
    std::vector<uint8_t> buffer(static_cast<size_t>(size));
    auto* palette = reinterpret_cast<Gdiplus::ColorPalette*>(buffer.data());
    if (gdip::GdipGetImagePalette(bitmap, palette, size) != gdip::Ok)
        return false;
    return (palette->Flags & kPaletteHasAlpha) != 0;
}

std::unique_ptr<ImageInfo> Decode(Gdiplus::GpBitmap* bitmap)
{
    UINT dimensionCount = 0;
    if (gdip::GdipImageGetFrameDimensionsCount(bitmap, &dimensionCount) != gdip::Ok ||
        dimensionCount == 0)
        return nullptr;
    std::vector<GUID> dimensions(dimensionCount);
    UINT frameCount = 0;
    if (gdip::GdipImageGetFrameDimensionsList(bitmap, dimensions.data(), dimensionCount) !=
            gdip::Ok ||
        gdip::GdipImageGetFrameCount(bitmap, &dimensions[0], &frameCount) != gdip::Ok ||
        frameCount == 0)
        return nullptr;

    auto info = std::make_unique<ImageInfo>();
    if (frameCount > 1)
        info->frameDelays = ReadFrameDelays(bitmap);

    // Frames are selected along the dimension they were counted in; for
    // animated images that is time.
    for (UINT frame = 0; frame < frameCount; ++frame) {
        HBITMAP converted = nullptr;
        if (gdip::GdipImageSelectActiveFrame(bitmap, &dimensions[0], frame) != gdip::Ok ||
            gdip::GdipCreateHBITMAPFromBitmap(bitmap, &converted, kOpaqueBlack) != gdip::Ok ||
            converted == nullptr)
            return nullptr;
        info->frames.emplace_back(converted);
    }

    UINT width = 0;
    UINT height = 0;
    Gdiplus::PixelFormat format = 0;
    if (gdip::GdipGetImageWidth(bitmap, &width) != gdip::Ok ||
        gdip::GdipGetImageHeight(bitmap, &height) != gdip::Ok ||
        gdip::GdipGetImagePixelFormat(bitmap, &format) != gdip::Ok)
        return nullptr;
    info->width = static_cast<int>(width);
    info->height = static_cast<int>(height);

    info->alphaChannel = (format & kAlphaFlag) != 0;
    if (format & kIndexedFlag)
        info->alphaChannel = PaletteHasAlpha(bitmap);
    if (format == kFormat32bppArgb) {
        // Many 32-bit images are fully opaque; those are then copied
        // instead of blended.
        info->alphaChannel = false;
        for (const ImageInfo::BitmapPtr& frame : info->frames) {
            if (ImageDecoder::HasTransparentPixel(frame.get())) {
                info->alphaChannel = true;
                break;
            }
        }
    }
    return info;
}

} // namespace

std::unique_ptr<ImageInfo> ImageDecoder::DecodeBlock(GlobalBlock block)
{
    IStream* rawStream = nullptr;
    if (!block || ::CreateStreamOnHGlobal(block.Get(), TRUE, &rawStream) != S_OK)
        return nullptr;
    // The stream frees the block when it is released.
    block.Release();
    StreamPtr stream(rawStream);
    Gdiplus::GpBitmap* rawBitmap = nullptr;
    if (gdip::GdipCreateBitmapFromStream(stream.get(), &rawBitmap) != gdip::Ok)
        return nullptr;
    BitmapPtr bitmap(rawBitmap);
    return Decode(bitmap.get());
}

std::unique_ptr<ImageInfo> ImageDecoder::DecodeFile(const std::wstring& path)
{
    Gdiplus::GpBitmap* rawBitmap = nullptr;
    if (gdip::GdipCreateBitmapFromFile(path.c_str(), &rawBitmap) != gdip::Ok)
        return nullptr;
    BitmapPtr bitmap(rawBitmap);
    return Decode(bitmap.get());
}

bool ImageDecoder::HasTransparentPixel(HBITMAP bitmap)
{
    DIBSECTION dib = {};
    if (::GetObjectW(bitmap, sizeof(dib), &dib) != sizeof(dib) || dib.dsBm.bmBitsPixel != 32 ||
        dib.dsBm.bmBits == nullptr)
        return false;
    ::GdiFlush();
    const auto* row = static_cast<const uint8_t*>(dib.dsBm.bmBits);
    const size_t width = static_cast<size_t>(dib.dsBm.bmWidth);
    const LONG height = dib.dsBm.bmHeight;
    for (LONG y = 0; y < height; ++y, row += dib.dsBm.bmWidthBytes) {
        for (size_t x = 0; x < width; ++x) {
            if (row[x * 4 + 3] != 255)
                return true;
        }
    }
    return false;
}

} // namespace ui
