#pragma once

#include "ui/render/IRenderFactory.h"

namespace ui {

// The GDI+ back end. GDI+ must be started (GdiPlusSession) before any
// object it makes is used.
class RenderFactory_GdiPlus final : public IRenderFactory {
public:
    std::unique_ptr<IPen> CreatePen(uint32_t argb, int width) override;
    std::unique_ptr<IBrush> CreateBrush(uint32_t argb) override;
    std::unique_ptr<IBrush> CreateBrush(HBITMAP bitmap) override;
    std::unique_ptr<IPath> CreatePath() override;
    std::unique_ptr<IMatrix> CreateMatrix() override;
    std::unique_ptr<GdiBitmap> CreateBitmap() override;
    std::unique_ptr<IRenderContext> CreateRenderContext() override;
};

} // namespace ui
