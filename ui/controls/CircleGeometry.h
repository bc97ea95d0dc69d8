#pragma once

#include "ui/render/UiPoint.h"

#include <cstdint>

namespace ui {

// The angle arithmetic of rotary knobs. Angles are degrees clockwise from
// 12 o'clock. Pointer input works on a scale that starts at a zero angle
// and leaves a dead zone of min angle on both sides of it.
class CircleGeometry {
public:
    // The knobs compute with 3.14, not the exact value; skins and the
    // device's gain steps are tuned to the angles that gives.
    static constexpr double kPi = 3.14;

    // The angle of the offset (dx, dy) from the centre, screen y growing
    // downwards: straight up is 0, right 90, down 180, left 270.
    static double PointAngle(int dx, int dy);
    // The whole value a pointer angle selects: the angle is taken relative
    // to the zero angle, limited to the live zone and scaled to the range.
    static double ValueAtAngle(double angle, double zeroAngle, double minAngle, int32_t min,
                               int32_t max);
    // While dragging, a knob resting at an end ignores points that move
    // towards the other end through the dead zone: at min any point right of
    // the last one, at max any point left of it.
    static bool CrossesDeadZone(double value, int32_t min, int32_t max, int x, int lastX);

    // The outer end of the knob's pointer line of the given length: min sits
    // min angle clockwise from 6 o'clock, max the same before it.
    static UiPoint PointerEnd(UiPoint center, int length, double value, int32_t min, int32_t max,
                              double minAngle);
    // Degrees of ring the value covers (negative when counter-clockwise).
    static double SweepAngle(double value, int32_t min, int32_t max, bool clockwise);
};

} // namespace ui
