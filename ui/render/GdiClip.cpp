#include "ui/render/GdiClip.h"

namespace ui {

void GdiClip::CreateClip(HDC dc, const UiRect& rect)
{
    Apply(dc, ::CreateRectRgn(rect.left, rect.top, rect.right, rect.bottom));
}

void GdiClip::CreateRoundClip(HDC dc, const UiRect& rect, int width, int height)
{
    // Round-rectangle regions exclude their right and bottom edges.
    Apply(dc, ::CreateRoundRectRgn(rect.left, rect.top, rect.right + 1, rect.bottom + 1, width,
                                   height));
}

void GdiClip::Apply(HDC dc, HRGN region)
{
    // A state is saved even when the region cannot be made, so that the
    // matching ClearClip always has its own state to restore.
    m_savedStates.push_back(::SaveDC(dc));
    if (region == nullptr)
        return;
    ::ExtSelectClipRgn(dc, region, RGN_AND);
    ::DeleteObject(region);
}

void GdiClip::ClearClip(HDC dc)
{
    if (m_savedStates.empty())
        return;
    int state = m_savedStates.back();
    m_savedStates.pop_back();
    if (state != 0)
        ::RestoreDC(dc, state);
}

} // namespace ui
