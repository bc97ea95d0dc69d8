#include "ui/render/GdiPlusGraphics.h"

namespace ui {

GdiPlusGraphics::GdiPlusGraphics(HDC dc) : m_dc(dc)
{
    // Made without clip at the device origin, so that the clip and
    // translation given later are the only ones.
    const int saved = ::SaveDC(dc);
    ::SelectClipRgn(dc, nullptr);
    ::SetWindowOrgEx(dc, 0, 0, nullptr);
    ::SetViewportOrgEx(dc, 0, 0, nullptr);
    if (gdip::GdipCreateFromHDC(dc, &m_graphics) != gdip::Ok)
        m_graphics = nullptr;
    if (saved != 0)
        ::RestoreDC(dc, saved);
}

GdiPlusGraphics::~GdiPlusGraphics()
{
    if (m_graphics != nullptr)
        gdip::GdipDeleteGraphics(m_graphics);
    if (m_clip != nullptr)
        ::DeleteObject(m_clip);
}

Gdiplus::GpGraphics* GdiPlusGraphics::Get()
{
    if (m_graphics != nullptr && m_stale) {
        FollowDc();
        m_stale = false;
    }
    return m_graphics;
}

void GdiPlusGraphics::FollowDc()
{
    // The clip region is read in device pixels and set while the world
    // transform is the identity, where world and device pixels agree.
    gdip::GdipResetWorldTransform(m_graphics);
    if (m_clip != nullptr && ::GetClipRgn(m_dc, m_clip) == 1)
        gdip::GdipSetClipHrgn(m_graphics, m_clip, Gdiplus::CombineModeReplace);
    else
        gdip::GdipResetClip(m_graphics);
    POINT origin{0, 0};
    ::LPtoDP(m_dc, &origin, 1);
    if (origin.x != 0 || origin.y != 0)
        gdip::GdipTranslateWorldTransform(m_graphics, static_cast<float>(origin.x),
                                          static_cast<float>(origin.y),
                                          Gdiplus::MatrixOrderPrepend);
}

} // namespace ui
