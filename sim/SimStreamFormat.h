#pragma once

#include <cstdint>

struct SimStreamFormat {
    uint32_t id = 0;
    uint32_t bitsPerSample = 0;
    uint32_t channels = 0;
};
