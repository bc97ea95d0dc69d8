#include "ui/markup/ImageDecoder.h"

#include "ui/markup/PngDecoder.h"
#include "ui/render/GdiBitmap.h"
#include "ui/render/GdiPlusApi.h"

#include <cstring>
#include <optional>
#include <vector>

namespace ui {
namespace {

constexpr PROPID kFrameDelayTag = 0x5100;
constexpr Gdiplus::PixelFormat kAlphaFlag = 0x00040000;
constexpr Gdiplus::PixelFormat kIndexedFlag = 0x00010000;
constexpr Gdiplus::PixelFormat kFormat32bppArgb = 0x0026200A;
constexpr UINT kPaletteHasAlpha = 0x0001;
constexpr Gdiplus::ARGB kOpaqueBlack = 0xFF000000;
// Skin images are small. One of more pixels than this (64 MiB per frame)
// is refused: converted and stretched on every paint it would stall the
// window and take gigabytes.
constexpr uint64_t kMaxPixels = 16u * 1024 * 1024;
constexpr size_t kPngHeaderSize = 24;

bool TooLarge(uint64_t width, uint64_t height)
{
    return width * height > kMaxPixels;
}

// A PNG states its size in its header, so a huge one is refused before
// GDI+ decodes it.
bool PngTooLarge(const uint8_t* bytes, size_t size)
{
    static constexpr uint8_t kSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (bytes == nullptr || size < kPngHeaderSize ||
        std::memcmp(bytes, kSignature, sizeof kSignature) != 0 ||
        std::memcmp(bytes + 12, "IHDR", 4) != 0)
        return false;
    const auto read32 = [bytes](size_t at) {
        return static_cast<uint32_t>(bytes[at]) << 24 | static_cast<uint32_t>(bytes[at + 1]) << 16 |
               static_cast<uint32_t>(bytes[at + 2]) << 8 | bytes[at + 3];
    };
    return TooLarge(read32(16), read32(20));
}

bool PngFileTooLarge(const std::wstring& path)
{
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    uint8_t header[kPngHeaderSize] = {};
    DWORD read = 0;
    const bool readHeader = ::ReadFile(file, header, sizeof header, &read, nullptr) != FALSE;
    ::CloseHandle(file);
    return readHeader && PngTooLarge(header, read);
}

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

    UINT width = 0;
    UINT height = 0;
    if (gdip::GdipGetImageWidth(bitmap, &width) != gdip::Ok ||
        gdip::GdipGetImageHeight(bitmap, &height) != gdip::Ok || TooLarge(width, height))
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

    Gdiplus::PixelFormat format = 0;
    if (gdip::GdipGetImagePixelFormat(bitmap, &format) != gdip::Ok)
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

// A plain PNG decoded without the system's codecs, or null for the general
// path to take it.
std::unique_ptr<ImageInfo> DecodePlainPng(const uint8_t* bytes, size_t size)
{
    std::optional<PngDecoder::Image> png = PngDecoder::Decode(bytes, size);
    if (!png)
        return nullptr;
    const int width = static_cast<int>(png->width);
    const int height = static_cast<int>(png->height);
    // Bottom-up, as the system's codecs hand bitmaps over.
    GdiBitmap bitmap;
    if (!bitmap.Init(nullptr, width, height, false))
        return nullptr;
    const size_t rowBytes = static_cast<size_t>(width) * 4;
    for (int y = 0; y < height; ++y)
        std::memcpy(bitmap.GetBits() + (height - 1 - y) * rowBytes, png->bgra.data() + y * rowBytes,
                    rowBytes);
    auto info = std::make_unique<ImageInfo>();
    info->frames.emplace_back(bitmap.DetachBitmap());
    info->width = width;
    info->height = height;
    info->alphaChannel = png->transparent;
    return info;
}

} // namespace

std::unique_ptr<ImageInfo> ImageDecoder::DecodeBlock(GlobalBlock block)
{
    IStream* rawStream = nullptr;
    if (!block)
        return nullptr;
    const uint8_t* bytes = block.Lock();
    std::unique_ptr<ImageInfo> plain =
        DecodePlainPng(bytes, bytes != nullptr ? block.GetSize() : 0);
    const bool tooLarge = plain == nullptr && PngTooLarge(bytes, block.GetSize());
    block.Unlock();
    if (plain)
        return plain;
    if (tooLarge || ::CreateStreamOnHGlobal(block.Get(), TRUE, &rawStream) != S_OK)
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
    if (PngFileTooLarge(path) ||
        gdip::GdipCreateBitmapFromFile(path.c_str(), &rawBitmap) != gdip::Ok)
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
