#pragma once

#include <cstdint>

// Status values of the program's own, of the same kind as the driver's
// (0 = success). Driver statuses and Win32 errors pass through unchanged.
inline constexpr uint32_t kStatusEntryMissing = 0xEE000030; // a needed driver entry point is absent
inline constexpr uint32_t kStatusApiVersionRefused =
    0xEE000060; // the driver's API version is not accepted
inline constexpr uint32_t kStatusDeviceRefused = 0xEE000023; // the device reports USB mode 1
// ERROR_INVALID_DATA: the device gave no usable volume range, so no volume
// can be computed for it and nothing was sent.
inline constexpr uint32_t kStatusVolumeRangeUnusable = 13;
