#pragma once

#include "ui/core/Layout.h"

namespace ui {

// Children in a row: fixed and auto ones take their size, stretch ones
// share the rest, the child margin goes between visible children.
class HLayout : public Layout {
public:
    UiSize ArrangeChildren(const Items& items, const UiRect& rect) override;
    UiSize EstimateChildrenSize(const Items& items, UiSize available) override;
};

} // namespace ui
