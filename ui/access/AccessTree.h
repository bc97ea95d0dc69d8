#pragma once

#include "ui/render/UiPoint.h"

#include <cstdint>
#include <vector>

namespace ui {

class Control;

// The control tree as assistive technology sees it: a control's children
// are the visible, exposed controls inside it, in tree order, unless it is
// read as one piece.
class AccessTree {
public:
    static std::vector<Control*> Children(const Control& control);
    // The deepest exposed control under the point (client coordinates),
    // `control` itself when no child is there; null outside it.
    static Control* HitTest(Control& control, UiPoint point);
    // The sibling after or before `control` among its parent's children.
    static Control* Sibling(const Control& control, bool next);
    // The nearest sibling in a direction (NAVDIR_UP, _DOWN, _LEFT, _RIGHT).
    static Control* Nearest(const Control& control, long direction);
};

} // namespace ui
