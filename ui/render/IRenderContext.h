#pragma once

#include "ui/render/UiPoint.h"
#include "ui/render/UiRect.h"
#include "ui/render/UiSize.h"

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

namespace ui {

class GdiBitmap;
class IBrush;
class IPath;
class IPen;

// Text style bits for DrawText and MeasureText (the DT_ values of GDI).
enum TextStyle : uint32_t {
    kTextCenter = 0x1,
    kTextRight = 0x2,
    kTextVCenter = 0x4,
    kTextBottom = 0x8,
    kTextSingleLine = 0x20,
    kTextNoClip = 0x100,
    kTextEndEllipsis = 0x8000,
};

// The off-screen surface that windows and controls paint through: a memory
// DC with a 32-bit bitmap. Coordinates are logical (window-origin) pixels;
// colours are ARGB with alpha in the top byte.
class IRenderContext {
public:
    virtual ~IRenderContext() = default;

    virtual HDC GetDC() const = 0;
    // False when the size is unchanged or not positive; otherwise the
    // bitmap is made anew (top-down rows when flipHeight) and cleared.
    virtual bool Resize(int width, int height, bool flipHeight) = 0;
    virtual void Clear() = 0;
    virtual std::unique_ptr<IRenderContext> Clone() = 0;
    // Deselects the bitmap and hands it over; the context has none after.
    virtual std::unique_ptr<GdiBitmap> DetachBitmap() = 0;

    virtual int GetWidth() const = 0;
    virtual int GetHeight() const = 0;
    virtual uint8_t* GetBits() const = 0;
    // Sets every byte of the pixels in rect (device pixels) to alpha.
    virtual void ClearAlpha(const UiRect& rect, uint8_t alpha) = 0;
    // Pixels in rect minus the padding insets whose alpha equals `alpha`
    // become opaque.
    virtual void RestoreAlpha(const UiRect& rect, const UiRect& padding, uint8_t alpha) = 0;

    // A draw (a window's paint, a frame): calls between BeginDraw and
    // EndDraw share their graphics object (made anew only when the clip or
    // origin changes) instead of making one each. Draws nest; the outermost
    // EndDraw ends it, after which the pixels may be read directly.
    virtual void BeginDraw() = 0;
    virtual void EndDraw() = 0;

    virtual bool IsRenderTransparent() const = 0;
    // Answers the previous value.
    virtual bool SetRenderTransparent(bool transparent) = 0;

    // Save and Restore nest; so do SetClip/SetRoundClip and ClearClip.
    virtual void Save() = 0;
    virtual void Restore() = 0;
    virtual UiPoint OffsetWindowOrg(const UiPoint& offset) = 0;
    virtual UiPoint SetWindowOrg(const UiPoint& origin) = 0;
    virtual UiPoint GetWindowOrg() const = 0;
    virtual void SetClip(const UiRect& rect) = 0;
    virtual void SetRoundClip(const UiRect& rect, int width, int height) = 0;
    virtual void ClearClip() = 0;

    virtual bool BitBlt(int x, int y, int cx, int cy, HDC srcDC, int xSrc, int ySrc, DWORD rop) = 0;
    virtual bool AlphaBlend(int x, int y, int cx, int cy, HDC srcDC, int xSrc, int ySrc, int cxSrc,
                            int cySrc, uint8_t alpha) = 0;
    // Nine-grid drawing of `source` of the bitmap into dest: the corner
    // insets stay unstretched, the middle is stretched or tiled. The corners
    // are written for the image at 100 %; imageScale is the scale the
    // bitmap's pixels are drawn for (its corners are that much larger).
    virtual void DrawImage(const UiRect& dest, HBITMAP bitmap, bool hasAlpha,
                           const UiRect& paintRect, const UiRect& source, const UiRect& corners,
                           uint8_t fade, bool xTiled, bool yTiled, int imageScale = 100) = 0;
    // colourName is a name of the global text-colour table.
    virtual void DrawColor(const UiRect& rect, const std::wstring& colourName, uint8_t alpha) = 0;
    virtual void FillRect(const UiRect& rect, uint32_t argb, uint8_t alpha) = 0;

    virtual void DrawLine(const IPen& pen, int x1, int y1, int x2, int y2) = 0;
    virtual void DrawLine(const UiRect& rect, int width, uint32_t argb) = 0;
    virtual void DrawBezier(const IPen& pen, const UiPoint& p1, const UiPoint& p2,
                            const UiPoint& p3, const UiPoint& p4) = 0;
    virtual void DrawRect(const UiRect& rect, int width, uint32_t argb) = 0;
    virtual void DrawRoundRect(const UiRect& rect, const UiSize& roundSize, int width,
                               uint32_t argb) = 0;
    // fontId names a global font ("" the default font); style is TextStyle
    // bits; lineLimit shows only whole lines.
    virtual void DrawText(const UiRect& rect, const std::wstring& text, uint32_t argb,
                          const std::wstring& fontId, uint32_t style, uint8_t alpha,
                          bool lineLimit) = 0;
    virtual void DrawEllipse(const UiRect& rect, int width, uint32_t argb) = 0;
    virtual void FillEllipse(const UiRect& rect, uint32_t argb) = 0;
    // The text's bounding box, one pixel larger in each dimension than
    // GDI+ measures it. width -1: no width limit.
    virtual UiRect MeasureText(const std::wstring& text, const std::wstring& fontId, uint32_t style,
                               int width) = 0;
    virtual void DrawPath(const IPath& path, const IPen& pen) = 0;
    virtual void FillPath(const IPath& path, const IBrush& brush) = 0;
};

} // namespace ui
