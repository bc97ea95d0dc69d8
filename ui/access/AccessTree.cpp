#include "ui/access/AccessTree.h"

#include "ui/core/Box.h"
#include "ui/core/Control.h"

#include <windows.h>
#include <oleacc.h>

#include <algorithm>
#include <limits>

namespace ui {

std::vector<Control*> AccessTree::Children(const Control& control)
{
    std::vector<Control*> children;
    const auto* box = dynamic_cast<const Box*>(&control);
    if (box == nullptr || !control.ExposesAccessChildren())
        return children;
    for (size_t i = 0; i < box->GetCount(); ++i) {
        Control* child = box->GetItemAt(i);
        if (child != nullptr && child->IsVisible() && child->IsAccessExposed())
            children.push_back(child);
    }
    return children;
}

Control* AccessTree::HitTest(Control& control, UiPoint point)
{
    if (!control.IsVisible() || !control.GetRect().Contains(point))
        return nullptr;
    // Later children are painted over earlier ones.
    const std::vector<Control*> children = Children(control);
    for (auto child = children.rbegin(); child != children.rend(); ++child) {
        if (Control* hit = HitTest(**child, point))
            return hit;
    }
    return &control;
}

Control* AccessTree::Sibling(const Control& control, bool next)
{
    if (control.GetParent() == nullptr)
        return nullptr;
    const std::vector<Control*> siblings = Children(*control.GetParent());
    const auto at = std::find(siblings.begin(), siblings.end(), &control);
    if (at == siblings.end())
        return nullptr;
    if (next)
        return at + 1 == siblings.end() ? nullptr : *(at + 1);
    return at == siblings.begin() ? nullptr : *(at - 1);
}

Control* AccessTree::Nearest(const Control& control, long direction)
{
    if (control.GetParent() == nullptr)
        return nullptr;
    const UiRect from = control.GetRect();
    Control* nearest = nullptr;
    int64_t best = std::numeric_limits<int64_t>::max();
    for (Control* sibling : Children(*control.GetParent())) {
        const UiRect to = sibling->GetRect();
        const bool ahead = (direction == NAVDIR_LEFT && to.right <= from.left) ||
                           (direction == NAVDIR_RIGHT && to.left >= from.right) ||
                           (direction == NAVDIR_UP && to.bottom <= from.top) ||
                           (direction == NAVDIR_DOWN && to.top >= from.bottom);
        if (sibling == &control || !ahead)
            continue;
        const int64_t dx = (to.left + to.right) / 2 - (from.left + from.right) / 2;
        const int64_t dy = (to.top + to.bottom) / 2 - (from.top + from.bottom) / 2;
        if (dx * dx + dy * dy < best) {
            best = dx * dx + dy * dy;
            nearest = sibling;
        }
    }
    return nearest;
}

} // namespace ui
