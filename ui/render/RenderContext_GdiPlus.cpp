#include "ui/render/RenderContext_GdiPlus.h"

#include "ui/markup/DpiManager.h"
#include "ui/markup/GlobalManager.h"
#include "ui/render/Brush_GdiPlus.h"
#include "ui/render/GdiPlusApi.h"
#include "ui/render/GdiPlusGraphics.h"
#include "ui/render/GdiPlusTextCache.h"
#include "ui/render/Path_GdiPlus.h"
#include "ui/render/Pen_GdiPlus.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace ui {
namespace {

// The GDI+ graphics object of one call: the draw's shared one while a draw
// is open, otherwise one made on the DC for this call alone. Either starts
// without anti-aliasing.
class Graphics {
public:
    Graphics(HDC dc, GdiPlusGraphics* shared)
    {
        if (shared != nullptr) {
            m_graphics = shared->Get();
            if (m_graphics != nullptr)
                gdip::GdipSetSmoothingMode(m_graphics, Gdiplus::SmoothingModeDefault);
            return;
        }
        if (gdip::GdipCreateFromHDC(dc, &m_owned) == gdip::Ok)
            m_graphics = m_owned;
        else
            m_owned = nullptr;
    }
    ~Graphics()
    {
        if (m_owned != nullptr)
            gdip::GdipDeleteGraphics(m_owned);
    }
    Graphics(const Graphics&) = delete;
    Graphics& operator=(const Graphics&) = delete;

    Gdiplus::GpGraphics* Get() const { return m_graphics; }
    explicit operator bool() const { return m_graphics != nullptr; }
    void SetAntiAlias() { gdip::GdipSetSmoothingMode(m_graphics, Gdiplus::SmoothingModeAntiAlias); }

private:
    Gdiplus::GpGraphics* m_graphics = nullptr;
    Gdiplus::GpGraphics* m_owned = nullptr;
};

template <typename T, Gdiplus::GpStatus (*Delete)(T*)>
struct GdiPlusDeleter {
    void operator()(T* object) const { Delete(object); }
};
using FontPtr =
    std::unique_ptr<Gdiplus::GpFont, GdiPlusDeleter<Gdiplus::GpFont, gdip::GdipDeleteFont>>;
using BrushPtr =
    std::unique_ptr<Gdiplus::GpBrush, GdiPlusDeleter<Gdiplus::GpBrush, gdip::GdipDeleteBrush>>;
using PenPtr = std::unique_ptr<Gdiplus::GpPen, GdiPlusDeleter<Gdiplus::GpPen, gdip::GdipDeletePen>>;
using PathPtr =
    std::unique_ptr<Gdiplus::GpPath, GdiPlusDeleter<Gdiplus::GpPath, gdip::GdipDeletePath>>;

BrushPtr MakeSolidBrush(uint32_t argb)
{
    Gdiplus::GpSolidFill* fill = nullptr;
    gdip::GdipCreateSolidFill(argb, &fill);
    return BrushPtr(fill);
}

PenPtr MakePen(uint32_t argb, int width)
{
    Gdiplus::GpPen* pen = nullptr;
    gdip::GdipCreatePen1(argb, static_cast<float>(width), Gdiplus::UnitPixel, &pen);
    return PenPtr(pen);
}

// The font of one call: the cached GDI+ font of the global font fontId, or
// the DC's current font, made for this call, when the id names no font.
struct CallFont {
    FontPtr owned;
    Gdiplus::GpFont* font = nullptr;
};

CallFont MakeFont(HDC dc, GdiPlusTextCache& cache, const std::wstring& fontId,
                  std::wstring* faceName)
{
    CallFont result;
    const FontInfo* info = GlobalManager::GetFont(fontId);
    if (info != nullptr && info->handle) {
        result.font = cache.GetFont(dc, fontId, info->logFont, info->faceName, faceName);
    } else {
        Gdiplus::GpFont* font = nullptr;
        if (gdip::GdipCreateFontFromDC(dc, &font) != gdip::Ok)
            font = nullptr;
        result.owned.reset(font);
        result.font = font;
    }
    return result;
}

// The text format: the generic typographic one with its flags, trimming
// and alignments all set from the call. The generic format carries
// line-limit, no-clip and no-fit-black-box flags of its own; they are
// replaced, not added to, so that only the text style decides.
void SetUpFormat(Gdiplus::GpStringFormat* format, INT flags, bool endEllipsis,
                 Gdiplus::StringAlignment horizontal, Gdiplus::StringAlignment vertical)
{
    gdip::GdipSetStringFormatFlags(format, flags);
    gdip::GdipSetStringFormatTrimming(format, endEllipsis ? Gdiplus::StringTrimmingEllipsisCharacter
                                                          : Gdiplus::StringTrimmingNone);
    gdip::GdipSetStringFormatAlign(format, horizontal);
    gdip::GdipSetStringFormatLineAlign(format, vertical);
}

// Texts are drawn and measured up to this many code units. No control
// shows more on screen, and GDI+ takes tens of seconds over a text of
// megabytes (a skin's attribute can be that long).
constexpr size_t kMaxTextLength = 8192;

INT TextLength(const std::wstring& text)
{
    size_t length = std::min(text.size(), kMaxTextLength);
    // A surrogate pair is never split.
    if (length < text.size() && length > 0 && text[length - 1] >= 0xD800 &&
        text[length - 1] <= 0xDBFF)
        --length;
    return static_cast<INT>(length);
}

Gdiplus::RectF ToRectF(const UiRect& rect)
{
    return Gdiplus::RectF(static_cast<float>(rect.left), static_cast<float>(rect.top),
                          static_cast<float>(rect.Width()), static_cast<float>(rect.Height()));
}

bool SameSize(const UiRect& a, const UiRect& b)
{
    return a.Width() == b.Width() && a.Height() == b.Height();
}

PathPtr MakePath()
{
    Gdiplus::GpPath* path = nullptr;
    gdip::GdipCreatePath(Gdiplus::FillModeAlternate, &path);
    return PathPtr(path);
}

// The outline of a rounded rectangle as paths to stroke one by one. Some
// renderers stroke through a buffer of the path's whole bounds, so a
// window-sized outline in one path costs as much as filling the window:
// it is cut into its four corners and four sides instead. The cuts fall
// across straight runs on pixel boundaries (half-integer coordinates, pixel
// centres being whole), a pixel or more past the arcs, so that each pixel
// is covered by one piece alone and comes out as in the whole outline (a
// pen wider than a pixel may differ by a pixel or two where a cut meets
// its corner). An outline too small for such cuts stays one closed path.
std::vector<PathPtr> RoundRectPieces(const UiRect& rect, const UiSize& round)
{
    const float l = static_cast<float>(rect.left);
    const float t = static_cast<float>(rect.top);
    const float r = static_cast<float>(rect.right);
    const float b = static_cast<float>(rect.bottom);
    const float hw = static_cast<float>(round.cx) / 2;
    const float hh = static_cast<float>(round.cy) / 2;
    // The first pixel boundary a pixel or more past each end of the
    // rounding: a stroke's end is cut square to its direction, and just
    // past an arc the direction is not yet quite straight.
    const float left = std::ceil(l + hw + 0.5f) + 0.5f;
    const float right = std::floor(r - hw - 0.5f) - 0.5f;
    const float top = std::ceil(t + hh + 0.5f) + 0.5f;
    const float bottom = std::floor(b - hh - 0.5f) - 0.5f;
    std::vector<PathPtr> pieces;
    const int w = round.cx;
    const int h = round.cy;
    if (w <= 0 || h <= 0 || left >= right || top >= bottom) {
        PathPtr path = MakePath();
        if (path) {
            gdip::GdipAddPathArcI(path.get(), rect.left, rect.top, w, h, 180, 90);
            gdip::GdipAddPathArcI(path.get(), rect.right - w, rect.top, w, h, 270, 90);
            gdip::GdipAddPathArcI(path.get(), rect.right - w, rect.bottom - h, w, h, 0, 90);
            gdip::GdipAddPathArcI(path.get(), rect.left, rect.bottom - h, w, h, 90, 90);
            gdip::GdipClosePathFigure(path.get());
        }
        pieces.push_back(std::move(path));
        return pieces;
    }
    const auto line = [](Gdiplus::GpPath* path, float x1, float y1, float x2, float y2) {
        if (x1 != x2 || y1 != y2)
            gdip::GdipAddPathLine(path, x1, y1, x2, y2);
    };
    // Each corner runs from the cut before it to the cut after it, clockwise.
    struct Corner {
        float fromX, fromY, arcStartX, arcStartY;
        int arcX, arcY, angle;
        float arcEndX, arcEndY, toX, toY;
    };
    const Corner corners[] = {
        {l, top, l, t + hh, rect.left, rect.top, 180, l + hw, t, left, t},
        {right, t, r - hw, t, rect.right - w, rect.top, 270, r, t + hh, r, top},
        {r, bottom, r, b - hh, rect.right - w, rect.bottom - h, 0, r - hw, b, right, b},
        {left, b, l + hw, b, rect.left, rect.bottom - h, 90, l, b - hh, l, bottom},
    };
    const float sides[4][4] = {
        {left, t, right, t}, {r, top, r, bottom}, {right, b, left, b}, {l, bottom, l, top}};
    for (int i = 0; i < 4; ++i) {
        const Corner& c = corners[i];
        PathPtr corner = MakePath();
        PathPtr side = MakePath();
        if (corner) {
            line(corner.get(), c.fromX, c.fromY, c.arcStartX, c.arcStartY);
            gdip::GdipAddPathArcI(corner.get(), c.arcX, c.arcY, w, h, static_cast<float>(c.angle),
                                  90);
            line(corner.get(), c.arcEndX, c.arcEndY, c.toX, c.toY);
        }
        if (side)
            line(side.get(), sides[i][0], sides[i][1], sides[i][2], sides[i][3]);
        pieces.push_back(std::move(corner));
        pieces.push_back(std::move(side));
    }
    return pieces;
}

} // namespace

RenderContext_GdiPlus::RenderContext_GdiPlus()
    : m_dc(::CreateCompatibleDC(nullptr)), m_text(std::make_unique<GdiPlusTextCache>())
{
}

RenderContext_GdiPlus::~RenderContext_GdiPlus()
{
    // GDI+ objects made on the DC go before it.
    m_drawGraphics.reset();
    m_text.reset();
    if (m_oldBitmap != nullptr)
        ::SelectObject(m_dc, m_oldBitmap);
    if (m_dc != nullptr)
        ::DeleteDC(m_dc);
}

bool RenderContext_GdiPlus::Resize(int width, int height, bool flipHeight)
{
    if (m_bitmap->GetWidth() == width && m_bitmap->GetHeight() == height)
        return false;
    // A draw's graphics object belongs to the bitmap it was made on.
    m_drawGraphics.reset();
    if (m_oldBitmap != nullptr) {
        ::SelectObject(m_dc, m_oldBitmap);
        m_oldBitmap = nullptr;
    }
    if (!m_bitmap->Init(m_dc, width, height, flipHeight))
        return false;
    m_oldBitmap = ::SelectObject(m_dc, m_bitmap->GetBitmap());
    return true;
}

void RenderContext_GdiPlus::Clear()
{
    m_bitmap->ClearAlpha(UiRect(0, 0, m_bitmap->GetWidth(), m_bitmap->GetHeight()), 0);
}

std::unique_ptr<IRenderContext> RenderContext_GdiPlus::Clone()
{
    auto copy = std::make_unique<RenderContext_GdiPlus>();
    const int width = m_bitmap->GetWidth();
    const int height = m_bitmap->GetHeight();
    if (copy->Resize(width, height, m_bitmap->IsTopDown()))
        ::BitBlt(copy->GetDC(), 0, 0, width, height, m_dc, 0, 0, SRCCOPY);
    return copy;
}

std::unique_ptr<GdiBitmap> RenderContext_GdiPlus::DetachBitmap()
{
    m_drawGraphics.reset();
    if (m_oldBitmap != nullptr) {
        ::SelectObject(m_dc, m_oldBitmap);
        m_oldBitmap = nullptr;
    }
    return std::exchange(m_bitmap, std::make_unique<GdiBitmap>());
}

void RenderContext_GdiPlus::ClearAlpha(const UiRect& rect, uint8_t alpha)
{
    m_bitmap->ClearAlpha(rect, alpha);
}

void RenderContext_GdiPlus::RestoreAlpha(const UiRect& rect, const UiRect& padding, uint8_t alpha)
{
    m_bitmap->RestoreAlpha(rect, padding, alpha);
}

void RenderContext_GdiPlus::BeginDraw()
{
    ++m_drawDepth;
}

void RenderContext_GdiPlus::EndDraw()
{
    if (m_drawDepth == 0)
        return;
    if (--m_drawDepth == 0) {
        // Whatever GDI+ still holds reaches the bitmap before anyone reads it.
        if (m_drawGraphics != nullptr)
            m_drawGraphics->Flush();
        m_drawGraphics.reset();
    }
}

GdiPlusGraphics* RenderContext_GdiPlus::DrawGraphics()
{
    if (m_drawDepth == 0)
        return nullptr;
    if (m_drawGraphics == nullptr)
        m_drawGraphics = std::make_unique<GdiPlusGraphics>(m_dc);
    return m_drawGraphics.get();
}

void RenderContext_GdiPlus::OnDcStateChanged()
{
    if (m_drawGraphics != nullptr)
        m_drawGraphics->MarkStale();
}

bool RenderContext_GdiPlus::SetRenderTransparent(bool transparent)
{
    return std::exchange(m_renderTransparent, transparent);
}

void RenderContext_GdiPlus::Save()
{
    m_savedStates.push_back(::SaveDC(m_dc));
}

void RenderContext_GdiPlus::Restore()
{
    if (m_savedStates.empty())
        return;
    const int state = m_savedStates.back();
    m_savedStates.pop_back();
    if (state != 0)
        ::RestoreDC(m_dc, state);
    OnDcStateChanged();
}

UiPoint RenderContext_GdiPlus::OffsetWindowOrg(const UiPoint& offset)
{
    POINT old = {};
    ::GetWindowOrgEx(m_dc, &old);
    ::SetWindowOrgEx(m_dc, old.x + offset.x, old.y + offset.y, nullptr);
    OnDcStateChanged();
    return UiPoint(old.x, old.y);
}

UiPoint RenderContext_GdiPlus::SetWindowOrg(const UiPoint& origin)
{
    POINT old = {};
    ::SetWindowOrgEx(m_dc, origin.x, origin.y, &old);
    OnDcStateChanged();
    return UiPoint(old.x, old.y);
}

UiPoint RenderContext_GdiPlus::GetWindowOrg() const
{
    POINT origin = {};
    ::GetWindowOrgEx(m_dc, &origin);
    return UiPoint(origin.x, origin.y);
}

UiRect RenderContext_GdiPlus::ToDevice(const UiRect& rect) const
{
    POINT corners[2] = {{rect.left, rect.top}, {rect.right, rect.bottom}};
    ::LPtoDP(m_dc, corners, 2);
    return UiRect(corners[0].x, corners[0].y, corners[1].x, corners[1].y);
}

void RenderContext_GdiPlus::SetClip(const UiRect& rect)
{
    m_clip.CreateClip(m_dc, ToDevice(rect));
    OnDcStateChanged();
}

void RenderContext_GdiPlus::SetRoundClip(const UiRect& rect, int width, int height)
{
    m_clip.CreateRoundClip(m_dc, ToDevice(rect), width, height);
    OnDcStateChanged();
}

void RenderContext_GdiPlus::ClearClip()
{
    m_clip.ClearClip(m_dc);
    OnDcStateChanged();
}

bool RenderContext_GdiPlus::BitBlt(int x, int y, int cx, int cy, HDC srcDC, int xSrc, int ySrc,
                                   DWORD rop)
{
    return ::BitBlt(m_dc, x, y, cx, cy, srcDC, xSrc, ySrc, rop) != FALSE;
}

bool RenderContext_GdiPlus::AlphaBlend(int x, int y, int cx, int cy, HDC srcDC, int xSrc, int ySrc,
                                       int cxSrc, int cySrc, uint8_t alpha)
{
    BLENDFUNCTION blend = {AC_SRC_OVER, 0, alpha, AC_SRC_ALPHA};
    return ::AlphaBlend(m_dc, x, y, cx, cy, srcDC, xSrc, ySrc, cxSrc, cySrc, blend) != FALSE;
}

void RenderContext_GdiPlus::DrawImagePiece(HDC srcDC, bool hasAlpha, uint8_t fade,
                                           const UiRect& dest, const UiRect& source)
{
    if (dest.IsEmpty() || source.IsEmpty())
        return;
    if (!m_renderTransparent && !hasAlpha && fade == 255 && !SameSize(dest, source)) {
        ::StretchBlt(m_dc, dest.left, dest.top, dest.Width(), dest.Height(), srcDC, source.left,
                     source.top, source.Width(), source.Height(), SRCCOPY);
        // A stretched copy does not carry the alpha byte over (halftoning
        // works on colour only), yet an image without alpha is opaque:
        // whatever is blended over it later must stay opaque too.
        MakeOpaque(dest);
        return;
    }
    AlphaBlend(dest.left, dest.top, dest.Width(), dest.Height(), srcDC, source.left, source.top,
               source.Width(), source.Height(), fade);
}

void RenderContext_GdiPlus::MakeOpaque(const UiRect& rect)
{
    const UiRect device = ToDevice(rect);
    HRGN clip = ::CreateRectRgn(0, 0, 0, 0);
    if (clip == nullptr)
        return;
    // The clip region is kept in device coordinates.
    if (::GetClipRgn(m_dc, clip) != 1) {
        m_bitmap->SetAlpha(device, 255);
        ::DeleteObject(clip);
        return;
    }
    HRGN area = ::CreateRectRgn(device.left, device.top, device.right, device.bottom);
    if (area != nullptr && ::CombineRgn(area, area, clip, RGN_AND) != ERROR) {
        std::vector<uint8_t> data(::GetRegionData(area, 0, nullptr));
        auto* region = reinterpret_cast<RGNDATA*>(data.data());
        if (!data.empty() && ::GetRegionData(area, static_cast<DWORD>(data.size()), region) != 0) {
            const auto* rects = reinterpret_cast<const RECT*>(region->Buffer);
            for (DWORD i = 0; i < region->rdh.nCount; ++i)
                m_bitmap->SetAlpha(
                    UiRect(rects[i].left, rects[i].top, rects[i].right, rects[i].bottom), 255);
        }
    }
    if (area != nullptr)
        ::DeleteObject(area);
    ::DeleteObject(clip);
}

void RenderContext_GdiPlus::DrawTiles(HDC srcDC, bool hasAlpha, uint8_t fade, const UiRect& dest,
                                      const UiRect& source, const UiRect& paintRect, bool xTiled,
                                      bool yTiled)
{
    // A tile of no size would never cover the area.
    if ((xTiled && source.Width() <= 0) || (yTiled && source.Height() <= 0))
        return;
    const int tileWidth = xTiled ? source.Width() : dest.Width();
    const int tileHeight = yTiled ? source.Height() : dest.Height();
    for (int top = dest.top; top < dest.bottom; top += tileHeight) {
        const int height = std::min(tileHeight, dest.bottom - top);
        for (int left = dest.left; left < dest.right; left += tileWidth) {
            const int width = std::min(tileWidth, dest.right - left);
            UiRect tile(left, top, left + width, top + height);
            if (!tile.Intersects(paintRect))
                continue;
            // The last copy shows only as much of the source as fits; a
            // direction that is not tiled stretches the whole source.
            UiRect piece(source.left, source.top, xTiled ? source.left + width : source.right,
                         yTiled ? source.top + height : source.bottom);
            DrawImagePiece(srcDC, hasAlpha, fade, tile, piece);
        }
    }
}

void RenderContext_GdiPlus::DrawImage(const UiRect& dest, HBITMAP bitmap, bool hasAlpha,
                                      const UiRect& paintRect, const UiRect& source,
                                      const UiRect& corners, uint8_t fade, bool xTiled, bool yTiled,
                                      int imageScale)
{
    if (bitmap == nullptr || !dest.Intersects(paintRect))
        return;
    HDC srcDC = ::CreateCompatibleDC(m_dc);
    if (srcDC == nullptr)
        return;
    HGDIOBJ oldSrcBitmap = ::SelectObject(srcDC, bitmap);
    ::SetStretchBltMode(m_dc, HALFTONE);

    // Corners in the bitmap's pixels (c) and on the screen (d).
    const DpiManager& dpi = DpiManager::GetInstance();
    const UiRect c(DpiManager::ScaleBy(corners.left, imageScale),
                   DpiManager::ScaleBy(corners.top, imageScale),
                   DpiManager::ScaleBy(corners.right, imageScale),
                   DpiManager::ScaleBy(corners.bottom, imageScale));
    const UiRect d(dpi.ScaleInt(corners.left), dpi.ScaleInt(corners.top),
                   dpi.ScaleInt(corners.right), dpi.ScaleInt(corners.bottom));
    const UiRect& s = source;

    UiRect middleDest = dest;
    middleDest.Deflate(d);
    UiRect middleSource = source;
    middleSource.Deflate(c);
    if (middleDest.Intersects(paintRect)) {
        if (!xTiled && !yTiled)
            DrawImagePiece(srcDC, hasAlpha, fade, middleDest, middleSource);
        else
            DrawTiles(srcDC, hasAlpha, fade, middleDest, middleSource, paintRect, xTiled, yTiled);
    }

    struct Piece {
        bool present;
        UiRect dest;
        UiRect source;
    };
    const Piece pieces[] = {
        // top-left, top, top-right
        {c.left > 0 && c.top > 0,
         {dest.left, dest.top, dest.left + d.left, dest.top + d.top},
         {s.left, s.top, s.left + c.left, s.top + c.top}},
        {c.top > 0,
         {dest.left + d.left, dest.top, dest.right - d.right, dest.top + d.top},
         {s.left + c.left, s.top, s.right - c.right, s.top + c.top}},
        {c.right > 0 && c.top > 0,
         {dest.right - d.right, dest.top, dest.right, dest.top + d.top},
         {s.right - c.right, s.top, s.right, s.top + c.top}},
        // left, right
        {c.left > 0,
         {dest.left, dest.top + d.top, dest.left + d.left, dest.bottom - d.bottom},
         {s.left, s.top + c.top, s.left + c.left, s.bottom - c.bottom}},
        {c.right > 0,
         {dest.right - d.right, dest.top + d.top, dest.right, dest.bottom - d.bottom},
         {s.right - c.right, s.top + c.top, s.right, s.bottom - c.bottom}},
        // bottom-left, bottom, bottom-right
        {c.left > 0 && c.bottom > 0,
         {dest.left, dest.bottom - d.bottom, dest.left + d.left, dest.bottom},
         {s.left, s.bottom - c.bottom, s.left + c.left, s.bottom}},
        {c.bottom > 0,
         {dest.left + d.left, dest.bottom - d.bottom, dest.right - d.right, dest.bottom},
         {s.left + c.left, s.bottom - c.bottom, s.right - c.right, s.bottom}},
        {c.right > 0 && c.bottom > 0,
         {dest.right - d.right, dest.bottom - d.bottom, dest.right, dest.bottom},
         {s.right - c.right, s.bottom - c.bottom, s.right, s.bottom}},
    };
    for (const Piece& piece : pieces) {
        if (piece.present && piece.dest.Intersects(paintRect))
            DrawImagePiece(srcDC, hasAlpha, fade, piece.dest, piece.source);
    }

    ::SelectObject(srcDC, oldSrcBitmap);
    ::DeleteDC(srcDC);
}

void RenderContext_GdiPlus::DrawColor(const UiRect& rect, const std::wstring& colourName,
                                      uint8_t alpha)
{
    if (colourName.empty())
        return;
    FillRect(rect, GlobalManager::GetTextColor(colourName), alpha);
}

void RenderContext_GdiPlus::FillRect(const UiRect& rect, uint32_t argb, uint8_t alpha)
{
    if (alpha < 255) {
        // Only the alpha byte is weakened; the colour stays.
        const uint32_t a = (argb >> 24) * alpha / 255;
        argb = (a << 24) | (argb & 0x00FFFFFF);
    }
    if ((argb >> 24) == 0xFF) {
        FillOpaque(rect, argb);
        return;
    }
    Graphics graphics(m_dc, DrawGraphics());
    BrushPtr brush = MakeSolidBrush(argb);
    if (graphics && brush)
        gdip::GdipFillRectangleI(graphics.Get(), brush.get(), rect.left, rect.top, rect.Width(),
                                 rect.Height());
}

void RenderContext_GdiPlus::FillOpaque(const UiRect& rect, uint32_t argb)
{
    if (rect.IsEmpty())
        return;
    // The same pixels as GDI+ fills, at a fraction of the cost: GDI+ turns
    // the DC's clip region (a rounded window's) into its own on every call.
    // GDI writes the alpha byte as 0, so the filled pixels are made opaque.
    HBRUSH brush = ::CreateSolidBrush(RGB((argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF));
    if (brush == nullptr)
        return;
    const RECT area{rect.left, rect.top, rect.right, rect.bottom};
    ::FillRect(m_dc, &area, brush);
    ::DeleteObject(brush);
    MakeOpaque(rect);
}

void RenderContext_GdiPlus::DrawLine(const IPen& pen, int x1, int y1, int x2, int y2)
{
    Graphics graphics(m_dc, DrawGraphics());
    Gdiplus::GpPen* gdiplusPen = static_cast<const Pen_GdiPlus&>(pen).GetPen();
    if (!graphics || gdiplusPen == nullptr)
        return;
    graphics.SetAntiAlias();
    gdip::GdipDrawLineI(graphics.Get(), gdiplusPen, x1, y1, x2, y2);
}

void RenderContext_GdiPlus::DrawLine(const UiRect& rect, int width, uint32_t argb)
{
    Graphics graphics(m_dc, DrawGraphics());
    PenPtr pen = MakePen(argb, width);
    if (graphics && pen)
        gdip::GdipDrawLineI(graphics.Get(), pen.get(), rect.left, rect.top, rect.right,
                            rect.bottom);
}

void RenderContext_GdiPlus::DrawBezier(const IPen& pen, const UiPoint& p1, const UiPoint& p2,
                                       const UiPoint& p3, const UiPoint& p4)
{
    Graphics graphics(m_dc, DrawGraphics());
    Gdiplus::GpPen* gdiplusPen = static_cast<const Pen_GdiPlus&>(pen).GetPen();
    if (!graphics || gdiplusPen == nullptr)
        return;
    graphics.SetAntiAlias();
    gdip::GdipDrawBezierI(graphics.Get(), gdiplusPen, p1.x, p1.y, p2.x, p2.y, p3.x, p3.y, p4.x,
                          p4.y);
}

void RenderContext_GdiPlus::DrawRect(const UiRect& rect, int width, uint32_t argb)
{
    Graphics graphics(m_dc, DrawGraphics());
    PenPtr pen = MakePen(argb, width);
    if (graphics && pen)
        gdip::GdipDrawRectangleI(graphics.Get(), pen.get(), rect.left, rect.top, rect.Width(),
                                 rect.Height());
}

void RenderContext_GdiPlus::DrawRoundRect(const UiRect& rect, const UiSize& roundSize, int width,
                                          uint32_t argb)
{
    Graphics graphics(m_dc, DrawGraphics());
    PenPtr pen = MakePen(argb, width);
    if (!graphics || !pen)
        return;
    graphics.SetAntiAlias();
    for (const PathPtr& piece : RoundRectPieces(rect, roundSize)) {
        if (piece)
            gdip::GdipDrawPath(graphics.Get(), pen.get(), piece.get());
    }
}

void RenderContext_GdiPlus::DrawText(const UiRect& rect, const std::wstring& text, uint32_t argb,
                                     const std::wstring& fontId, uint32_t style, uint8_t alpha,
                                     bool lineLimit)
{
    if (text.empty())
        return;
    Graphics graphics(m_dc, DrawGraphics());
    std::wstring faceName;
    const CallFont font = MakeFont(m_dc, *m_text, fontId, &faceName);
    Gdiplus::GpStringFormat* format = m_text->GetFormat();
    if (!graphics || font.font == nullptr || format == nullptr)
        return;

    // An opaque brush lets GDI+ draw text through GDI, which does not keep
    // the alpha channel of a 32-bit bitmap; below 255 GDI+ blends the glyphs
    // itself.
    const uint32_t a = std::min<uint32_t>((argb >> 24) * alpha / 255, 254);
    BrushPtr brush = MakeSolidBrush((a << 24) | (argb & 0x00FFFFFF));
    if (!brush)
        return;

    INT flags = 0;
    if (style & kTextNoClip)
        flags |= Gdiplus::StringFormatFlagsNoClip;
    if (style & kTextSingleLine)
        flags |= Gdiplus::StringFormatFlagsNoWrap;
    if (lineLimit)
        flags |= Gdiplus::StringFormatFlagsLineLimit;

    Gdiplus::StringAlignment horizontal = Gdiplus::StringAlignmentNear;
    if (style & kTextCenter)
        horizontal = Gdiplus::StringAlignmentCenter;
    else if (style & kTextRight)
        horizontal = Gdiplus::StringAlignmentFar;

    Gdiplus::RectF layout = ToRectF(rect);
    Gdiplus::StringAlignment vertical = Gdiplus::StringAlignmentNear;
    if (style & kTextVCenter) {
        vertical = Gdiplus::StringAlignmentCenter;
        // This bitmap face sits one pixel high when centred.
        float fontHeight = 0;
        gdip::GdipGetFontHeight(font.font, graphics.Get(), &fontHeight);
        if (faceName == L"\u65B0\u5B8B\u4F53" &&
            static_cast<float>(rect.Height()) >= fontHeight + 2)
            layout.Y += 1;
    } else if (style & kTextBottom) {
        vertical = Gdiplus::StringAlignmentFar;
    }
    SetUpFormat(format, flags, (style & kTextEndEllipsis) != 0, horizontal, vertical);

    gdip::GdipDrawString(graphics.Get(), text.c_str(), TextLength(text), font.font, &layout, format,
                         brush.get());
}

void RenderContext_GdiPlus::DrawEllipse(const UiRect& rect, int width, uint32_t argb)
{
    Graphics graphics(m_dc, DrawGraphics());
    PenPtr pen = MakePen(argb, width);
    if (!graphics || !pen)
        return;
    graphics.SetAntiAlias();
    gdip::GdipDrawEllipseI(graphics.Get(), pen.get(), rect.left, rect.top, rect.Width(),
                           rect.Height());
}

void RenderContext_GdiPlus::FillEllipse(const UiRect& rect, uint32_t argb)
{
    Graphics graphics(m_dc, DrawGraphics());
    BrushPtr brush = MakeSolidBrush(argb);
    if (!graphics || !brush)
        return;
    graphics.SetAntiAlias();
    gdip::GdipFillEllipseI(graphics.Get(), brush.get(), rect.left, rect.top, rect.Width(),
                           rect.Height());
}

UiRect RenderContext_GdiPlus::MeasureText(const std::wstring& text, const std::wstring& fontId,
                                          uint32_t style, int width)
{
    Graphics graphics(m_dc, DrawGraphics());
    const CallFont font = MakeFont(m_dc, *m_text, fontId, nullptr);
    Gdiplus::GpStringFormat* format = m_text->GetFormat();
    if (!graphics || font.font == nullptr || format == nullptr)
        return UiRect();
    SetUpFormat(format, (style & kTextSingleLine) ? Gdiplus::StringFormatFlagsNoWrap : 0, false,
                Gdiplus::StringAlignmentNear, Gdiplus::StringAlignmentNear);

    Gdiplus::RectF layout(0, 0, 0, 0);
    if (width != -1) {
        float lineHeight = 0;
        if (style & kTextSingleLine) {
            static const wchar_t kSample[] = L"\u6D4B\u8BD5";
            Gdiplus::RectF sample;
            if (gdip::GdipMeasureString(graphics.Get(), kSample, 2, font.font, &layout, format,
                                        &sample, nullptr, nullptr) == gdip::Ok)
                lineHeight = sample.Height;
        }
        layout = Gdiplus::RectF(0, 0, static_cast<float>(width), lineHeight);
    }
    Gdiplus::RectF bounds;
    if (gdip::GdipMeasureString(graphics.Get(), text.c_str(), TextLength(text), font.font, &layout,
                                format, &bounds, nullptr, nullptr) != gdip::Ok)
        return UiRect();
    return UiRect(static_cast<int>(bounds.X), static_cast<int>(bounds.Y),
                  static_cast<int>(bounds.X + bounds.Width + 1),
                  static_cast<int>(bounds.Y + bounds.Height + 1));
}

void RenderContext_GdiPlus::DrawPath(const IPath& path, const IPen& pen)
{
    Graphics graphics(m_dc, DrawGraphics());
    Gdiplus::GpPath* gdiplusPath = static_cast<const Path_GdiPlus&>(path).GetPath();
    Gdiplus::GpPen* gdiplusPen = static_cast<const Pen_GdiPlus&>(pen).GetPen();
    if (!graphics || gdiplusPath == nullptr || gdiplusPen == nullptr)
        return;
    graphics.SetAntiAlias();
    gdip::GdipDrawPath(graphics.Get(), gdiplusPen, gdiplusPath);
}

void RenderContext_GdiPlus::FillPath(const IPath& path, const IBrush& brush)
{
    Graphics graphics(m_dc, DrawGraphics());
    Gdiplus::GpPath* gdiplusPath = static_cast<const Path_GdiPlus&>(path).GetPath();
    Gdiplus::GpBrush* gdiplusBrush = static_cast<const Brush_GdiPlus&>(brush).GetBrush();
    if (!graphics || gdiplusPath == nullptr || gdiplusBrush == nullptr)
        return;
    graphics.SetAntiAlias();
    gdip::GdipFillPath(graphics.Get(), gdiplusBrush, gdiplusPath);
}

} // namespace ui
