#include "ui/controls/SliderGeometry.h"

#include <algorithm>
#include <limits>

namespace ui {

namespace {

// Truncation toward zero. A value that has not been clamped yet (that
// happens at the next paint) may lie far outside the range; coordinates are
// kept where adding a thumb size cannot overflow.
int Trunc(double value)
{
    constexpr int kLimit = 1 << 29;
    if (!(value > -kLimit))
        return -kLimit;
    if (value > kLimit)
        return kLimit;
    return static_cast<int>(value);
}

double Range(int32_t min, int32_t max)
{
    return max > min ? static_cast<double>(max) - min : 1.0;
}

} // namespace

void SliderGeometry::Repair(int32_t min, int32_t& max, double& value)
{
    // At the top of the integer range there is no min + 1: max stays at min
    // and the range still counts as one step.
    if (max <= min)
        max = min < std::numeric_limits<int32_t>::max() ? min + 1 : min;
    value = std::clamp(value, static_cast<double>(min), static_cast<double>(max));
}

UiRect SliderGeometry::ProgressFill(UiSize size, bool horizontal, int32_t min, int32_t max,
                                    double value)
{
    const double range = Range(min, max);
    if (horizontal)
        return UiRect(0, 0, Trunc((value - min) * size.cx / range), size.cy);
    const double top = (min + range - value) * size.cy / range;
    return UiRect(0, Trunc(top), size.cx, size.cy);
}

UiRect SliderGeometry::ThumbRect(const UiRect& rect, UiSize thumb, bool horizontal, int32_t min,
                                 int32_t max, double value)
{
    const double range = Range(min, max);
    int x = 0;
    int y = 0;
    if (horizontal) {
        x = Trunc((value - min) * (rect.right - thumb.cx - rect.left) / range + rect.left);
        y = (rect.bottom - thumb.cy + rect.top) / 2;
    } else {
        x = (rect.right - thumb.cx + rect.left) / 2;
        y = Trunc((rect.bottom - thumb.cy) -
                  (value - min) * (rect.bottom - thumb.cy - rect.top) / range);
    }
    return UiRect(x, y, x + thumb.cx, y + thumb.cy);
}

UiRect SliderGeometry::SliderFill(UiSize size, UiSize thumb, bool horizontal, int32_t min,
                                  int32_t max, double value)
{
    const double range = Range(min, max);
    if (horizontal) {
        const double right = (size.cx - thumb.cx) * (value - min) / range + thumb.cx / 2 + 0.5;
        return UiRect(0, 0, Trunc(right), size.cy);
    }
    const double top = (size.cy - thumb.cy) * (min + range - value) / range + thumb.cy / 2 + 0.5;
    return UiRect(0, Trunc(top), size.cx, size.cy);
}

double SliderGeometry::ValueAtPoint(const UiRect& rect, UiSize thumb, bool horizontal, int32_t min,
                                    int32_t max, UiPoint point)
{
    // 64-bit products: the same result as 32-bit arithmetic for every
    // range that fits, and no overflow for the ones that do not.
    const int64_t span = static_cast<int64_t>(max) - min;
    if (horizontal) {
        const int half = thumb.cx / 2;
        if (point.x >= rect.right - half)
            return max;
        if (point.x <= rect.left + half)
            return min;
        const int64_t product = static_cast<int64_t>(point.x - half - rect.left) * span;
        return min + static_cast<double>(product) / (rect.right - rect.left - thumb.cx);
    }
    const int half = thumb.cy / 2;
    if (point.y >= rect.bottom - half)
        return min;
    if (point.y <= rect.top + half)
        return max;
    const int64_t product = span * (rect.bottom - half - point.y);
    return min + static_cast<double>(product) / (rect.bottom - rect.top - thumb.cy);
}

} // namespace ui
