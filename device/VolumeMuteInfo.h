#pragma once

#include <cstdint>

// The 16-byte volume range record of one mixer channel, as the driver fills it.
// Volumes and the step are signed 16-bit values in 1/256 dB.
struct VolumeMuteInfo {
    uint32_t flags = 0; // not used by the program
    int16_t minVolume = 0;
    int16_t maxVolume = 0;
    int16_t resolution = 0;
    uint8_t reserved[6] = {};
};

static_assert(sizeof(VolumeMuteInfo) == 16, "the program's layout is 16 bytes");
