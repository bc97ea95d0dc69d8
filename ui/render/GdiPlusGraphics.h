#pragma once

#include "ui/render/GdiPlusApi.h"

namespace ui {

// One GDI+ graphics object on a memory DC, kept for a whole paint. GDI+
// reads a DC's clip and origin only when a graphics object is made on it,
// so this one is made on the bare DC and given the DC's current clip region
// and origin again whenever they have changed.
class GdiPlusGraphics {
public:
    explicit GdiPlusGraphics(HDC dc);
    ~GdiPlusGraphics();
    GdiPlusGraphics(const GdiPlusGraphics&) = delete;
    GdiPlusGraphics& operator=(const GdiPlusGraphics&) = delete;

    // The graphics object following the DC's clip and origin; null when
    // GDI+ could not make one.
    Gdiplus::GpGraphics* Get();
    // The DC's clip or origin has changed.
    void MarkStale() { m_stale = true; }

private:
    void FollowDc();

    HDC m_dc = nullptr;
    Gdiplus::GpGraphics* m_graphics = nullptr;
    // Scratch region for reading the DC's clip.
    HRGN m_clip = ::CreateRectRgn(0, 0, 0, 0);
    bool m_stale = true;
};

} // namespace ui
