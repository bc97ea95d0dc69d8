#pragma once

#include "ui/render/UiPoint.h"

#include <memory>

namespace ui {

// An affine transform; each operation is appended after the current one.
class IMatrix {
public:
    virtual ~IMatrix() = default;

    virtual std::unique_ptr<IMatrix> Clone() const = 0;
    virtual void Translate(float dx, float dy) = 0;
    virtual void Scale(float sx, float sy) = 0;
    virtual void Rotate(float degrees) = 0;
    virtual void RotateAt(float degrees, const UiPoint& center) = 0;
    virtual UiPoint TransformPoint(const UiPoint& point) const = 0;
};

} // namespace ui
