#pragma once

#include <cstdint>

namespace ui {

// A requested width or height is pixels when 0 or more, or one of these.
inline constexpr int32_t kSizeStretch = -1; // share the space left over
inline constexpr int32_t kSizeAuto = -2;    // size from content
inline constexpr int32_t kSizeMax = 9999999;

} // namespace ui
