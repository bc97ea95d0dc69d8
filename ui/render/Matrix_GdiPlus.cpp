#include "ui/render/Matrix_GdiPlus.h"

namespace ui {

Matrix_GdiPlus::Matrix_GdiPlus()
{
    gdip::GdipCreateMatrix(&m_matrix);
}

Matrix_GdiPlus::~Matrix_GdiPlus()
{
    if (m_matrix != nullptr)
        gdip::GdipDeleteMatrix(m_matrix);
}

std::unique_ptr<IMatrix> Matrix_GdiPlus::Clone() const
{
    Gdiplus::GpMatrix* copy = nullptr;
    if (m_matrix != nullptr)
        gdip::GdipCloneMatrix(m_matrix, &copy);
    return std::unique_ptr<IMatrix>(new Matrix_GdiPlus(copy));
}

void Matrix_GdiPlus::Translate(float dx, float dy)
{
    if (m_matrix != nullptr)
        gdip::GdipTranslateMatrix(m_matrix, dx, dy, Gdiplus::MatrixOrderAppend);
}

void Matrix_GdiPlus::Scale(float sx, float sy)
{
    if (m_matrix != nullptr)
        gdip::GdipScaleMatrix(m_matrix, sx, sy, Gdiplus::MatrixOrderAppend);
}

void Matrix_GdiPlus::Rotate(float degrees)
{
    if (m_matrix != nullptr)
        gdip::GdipRotateMatrix(m_matrix, degrees, Gdiplus::MatrixOrderAppend);
}

void Matrix_GdiPlus::RotateAt(float degrees, const UiPoint& center)
{
    if (m_matrix == nullptr)
        return;
    const auto cx = static_cast<float>(center.x);
    const auto cy = static_cast<float>(center.y);
    gdip::GdipTranslateMatrix(m_matrix, -cx, -cy, Gdiplus::MatrixOrderAppend);
    gdip::GdipRotateMatrix(m_matrix, degrees, Gdiplus::MatrixOrderAppend);
    gdip::GdipTranslateMatrix(m_matrix, cx, cy, Gdiplus::MatrixOrderAppend);
}

UiPoint Matrix_GdiPlus::TransformPoint(const UiPoint& point) const
{
    Gdiplus::GpPoint pt(point.x, point.y);
    if (m_matrix != nullptr)
        gdip::GdipTransformMatrixPointsI(m_matrix, &pt, 1);
    return UiPoint(pt.X, pt.Y);
}

} // namespace ui
