#pragma once

#include "ui/render/GdiPlusApi.h"
#include "ui/render/IMatrix.h"

namespace ui {

class Matrix_GdiPlus final : public IMatrix {
public:
    Matrix_GdiPlus();
    ~Matrix_GdiPlus() override;
    Matrix_GdiPlus(const Matrix_GdiPlus&) = delete;
    Matrix_GdiPlus& operator=(const Matrix_GdiPlus&) = delete;

    std::unique_ptr<IMatrix> Clone() const override;
    void Translate(float dx, float dy) override;
    void Scale(float sx, float sy) override;
    void Rotate(float degrees) override;
    void RotateAt(float degrees, const UiPoint& center) override;
    UiPoint TransformPoint(const UiPoint& point) const override;

    Gdiplus::GpMatrix* GetMatrix() const { return m_matrix; }

private:
    explicit Matrix_GdiPlus(Gdiplus::GpMatrix* matrix) : m_matrix(matrix) {}

    Gdiplus::GpMatrix* m_matrix = nullptr;
};

} // namespace ui
