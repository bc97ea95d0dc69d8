#pragma once

#include "ui/render/GdiPlusApi.h"
#include "ui/render/IPath.h"

namespace ui {

class Path_GdiPlus final : public IPath {
public:
    Path_GdiPlus();
    ~Path_GdiPlus() override;
    Path_GdiPlus(const Path_GdiPlus&) = delete;
    Path_GdiPlus& operator=(const Path_GdiPlus&) = delete;

    std::unique_ptr<IPath> Clone() const override;
    void Reset() override;
    void SetFillMode(FillMode mode) override;
    FillMode GetFillMode() const override;
    void StartFigure() override;
    void CloseFigure() override;

    void AddLine(int x1, int y1, int x2, int y2) override;
    void AddLines(const std::vector<UiPoint>& points) override;
    void AddBezier(const UiPoint& p1, const UiPoint& p2, const UiPoint& p3,
                   const UiPoint& p4) override;
    void AddCurve(const std::vector<UiPoint>& points) override;
    void AddRect(const UiRect& rect) override;
    void AddEllipse(const UiRect& rect) override;
    void AddArc(const UiRect& rect, float startAngle, float sweepAngle) override;
    void AddPie(const UiRect& rect, float startAngle, float sweepAngle) override;
    void AddPolygon(const std::vector<UiPoint>& points) override;

    void Transform(const IMatrix& matrix) override;
    UiRect GetBounds(const IPen* pen) const override;
    bool ContainsPoint(const UiPoint& point) const override;
    bool StrokeContainsPoint(const UiPoint& point, const IPen& pen) const override;

    Gdiplus::GpPath* GetPath() const { return m_path; }

private:
    explicit Path_GdiPlus(Gdiplus::GpPath* path) : m_path(path) {}

    Gdiplus::GpPath* m_path = nullptr;
};

} // namespace ui
