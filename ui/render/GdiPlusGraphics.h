#pragma once

#include "ui/render/GdiPlusApi.h"

namespace ui {

// The GDI+ graphics object of a draw on a memory DC. GDI+ reads a DC's
// clip and origin only when a graphics object is made on it, so the object
// is kept while they stay as they are and made anew on the first use after
// they changed. Setting a GDI+ clip on a kept object instead would make
// every later call convert the clip region again (costly under Wine).
class GdiPlusGraphics {
public:
    explicit GdiPlusGraphics(HDC dc) : m_dc(dc) {}
    ~GdiPlusGraphics();
    GdiPlusGraphics(const GdiPlusGraphics&) = delete;
    GdiPlusGraphics& operator=(const GdiPlusGraphics&) = delete;

    // The graphics object for the DC's current clip and origin; null when
    // GDI+ could not make one.
    Gdiplus::GpGraphics* Get();
    // The DC's clip or origin has changed.
    void MarkStale() { m_stale = true; }
    // Whatever GDI+ still holds reaches the bitmap.
    void Flush();

private:
    void Release();

    HDC m_dc = nullptr;
    Gdiplus::GpGraphics* m_graphics = nullptr;
    bool m_stale = true;
};

} // namespace ui
