#pragma once

#include <cstddef>
#include <cstdint>

// The ASIO record that TUSBAUDIO_GetASIOInstanceInfo fills for instance 0.
// Every field is an unsigned little-endian 32-bit value.
struct AsioInfo {
    static constexpr uint32_t kBufferSizeSlots = 40;
    static constexpr uint32_t kSafeModeOption = 0x10000; // bit 16 of `options`
    static constexpr uint32_t kDsdModeBit = 1;           // bit 0 of `mode`

    uint32_t sampleRate = 0; // Hz
    // Handed back as the second argument of TUSBAUDIO_SetASIOBufferPreferredSize.
    uint32_t bufferReference = 0;
    uint32_t active = 0; // non-zero while ASIO is active
    uint32_t mode = 0;   // bit 0: 1 = DSD, 0 = PCM
    uint32_t options = 0;
    uint32_t inputLatency = 0;  // samples
    uint32_t outputLatency = 0; // samples
    uint32_t bufferSize = 0;    // current size, samples
    // How many sizes the driver supports. It may exceed the slots, or the
    // sizes really listed (zero slots follow them): readers take only the
    // non-zero sizes among the first kBufferSizeSlots.
    uint32_t bufferSizeCount = 0;
    uint32_t bufferSizes[kBufferSizeSlots] = {};
};

static_assert(sizeof(AsioInfo) == 196, "the program's layout is 196 bytes");
static_assert(offsetof(AsioInfo, bufferReference) == 4);
static_assert(offsetof(AsioInfo, active) == 8);
static_assert(offsetof(AsioInfo, mode) == 12);
static_assert(offsetof(AsioInfo, options) == 16);
static_assert(offsetof(AsioInfo, inputLatency) == 20);
static_assert(offsetof(AsioInfo, outputLatency) == 24);
static_assert(offsetof(AsioInfo, bufferSize) == 28);
static_assert(offsetof(AsioInfo, bufferSizeCount) == 32);
static_assert(offsetof(AsioInfo, bufferSizes) == 36);
