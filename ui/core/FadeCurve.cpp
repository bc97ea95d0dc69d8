#include "ui/core/FadeCurve.h"

#include <cmath>

namespace ui {

int32_t FadeCurve::ValueAt(int32_t start, int32_t end, int64_t elapsedUs, int64_t durationUs)
{
    if (elapsedUs <= 0)
        return start;
    if (durationUs <= 0 || elapsedUs >= durationUs)
        return end;
    // Fraction of the way covered after elapsed time t of duration 1: the
    // top speed 2 is reached at a and falls to 0 at 1.
    const double t = static_cast<double>(elapsedUs) / static_cast<double>(durationUs);
    const double a = kAccelerationShare;
    double covered = 0;
    if (t <= a) {
        covered = t * t / a;
    } else {
        const double since = t - a;
        covered = a + 2 * since - since * since / (1 - a);
    }
    return start + static_cast<int32_t>(std::lround((end - start) * covered));
}

} // namespace ui
