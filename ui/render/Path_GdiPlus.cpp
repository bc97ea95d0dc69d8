#include "ui/render/Path_GdiPlus.h"

#include "ui/render/Matrix_GdiPlus.h"
#include "ui/render/Pen_GdiPlus.h"

namespace ui {

namespace {

std::vector<Gdiplus::GpPoint> ToGdiPlus(const std::vector<UiPoint>& points)
{
    std::vector<Gdiplus::GpPoint> converted;
    converted.reserve(points.size());
    for (const UiPoint& point : points)
        converted.emplace_back(point.x, point.y);
    return converted;
}

} // namespace

Path_GdiPlus::Path_GdiPlus()
{
    gdip::GdipCreatePath(Gdiplus::FillModeAlternate, &m_path);
}

Path_GdiPlus::~Path_GdiPlus()
{
    if (m_path != nullptr)
        gdip::GdipDeletePath(m_path);
}

std::unique_ptr<IPath> Path_GdiPlus::Clone() const
{
    Gdiplus::GpPath* copy = nullptr;
    if (m_path != nullptr)
        gdip::GdipClonePath(m_path, &copy);
    return std::unique_ptr<IPath>(new Path_GdiPlus(copy));
}

void Path_GdiPlus::Reset()
{
    if (m_path != nullptr)
        gdip::GdipResetPath(m_path);
}

void Path_GdiPlus::SetFillMode(FillMode mode)
{
    if (m_path != nullptr)
        gdip::GdipSetPathFillMode(m_path, static_cast<Gdiplus::GpFillMode>(mode));
}

IPath::FillMode Path_GdiPlus::GetFillMode() const
{
    Gdiplus::GpFillMode mode = Gdiplus::FillModeAlternate;
    if (m_path != nullptr)
        gdip::GdipGetPathFillMode(m_path, &mode);
    return mode == Gdiplus::FillModeWinding ? FillMode::kWinding : FillMode::kAlternate;
}

void Path_GdiPlus::StartFigure()
{
    if (m_path != nullptr)
        gdip::GdipStartPathFigure(m_path);
}

void Path_GdiPlus::CloseFigure()
{
    if (m_path != nullptr)
        gdip::GdipClosePathFigure(m_path);
}

void Path_GdiPlus::AddLine(int x1, int y1, int x2, int y2)
{
    if (m_path != nullptr)
        gdip::GdipAddPathLineI(m_path, x1, y1, x2, y2);
}

void Path_GdiPlus::AddLines(const std::vector<UiPoint>& points)
{
    if (m_path == nullptr || points.empty())
        return;
    std::vector<Gdiplus::GpPoint> converted = ToGdiPlus(points);
    gdip::GdipAddPathLine2I(m_path, converted.data(), static_cast<INT>(converted.size()));
}

void Path_GdiPlus::AddBezier(const UiPoint& p1, const UiPoint& p2, const UiPoint& p3,
                             const UiPoint& p4)
{
    if (m_path != nullptr)
        gdip::GdipAddPathBezierI(m_path, p1.x, p1.y, p2.x, p2.y, p3.x, p3.y, p4.x, p4.y);
}

void Path_GdiPlus::AddCurve(const std::vector<UiPoint>& points)
{
    if (m_path == nullptr || points.size() < 2)
        return;
    std::vector<Gdiplus::GpPoint> converted = ToGdiPlus(points);
    gdip::GdipAddPathCurve2I(m_path, converted.data(), static_cast<INT>(converted.size()), 0.5f);
}

void Path_GdiPlus::AddRect(const UiRect& rect)
{
    if (m_path != nullptr)
        gdip::GdipAddPathRectangleI(m_path, rect.left, rect.top, rect.Width(), rect.Height());
}

void Path_GdiPlus::AddEllipse(const UiRect& rect)
{
    if (m_path != nullptr)
        gdip::GdipAddPathEllipseI(m_path, rect.left, rect.top, rect.Width(), rect.Height());
}

void Path_GdiPlus::AddArc(const UiRect& rect, float startAngle, float sweepAngle)
{
    if (m_path != nullptr)
        gdip::GdipAddPathArcI(m_path, rect.left, rect.top, rect.Width(), rect.Height(), startAngle,
                              sweepAngle);
}

void Path_GdiPlus::AddPie(const UiRect& rect, float startAngle, float sweepAngle)
{
    if (m_path != nullptr)
        gdip::GdipAddPathPieI(m_path, rect.left, rect.top, rect.Width(), rect.Height(), startAngle,
                              sweepAngle);
}

void Path_GdiPlus::AddPolygon(const std::vector<UiPoint>& points)
{
    if (m_path == nullptr || points.size() < 3)
        return;
    std::vector<Gdiplus::GpPoint> converted = ToGdiPlus(points);
    gdip::GdipAddPathPolygonI(m_path, converted.data(), static_cast<INT>(converted.size()));
}

void Path_GdiPlus::Transform(const IMatrix& matrix)
{
    auto* gdiplusMatrix = static_cast<const Matrix_GdiPlus&>(matrix).GetMatrix();
    if (m_path != nullptr && gdiplusMatrix != nullptr)
        gdip::GdipTransformPath(m_path, gdiplusMatrix);
}

UiRect Path_GdiPlus::GetBounds(const IPen* pen) const
{
    Gdiplus::GpRect bounds;
    if (m_path == nullptr)
        return UiRect();
    Gdiplus::GpPen* gdiplusPen =
        pen != nullptr ? static_cast<const Pen_GdiPlus*>(pen)->GetPen() : nullptr;
    if (gdip::GdipGetPathWorldBoundsI(m_path, &bounds, nullptr, gdiplusPen) != gdip::Ok)
        return UiRect();
    return UiRect(bounds.X, bounds.Y, bounds.X + bounds.Width, bounds.Y + bounds.Height);
}

bool Path_GdiPlus::ContainsPoint(const UiPoint& point) const
{
    BOOL inside = FALSE;
    if (m_path != nullptr)
        gdip::GdipIsVisiblePathPointI(m_path, point.x, point.y, nullptr, &inside);
    return inside != FALSE;
}

bool Path_GdiPlus::StrokeContainsPoint(const UiPoint& point, const IPen& pen) const
{
    BOOL inside = FALSE;
    Gdiplus::GpPen* gdiplusPen = static_cast<const Pen_GdiPlus&>(pen).GetPen();
    if (m_path != nullptr && gdiplusPen != nullptr)
        gdip::GdipIsOutlineVisiblePathPointI(m_path, point.x, point.y, gdiplusPen, nullptr,
                                             &inside);
    return inside != FALSE;
}

} // namespace ui
