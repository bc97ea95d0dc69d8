#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>

namespace ui {

class GdiBitmap;
class IBrush;
class IMatrix;
class IPath;
class IPen;
class IRenderContext;

// Makes the drawing objects of one back end; colours are ARGB.
class IRenderFactory {
public:
    virtual ~IRenderFactory() = default;

    virtual std::unique_ptr<IPen> CreatePen(uint32_t argb, int width) = 0;
    virtual std::unique_ptr<IBrush> CreateBrush(uint32_t argb) = 0;
    // Tiles a copy of the bitmap's pixels.
    virtual std::unique_ptr<IBrush> CreateBrush(HBITMAP bitmap) = 0;
    virtual std::unique_ptr<IPath> CreatePath() = 0;
    virtual std::unique_ptr<IMatrix> CreateMatrix() = 0;
    virtual std::unique_ptr<GdiBitmap> CreateBitmap() = 0;
    virtual std::unique_ptr<IRenderContext> CreateRenderContext() = 0;
};

} // namespace ui
