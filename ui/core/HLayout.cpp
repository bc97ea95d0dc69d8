#include "ui/core/HLayout.h"

namespace ui {

UiSize HLayout::ArrangeChildren(const Items& items, const UiRect& rect)
{
    return LayoutEngine::ArrangeLinear(AsLayoutItems(items), rect, m_childMargin, true);
}

UiSize HLayout::EstimateChildrenSize(const Items& items, UiSize available)
{
    return LayoutEngine::EstimateLinear(AsLayoutItems(items), available, m_padding, m_childMargin,
                                        true);
}

} // namespace ui
