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
    // A range whose resolution is 0 (no volume information) gives 0.
    static int16_t PositionToVolume(double position, const VolumeMuteInfo& range);
    // A range whose resolution is 0 gives 0.0.
    static double VolumeToPosition(int volume, const VolumeMuteInfo& range);
};
