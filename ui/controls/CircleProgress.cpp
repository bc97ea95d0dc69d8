#include "ui/controls/CircleProgress.h"

#include "ui/controls/CircleGeometry.h"
#include "ui/core/AttributeText.h"
#include "ui/markup/DpiManager.h"
#include "ui/markup/GlobalManager.h"
#include "ui/markup/ImageCache.h"
#include "ui/render/GdiPlusApi.h"
#include "ui/render/IRenderContext.h"

#include <shlwapi.h>

#include <algorithm>

namespace ui {

namespace {

template <typename T, Gdiplus::GpStatus (*Delete)(T*)>
struct GdiPlusDeleter {
    void operator()(T* object) const { Delete(object); }
};
using GraphicsPtr = std::unique_ptr<Gdiplus::GpGraphics,
                                    GdiPlusDeleter<Gdiplus::GpGraphics, gdip::GdipDeleteGraphics>>;
using PenPtr = std::unique_ptr<Gdiplus::GpPen, GdiPlusDeleter<Gdiplus::GpPen, gdip::GdipDeletePen>>;
using BrushPtr =
    std::unique_ptr<Gdiplus::GpBrush, GdiPlusDeleter<Gdiplus::GpBrush, gdip::GdipDeleteBrush>>;

PenPtr MakePen(uint32_t argb, int32_t width)
{
    Gdiplus::GpPen* pen = nullptr;
    gdip::GdipCreatePen1(argb, static_cast<Gdiplus::REAL>(width), Gdiplus::UnitWorld, &pen);
    return PenPtr(pen);
}

uint32_t ColorNamed(const std::wstring& value)
{
    return GlobalManager::GetTextColor(std::wstring(AttributeText::SkipLeadingBlanks(value)));
}

void DrawArc(Gdiplus::GpGraphics* graphics, Gdiplus::GpPen* pen, const Gdiplus::RectF& rect,
             double sweep)
{
    if (pen == nullptr)
        return;
    gdip::GdipDrawArc(graphics, pen, rect.X, rect.Y, rect.Width, rect.Height, 270.0f,
                      static_cast<Gdiplus::REAL>(sweep));
}

} // namespace

void CircleProgress::SetAttribute(const std::wstring& name, const std::wstring& value)
{
    if (name == L"circular")
        SetCircular(AttributeText::ParseBool(value));
    else if (name == L"circlewidth")
        SetCircleWidth(DpiScale(AttributeText::ParseInt(value)));
    else if (name == L"indicator")
        SetIndicator(value);
    else if (name == L"clockwise")
        SetClockwise(AttributeText::ParseBool(value));
    else if (name == L"bgcolor")
        SetBackgroundColor(ColorNamed(value));
    else if (name == L"fgcolor")
        SetForegroundColor(ColorNamed(value));
    else if (name == L"gradientcolor")
        SetGradientColor(ColorNamed(value));
    else
        Progress::SetAttribute(name, value);
}

void CircleProgress::PaintStateImages(IRenderContext& context)
{
    Progress::PaintStateImages(context);
    if (!m_circular)
        return;
    Gdiplus::GpGraphics* created = nullptr;
    gdip::GdipCreateFromHDC(context.GetDC(), &created);
    const GraphicsPtr graphics(created);
    if (!graphics)
        return;
    gdip::GdipSetSmoothingMode(graphics.get(), Gdiplus::SmoothingModeAntiAlias);
    const PenPtr backgroundPen = MakePen(m_backgroundColor, m_circleWidth);

    const int width = m_rect.Width();
    const int height = m_rect.Height();
    const UiPoint center(m_rect.left + width / 2, m_rect.top + height / 2);
    const auto side = static_cast<Gdiplus::REAL>(std::min(width, height));
    const Gdiplus::RectF base(center.x - side / 2, center.y - side / 2, side, side);
    Gdiplus::RectF ring = base;
    unsigned indicatorWidth = 0;
    unsigned indicatorHeight = 0;
    if (m_indicator) {
        indicatorWidth = m_indicator->GetWidth();
        indicatorHeight = m_indicator->GetHeight();
        ring.X += indicatorHeight / 2.0f;
        ring.Y += indicatorWidth / 2.0f;
        ring.Width -= static_cast<Gdiplus::REAL>(indicatorHeight);
        ring.Height -= static_cast<Gdiplus::REAL>(indicatorWidth);
    } else {
        const Gdiplus::REAL inset = m_circleWidth / 2.0f;
        ring.X += inset;
        ring.Y += inset;
        ring.Width -= static_cast<Gdiplus::REAL>(m_circleWidth);
        ring.Height -= static_cast<Gdiplus::REAL>(m_circleWidth);
    }
    ring.X += 1;
    ring.Y += 1;
    ring.Width -= 2;
    ring.Height -= 2;

    const double sweep = CircleGeometry::SweepAngle(m_value, m_min, m_max, m_clockwise);
    if (m_gradientColor == 0) {
        const PenPtr foregroundPen = MakePen(m_foregroundColor, m_circleWidth);
        if (const auto end = GetPointerEnd(center, width / 3)) {
            if (foregroundPen)
                gdip::GdipDrawLineI(graphics.get(), foregroundPen.get(), center.x, center.y, end->x,
                                    end->y);
        } else {
            DrawArc(graphics.get(), backgroundPen.get(), ring, 360);
            DrawArc(graphics.get(), foregroundPen.get(), ring, sweep);
        }
    } else {
        Gdiplus::GpLineGradient* gradient = nullptr;
        gdip::GdipCreateLineBrushFromRect(&base, m_foregroundColor, m_gradientColor,
                                          Gdiplus::LinearGradientModeVertical,
                                          Gdiplus::WrapModeTile, &gradient);
        const BrushPtr brush(gradient);
        if (brush) {
            const Gdiplus::REAL factors[] = {0.0f, 0.4f, 0.6f, 1.0f};
            const Gdiplus::REAL positions[] = {0.0f, 0.2f, 0.8f, 1.0f};
            gdip::GdipSetLineBlend(gradient, factors, positions, 4);
        }
        DrawArc(graphics.get(), backgroundPen.get(), ring, 360);
        Gdiplus::GpPen* gradientPen = nullptr;
        if (brush)
            gdip::GdipCreatePen2(brush.get(), static_cast<Gdiplus::REAL>(m_circleWidth),
                                 Gdiplus::UnitWorld, &gradientPen);
        const PenPtr valuePen(gradientPen);
        DrawArc(graphics.get(), valuePen.get(), ring, sweep);
    }

    if (m_indicator) {
        // Turned about the centre, the image starts on the ring at 12 o'clock.
        const auto cx = static_cast<Gdiplus::REAL>(center.x);
        const auto cy = static_cast<Gdiplus::REAL>(center.y);
        gdip::GdipTranslateWorldTransform(graphics.get(), -cx, -cy, Gdiplus::MatrixOrderAppend);
        gdip::GdipRotateWorldTransform(graphics.get(), static_cast<Gdiplus::REAL>(sweep),
                                       Gdiplus::MatrixOrderAppend);
        gdip::GdipTranslateWorldTransform(graphics.get(), cx, cy, Gdiplus::MatrixOrderAppend);
        const auto x = static_cast<Gdiplus::REAL>(center.x - static_cast<int>(indicatorWidth / 2));
        const Gdiplus::REAL y = ring.Y - static_cast<Gdiplus::REAL>(indicatorHeight / 2);
        gdip::GdipDrawImageRect(graphics.get(), m_indicator->Get(), x, y,
                                static_cast<Gdiplus::REAL>(indicatorWidth),
                                static_cast<Gdiplus::REAL>(indicatorHeight));
        gdip::GdipResetWorldTransform(graphics.get());
    }
}

void CircleProgress::RescaleDpi(int from, int to)
{
    Progress::RescaleDpi(from, to);
    m_circleWidth = DpiManager::Rescale(m_circleWidth, from, to);
}

void CircleProgress::SetCircular(bool circular)
{
    m_circular = circular;
    Invalidate();
}

void CircleProgress::SetClockwise(bool clockwise)
{
    if (clockwise == m_clockwise)
        return;
    m_clockwise = clockwise;
    // The image is drawn the way round the ring is travelled.
    if (m_indicator)
        m_indicator->Rotate180();
    Invalidate();
}

void CircleProgress::SetCircleWidth(int32_t width)
{
    m_circleWidth = width;
    Invalidate();
}

void CircleProgress::SetBackgroundColor(uint32_t argb)
{
    m_backgroundColor = argb;
    Invalidate();
}

void CircleProgress::SetForegroundColor(uint32_t argb)
{
    m_foregroundColor = argb;
    Invalidate();
}

void CircleProgress::SetGradientColor(uint32_t argb)
{
    m_gradientColor = argb;
    Invalidate();
}

void CircleProgress::SetIndicator(const std::wstring& path)
{
    const std::wstring fullPath = ImageCache::GetFullPath(GetWindowResourcePath(), path);
    m_indicator.reset();
    if (!path.empty() && ::PathFileExistsW(fullPath.c_str())) {
        m_indicator = IndicatorImage::Load(fullPath);
        if (m_indicator && !m_clockwise)
            m_indicator->Rotate180();
    }
    Invalidate();
}

std::optional<UiPoint> CircleProgress::GetPointerEnd(UiPoint, int) const
{
    return std::nullopt;
}

} // namespace ui
