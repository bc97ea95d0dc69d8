#pragma once

#include <cstddef>
#include <cstdint>

// One stream format as TUSBAUDIO_GetSupportedStreamFormats (up to
// kMaxPerDirection per direction) and TUSBAUDIO_GetCurrentStreamFormat fill it.
struct StreamFormatRecord {
    static constexpr uint32_t kMaxPerDirection = 32;

    uint32_t formatId = 0;
    uint32_t bitsPerSample = 0;
    uint32_t channelCount = 0;
    uint8_t reserved[320] = {}; // written by the driver, not used by the program
};

static_assert(sizeof(StreamFormatRecord) == 332, "the program's layout is 332 bytes");
static_assert(offsetof(StreamFormatRecord, bitsPerSample) == 4);
static_assert(offsetof(StreamFormatRecord, channelCount) == 8);
