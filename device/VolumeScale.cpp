#include "device/VolumeScale.h"

#include <cmath>

namespace {

constexpr int kUnitsPerDb = 256;
constexpr int kLinearBase = -28 * kUnitsPerDb; // the volume at position 45
constexpr int kLinearSpan = 55;                // positions 45..100
// A position that VolumeToPosition computed can land a hair below the step
// it stands for (a * 55 / b + 45 does not divide back exactly); taking that
// as the step below would move a fader resting on it one step down.
constexpr double kStepTolerance = 1e-6;

// dB of points 0..15; from point 16 on, point p is p - 44 dB.
constexpr int kLowTableDb[] = {-127, -70, -59, -53, -49, -45, -43, -40,
                               -38,  -37, -35, -34, -32, -31, -30, -29};

} // namespace

int16_t VolumeScale::TableVolume(int point)
{
    const int db = point < 16 ? kLowTableDb[point] : point - 44;
    return static_cast<int16_t>(db * kUnitsPerDb);
}

bool VolumeScale::IsUsable(const VolumeMuteInfo& range)
{
    return range.resolution > 0 && range.minVolume <= range.maxVolume;
}

int16_t VolumeScale::PositionToVolume(double position, const VolumeMuteInfo& range)
{
    if (!IsUsable(range)) {
        return 0;
    }
    // Callers pass 0..100; anything else is pinned there so that it can
    // neither index outside the table nor overflow the integer conversions.
    if (!(position >= 0.0)) {
        position = 0.0;
    } else if (position > kTop) {
        position = kTop;
    }
    if (position < kLinearStart) {
        return TableVolume(static_cast<int>(position));
    }
    const int steps = (range.maxVolume - kLinearBase) / range.resolution;
    const double exact = (steps * (position - kLinearStart)) / kLinearSpan;
    const int k = static_cast<int>(exact + (exact >= 0 ? kStepTolerance : -kStepTolerance));
    return static_cast<int16_t>(kLinearBase + k * range.resolution);
}

double VolumeScale::VolumeToPosition(int volume, const VolumeMuteInfo& range)
{
    if (!IsUsable(range)) {
        // Nothing to clamp to and no steps above 0 dB, but the table itself
        // does not depend on the range: show the volume at its table point.
        for (int point = 0; point < kTablePoints; ++point) {
            if (TableVolume(point) >= volume) {
                return point;
            }
        }
        return kTablePoints - 1;
    }
    if (volume > range.maxVolume) {
        volume = range.maxVolume;
    }
    if (volume < range.minVolume) {
        volume = range.minVolume;
    }
    for (int point = 0; point < kTablePoints; ++point) {
        if (TableVolume(point) >= volume) {
            return point;
        }
    }
    const int a = (volume - kLinearBase) / range.resolution;
    const int b = (range.maxVolume - kLinearBase) / range.resolution;
    if (b == 0) {
        // No whole step between -28 dB and the maximum: the volume is at the top.
        return kTop;
    }
    return a * static_cast<double>(kLinearSpan) / b + kLinearStart;
}
