#pragma once

#include <cstdint>

namespace ui {

// The course of every fade: constant acceleration during the first 30 % of
// the duration, then constant deceleration to a stop, so that the value
// arrives at `end` exactly when the duration is over.
class FadeCurve {
public:
    static constexpr double kAccelerationShare = 0.3;

    // Rounded to the nearest integer; `end` once elapsed reaches duration.
    static int32_t ValueAt(int32_t start, int32_t end, int64_t elapsedUs, int64_t durationUs);
};

} // namespace ui
