#pragma once

#include "ui/render/UiPoint.h"
#include "ui/render/UiRect.h"

#include <memory>
#include <vector>

namespace ui {

class IMatrix;
class IPen;

// A sequence of figures for DrawPath and FillPath. Angles are in degrees,
// clockwise from the positive x axis.
class IPath {
public:
    enum class FillMode { kAlternate = 0, kWinding = 1 };

    virtual ~IPath() = default;

    virtual std::unique_ptr<IPath> Clone() const = 0;
    virtual void Reset() = 0;
    virtual void SetFillMode(FillMode mode) = 0;
    virtual FillMode GetFillMode() const = 0;
    virtual void StartFigure() = 0;
    virtual void CloseFigure() = 0;

    virtual void AddLine(int x1, int y1, int x2, int y2) = 0;
    virtual void AddLines(const std::vector<UiPoint>& points) = 0;
    virtual void AddBezier(const UiPoint& p1, const UiPoint& p2, const UiPoint& p3,
                           const UiPoint& p4) = 0;
    virtual void AddCurve(const std::vector<UiPoint>& points) = 0;
    virtual void AddRect(const UiRect& rect) = 0;
    virtual void AddEllipse(const UiRect& rect) = 0;
    virtual void AddArc(const UiRect& rect, float startAngle, float sweepAngle) = 0;
    virtual void AddPie(const UiRect& rect, float startAngle, float sweepAngle) = 0;
    virtual void AddPolygon(const std::vector<UiPoint>& points) = 0;

    virtual void Transform(const IMatrix& matrix) = 0;
    // Bounds of the filled path, or of its outline drawn with pen.
    virtual UiRect GetBounds(const IPen* pen = nullptr) const = 0;
    virtual bool ContainsPoint(const UiPoint& point) const = 0;
    virtual bool StrokeContainsPoint(const UiPoint& point, const IPen& pen) const = 0;
};

} // namespace ui
