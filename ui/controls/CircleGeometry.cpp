#include "ui/controls/CircleGeometry.h"

#include <algorithm>
#include <cmath>

namespace ui {

namespace {

double Range(int32_t min, int32_t max)
{
    return max > min ? static_cast<double>(max) - min : 1.0;
}

} // namespace

double CircleGeometry::PointAngle(int dx, int dy)
{
    if (dx == 0)
        return dy >= 0 ? 180.0 : 0.0;
    double angle = 90.0 - std::atan(-static_cast<double>(dy) / dx) * 180.0 / kPi;
    if (dx < 0)
        angle += 180.0;
    return angle;
}

double CircleGeometry::ValueAtAngle(double angle, double zeroAngle, double minAngle, int32_t min,
                                    int32_t max)
{
    const double live = 360.0 - 2.0 * minAngle;
    // A dead zone of half the circle or more leaves nothing to turn.
    if (!(live > 0.0))
        return min;
    angle = std::fmod(angle - zeroAngle, 360.0);
    if (angle < 0.0)
        angle += 360.0;
    angle = std::clamp(angle, minAngle, 360.0 - minAngle);
    const double span = static_cast<double>(max) - min;
    return std::trunc(span * (angle - minAngle) / live + min);
}

bool CircleGeometry::CrossesDeadZone(double value, int32_t min, int32_t max, int x, int lastX)
{
    return (value == min && x > lastX) || (value == max && x < lastX);
}

UiPoint CircleGeometry::PointerEnd(UiPoint center, int length, double value, int32_t min,
                                   int32_t max, double minAngle)
{
    const double turn = (360.0 - 2.0 * minAngle) * (value - min) / Range(min, max);
    int angle = static_cast<int>(std::fmod(std::trunc(turn + 360.0 + minAngle), 360.0));
    const int low = static_cast<int>(std::trunc(minAngle));
    const int high = static_cast<int>(std::trunc(360.0 - minAngle));
    angle = std::min(std::max(angle, low), high);
    const double radians = (angle + 180) * kPi / 180.0;
    return UiPoint(static_cast<int>(std::trunc(center.x + std::sin(radians) * length)),
                   static_cast<int>(std::trunc(center.y - std::cos(radians) * length)));
}

double CircleGeometry::SweepAngle(double value, int32_t min, int32_t max, bool clockwise)
{
    const double sweep = (value - min) * 360.0 / Range(min, max);
    return clockwise ? sweep : -sweep;
}

} // namespace ui
