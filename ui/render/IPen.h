#pragma once

#include <cstdint>
#include <memory>

namespace ui {

class IPen {
public:
    enum class LineCap { kFlat = 0, kSquare = 1, kRound = 2, kTriangle = 3 };
    enum class LineJoin { kMiter = 0, kBevel = 1, kRound = 2 };
    enum class DashStyle { kSolid = 0, kDash = 1, kDot = 2, kDashDot = 3, kDashDotDot = 4 };

    virtual ~IPen() = default;

    virtual std::unique_ptr<IPen> Clone() const = 0;
    virtual void SetWidth(int width) = 0;
    virtual int GetWidth() const = 0;
    // argb: alpha in the top byte, then red, green, blue.
    virtual void SetColor(uint32_t argb) = 0;
    virtual uint32_t GetColor() const = 0;
    virtual void SetStartCap(LineCap cap) = 0;
    virtual void SetEndCap(LineCap cap) = 0;
    virtual void SetLineJoin(LineJoin join) = 0;
    virtual void SetDashStyle(DashStyle style) = 0;
};

} // namespace ui
