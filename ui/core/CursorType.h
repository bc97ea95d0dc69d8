#pragma once

#include <cstdint>

namespace ui {

enum CursorType : int32_t { kCursorArrow = 0, kCursorHand = 1, kCursorIbeam = 2 };

} // namespace ui
