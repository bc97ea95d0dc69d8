#pragma once

#include <cstdint>

// One mixer channel of the simulated interface. Volumes in 1/256 dB.
struct SimChannel {
    int16_t volume = 0;
    uint32_t mute = 0;
    int16_t minVolume = -127 * 256;
    int16_t maxVolume = 0;
    int16_t resolution = 256;
};
