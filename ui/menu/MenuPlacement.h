#pragma once

#include "ui/render/UiPoint.h"
#include "ui/render/UiRect.h"
#include "ui/render/UiSize.h"

namespace orb_comp {

// Where a menu opens relative to its point: below it (flipping above when
// it would pass the bottom), or above it when there is room.
enum MenuPosition : int { kMenuBelow = 0, kMenuAbove = 1 };

// The top-left corner of a menu of the given size opened at point, kept
// inside area (the monitor's work area): near the bottom it opens upward,
// near the right edge it is pushed left so that its right side touches the
// edge, and it never starts above or left of the area.
ui::UiPoint PlaceMenu(ui::UiPoint point, ui::UiSize size, const ui::UiRect& area,
                      MenuPosition position);

} // namespace orb_comp
