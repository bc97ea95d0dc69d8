#include "ui/render/RenderFactory_GdiPlus.h"

#include "ui/render/Brush_GdiPlus.h"
#include "ui/render/GdiBitmap.h"
#include "ui/render/Matrix_GdiPlus.h"
#include "ui/render/Path_GdiPlus.h"
#include "ui/render/Pen_GdiPlus.h"
#include "ui/render/RenderContext_GdiPlus.h"

namespace ui {

std::unique_ptr<IPen> RenderFactory_GdiPlus::CreatePen(uint32_t argb, int width)
{
    return std::make_unique<Pen_GdiPlus>(argb, width);
}

std::unique_ptr<IBrush> RenderFactory_GdiPlus::CreateBrush(uint32_t argb)
{
    return Brush_GdiPlus::CreateSolid(argb);
}

std::unique_ptr<IBrush> RenderFactory_GdiPlus::CreateBrush(HBITMAP bitmap)
{
    return Brush_GdiPlus::CreateTexture(bitmap);
}

std::unique_ptr<IPath> RenderFactory_GdiPlus::CreatePath()
{
    return std::make_unique<Path_GdiPlus>();
}

std::unique_ptr<IMatrix> RenderFactory_GdiPlus::CreateMatrix()
{
    return std::make_unique<Matrix_GdiPlus>();
}

std::unique_ptr<GdiBitmap> RenderFactory_GdiPlus::CreateBitmap()
{
    return std::make_unique<GdiBitmap>();
}

std::unique_ptr<IRenderContext> RenderFactory_GdiPlus::CreateRenderContext()
{
    return std::make_unique<RenderContext_GdiPlus>();
}

} // namespace ui
