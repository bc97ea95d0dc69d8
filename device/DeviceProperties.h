#pragma once

#include <cstddef>
#include <cstdint>
#include <type_traits>

// The record TUSBAUDIO_GetDeviceProperties fills. Texts are UTF-16 and
// terminated inside their fields; DeviceChar is wchar_t where that is a
// UTF-16 unit (Windows) so the panel can use them as wide strings.
struct DeviceProperties {
    using DeviceChar = std::conditional_t<sizeof(wchar_t) == 2, wchar_t, char16_t>;
    static constexpr uint32_t kTextCapacity = 128;

    uint32_t vendorId = 0;
    uint32_t productId = 0;
    uint32_t releaseNumber = 0; // BCD: major in bits 8..15, minor in bits 0..7
    DeviceChar serialNumber[kTextCapacity] = {};
    DeviceChar manufacturer[kTextCapacity] = {};
    DeviceChar productName[kTextCapacity] = {};
};

static_assert(sizeof(DeviceProperties::DeviceChar) == 2);
static_assert(sizeof(DeviceProperties) == 780, "the program's layout is 780 bytes");
static_assert(offsetof(DeviceProperties, productId) == 4);
static_assert(offsetof(DeviceProperties, releaseNumber) == 8);
static_assert(offsetof(DeviceProperties, serialNumber) == 12);
static_assert(offsetof(DeviceProperties, manufacturer) == 268);
static_assert(offsetof(DeviceProperties, productName) == 524);
