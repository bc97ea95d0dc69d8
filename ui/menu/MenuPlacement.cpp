#include "ui/menu/MenuPlacement.h"

#include <algorithm>

namespace orb_comp {

ui::UiPoint PlaceMenu(ui::UiPoint point, ui::UiSize size, const ui::UiRect& area,
                      MenuPosition position)
{
    int y = point.y;
    if (position == kMenuBelow) {
        if (point.y + size.cy > area.bottom)
            y = point.y - size.cy;
    } else if (point.y - size.cy >= area.top) {
        y = point.y - size.cy;
    }
    // A menu that fits nowhere above keeps its bottom inside the area.
    y = std::min(y, area.bottom - size.cy);
    const int x = std::max(std::min(point.x, area.right - size.cx), area.left);
    return ui::UiPoint(x, std::max(y, area.top));
}

} // namespace orb_comp
