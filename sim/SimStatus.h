#pragma once

#include <cstdint>

// Statuses the simulated driver answers with, besides 0 for success.
inline constexpr uint32_t kSimError = 0xEE000001;
inline constexpr uint32_t kSimInvalidHandle = 0xEE000002;
inline constexpr uint32_t kSimInvalidParameter = 0xEE000003;
inline constexpr uint32_t kSimNoDevice = 0xEE000004;
inline constexpr uint32_t kSimNotSupported = 0xEE000005;
inline constexpr uint32_t kSimBufferTooSmall = 0xEE000006;
inline constexpr uint32_t kSimNoMoreItems = 0xEE000007;
