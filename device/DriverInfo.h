#pragma once

#include <cstddef>
#include <cstdint>

// The record TUSBAUDIO_GetDriverInfo fills; zero it before the call.
struct DriverInfo {
    static constexpr uint32_t kDebugBuildFlag = 1u << 0;
    static constexpr uint32_t kBuildMarkerFlag = 1u << 2; // shown as " ST"

    uint32_t apiMajorVersion = 0; // the library's API version, not shown
    uint32_t apiMinorVersion = 0;
    uint32_t majorVersion = 0;
    uint32_t minorVersion = 0;
    uint32_t subVersion = 0;
    uint32_t flags = 0;
};

static_assert(sizeof(DriverInfo) == 24, "the program's layout is 24 bytes");
static_assert(offsetof(DriverInfo, majorVersion) == 8);
static_assert(offsetof(DriverInfo, minorVersion) == 12);
static_assert(offsetof(DriverInfo, subVersion) == 16);
static_assert(offsetof(DriverInfo, flags) == 20);
