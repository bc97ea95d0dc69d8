#pragma once

#include <cstdint>

#include "device/VolumeMuteInfo.h"

// Conversions between a fader's volume position (0..100) and a driver volume
// in 1/256 dB. Positions 0..44 are points of a fixed table; 45..100 run
// linearly from -28 dB up to the range's maximum in steps of its resolution.
class VolumeScale {
public:
    static constexpr int kTablePoints = 45;
    static constexpr double kLinearStart = 45.0;
    static constexpr double kTop = 100.0;

    // The driver volume of a table point 0..44.
    static int16_t TableVolume(int point);
    // False for a range no volume may be computed from: no positive step
    // (a driver without volume information leaves the record zero) or a
    // minimum above the maximum.
    static bool IsUsable(const VolumeMuteInfo& range);
    // An unusable range gives 0, which must never be sent: it is 0 dB.
    static int16_t PositionToVolume(double position, const VolumeMuteInfo& range);
    // An unusable range gives the volume's table point (44 above 0 dB).
    static double VolumeToPosition(int volume, const VolumeMuteInfo& range);
};
