#pragma once

#include "ui/markup/GlobalBlock.h"
#include "ui/markup/ImageInfo.h"

#include <windows.h>

#include <memory>
#include <string>

namespace ui {

// Decodes PNG, GIF, JPEG, BMP and the other formats of GDI+ into per-frame
// GDI bitmaps, so that painting only blits. Null on any failure, and for
// images of more than 16 M pixels.
class ImageDecoder {
public:
    // From the encoded bytes of a skin archive entry.
    static std::unique_ptr<ImageInfo> DecodeBlock(GlobalBlock block);
    static std::unique_ptr<ImageInfo> DecodeFile(const std::wstring& path);

    // True when some pixel of a 32-bit bitmap has alpha below 255.
    static bool HasTransparentPixel(HBITMAP bitmap);
};

} // namespace ui
