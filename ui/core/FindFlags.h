#pragma once

#include <cstdint>

namespace ui {

// Flags of the control-tree search (Control::FindControl).
enum FindFlags : uint32_t {
    kFindAll = 0,
    kFindVisible = 0x1,
    kFindEnabled = 0x2,
    kFindHitTest = 0x4,  // the point must lie in the control, which must take the mouse
    kFindTopFirst = 0x8, // children from last to first
    kFindMeFirst = 0x80000000,
};

} // namespace ui
