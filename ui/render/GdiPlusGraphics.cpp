#include "ui/render/GdiPlusGraphics.h"

namespace ui {

GdiPlusGraphics::~GdiPlusGraphics()
{
    Release();
}

Gdiplus::GpGraphics* GdiPlusGraphics::Get()
{
    if (m_stale) {
        Release();
        if (gdip::GdipCreateFromHDC(m_dc, &m_graphics) != gdip::Ok)
            m_graphics = nullptr;
        m_stale = false;
    }
    return m_graphics;
}

void GdiPlusGraphics::Flush()
{
    if (m_graphics != nullptr)
        gdip::GdipFlush(m_graphics, Gdiplus::FlushIntentionSync);
}

void GdiPlusGraphics::Release()
{
    if (m_graphics != nullptr)
        gdip::GdipDeleteGraphics(m_graphics);
    m_graphics = nullptr;
}

} // namespace ui
