#include "ui/core/VLayout.h"

namespace ui {

UiSize VLayout::ArrangeChildren(const Items& items, const UiRect& rect)
{
    return LayoutEngine::ArrangeLinear(AsLayoutItems(items), rect, m_childMargin, false);
}

UiSize VLayout::EstimateChildrenSize(const Items& items, UiSize available)
{
    return LayoutEngine::EstimateLinear(AsLayoutItems(items), available, m_padding, m_childMargin,
                                        false);
}

} // namespace ui
