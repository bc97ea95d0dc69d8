#pragma once

#include "ui/render/GdiBitmap.h"
#include "ui/render/GdiClip.h"
#include "ui/render/IRenderContext.h"

#include <vector>

namespace ui {

class GdiPlusGraphics;
class GdiPlusTextCache;

// Shapes and text go through a GDI+ graphics object on the memory DC: in a
// draw (BeginDraw to EndDraw) one kept until the clip or origin changes,
// otherwise one per call. Bitmaps are copied with BitBlt, StretchBlt and
// AlphaBlend. GDI+ fonts and the string format are made once per context.
class RenderContext_GdiPlus final : public IRenderContext {
public:
    RenderContext_GdiPlus();
    ~RenderContext_GdiPlus() override;
    RenderContext_GdiPlus(const RenderContext_GdiPlus&) = delete;
    RenderContext_GdiPlus& operator=(const RenderContext_GdiPlus&) = delete;

    HDC GetDC() const override { return m_dc; }
    bool Resize(int width, int height, bool flipHeight) override;
    void Clear() override;
    std::unique_ptr<IRenderContext> Clone() override;
    std::unique_ptr<GdiBitmap> DetachBitmap() override;

    int GetWidth() const override { return m_bitmap->GetWidth(); }
    int GetHeight() const override { return m_bitmap->GetHeight(); }
    uint8_t* GetBits() const override { return m_bitmap->GetBits(); }
    void ClearAlpha(const UiRect& rect, uint8_t alpha) override;
    void RestoreAlpha(const UiRect& rect, const UiRect& padding, uint8_t alpha) override;

    void BeginDraw() override;
    void EndDraw() override;

    bool IsRenderTransparent() const override { return m_renderTransparent; }
    bool SetRenderTransparent(bool transparent) override;

    void Save() override;
    void Restore() override;
    UiPoint OffsetWindowOrg(const UiPoint& offset) override;
    UiPoint SetWindowOrg(const UiPoint& origin) override;
    UiPoint GetWindowOrg() const override;
    void SetClip(const UiRect& rect) override;
    void SetRoundClip(const UiRect& rect, int width, int height) override;
    void ClearClip() override;

    bool BitBlt(int x, int y, int cx, int cy, HDC srcDC, int xSrc, int ySrc, DWORD rop) override;
    bool AlphaBlend(int x, int y, int cx, int cy, HDC srcDC, int xSrc, int ySrc, int cxSrc,
                    int cySrc, uint8_t alpha) override;
    void DrawImage(const UiRect& dest, HBITMAP bitmap, bool hasAlpha, const UiRect& paintRect,
                   const UiRect& source, const UiRect& corners, uint8_t fade, bool xTiled,
                   bool yTiled, int imageScale = 100) override;
    void DrawColor(const UiRect& rect, const std::wstring& colourName, uint8_t alpha) override;
    void FillRect(const UiRect& rect, uint32_t argb, uint8_t alpha) override;

    void DrawLine(const IPen& pen, int x1, int y1, int x2, int y2) override;
    void DrawLine(const UiRect& rect, int width, uint32_t argb) override;
    void DrawBezier(const IPen& pen, const UiPoint& p1, const UiPoint& p2, const UiPoint& p3,
                    const UiPoint& p4) override;
    void DrawRect(const UiRect& rect, int width, uint32_t argb) override;
    void DrawRoundRect(const UiRect& rect, const UiSize& roundSize, int width,
                       uint32_t argb) override;
    void DrawText(const UiRect& rect, const std::wstring& text, uint32_t argb,
                  const std::wstring& fontId, uint32_t style, uint8_t alpha,
                  bool lineLimit) override;
    void DrawEllipse(const UiRect& rect, int width, uint32_t argb) override;
    void FillEllipse(const UiRect& rect, uint32_t argb) override;
    UiRect MeasureText(const std::wstring& text, const std::wstring& fontId, uint32_t style,
                       int width) override;
    void DrawPath(const IPath& path, const IPen& pen) override;
    void FillPath(const IPath& path, const IBrush& brush) override;

private:
    // One piece of a nine-grid image, from the bitmap selected into srcDC.
    void DrawImagePiece(HDC srcDC, bool hasAlpha, uint8_t fade, const UiRect& dest,
                        const UiRect& source);
    void DrawTiles(HDC srcDC, bool hasAlpha, uint8_t fade, const UiRect& dest, const UiRect& source,
                   const UiRect& paintRect, bool xTiled, bool yTiled);
    // Makes the pixels of rect (logical) that the clip lets through opaque.
    void MakeOpaque(const UiRect& rect);
    // Fills rect (logical, within the clip) with an opaque colour.
    void FillOpaque(const UiRect& rect, uint32_t argb);
    UiRect ToDevice(const UiRect& rect) const;
    // The draw's graphics object; null outside a draw.
    GdiPlusGraphics* DrawGraphics();
    // The DC's clip or origin changed: the draw's graphics must follow.
    void OnDcStateChanged();

    HDC m_dc = nullptr;
    std::vector<int> m_savedStates;
    HGDIOBJ m_oldBitmap = nullptr;
    bool m_renderTransparent = false;
    GdiClip m_clip;
    std::unique_ptr<GdiBitmap> m_bitmap = std::make_unique<GdiBitmap>();
    int m_drawDepth = 0;
    std::unique_ptr<GdiPlusGraphics> m_drawGraphics;
    std::unique_ptr<GdiPlusTextCache> m_text;
};

} // namespace ui
