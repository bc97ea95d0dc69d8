#pragma once

#include <cstdint>

namespace ui {

// Where a child smaller than its slot sits; both axes share the values.
enum HorAlignType : int32_t { kHorAlignLeft = 0, kHorAlignCenter = 1, kHorAlignRight = 2 };
enum VerAlignType : int32_t { kVerAlignTop = 0, kVerAlignCenter = 1, kVerAlignBottom = 2 };

} // namespace ui
