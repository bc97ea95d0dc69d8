#pragma once

#include "ui/core/Layout.h"

namespace ui {

// Children in a column: fixed and auto ones take their size, stretch ones
// share the rest, the child margin goes between visible children.
class VLayout : public Layout {
public:
    UiSize ArrangeChildren(const Items& items, const UiRect& rect) override;
    UiSize EstimateChildrenSize(const Items& items, UiSize available) override;
};

} // namespace ui
