#pragma once

#include "ui/core/LayoutItem.h"

#include <cstdint>
#include <span>

namespace ui {

// The size arithmetic of the layouts, independent of any window system.
// Arrange functions place the visible children inside a rectangle and
// answer the size the flow used; Estimate functions answer the size a box
// of that layout wants (padding included).
class LayoutEngine {
public:
    using Items = std::span<LayoutItem* const>;

    // min first, then max; a negative max means no limit.
    static UiSize Clamp(const LayoutItem& item, UiSize size);
    // Places one child by its margin and alignment inside rect.
    static UiSize PlaceFloating(LayoutItem& item, const UiRect& rect);

    // The plain layout: every child in the same rectangle.
    static void ArrangeStacked(Items items, const UiRect& rect);
    static UiSize EstimateStacked(Items items, UiSize available, const UiRect& padding);

    // A row (horizontal) or a column: fixed and auto children take their
    // size, stretch children share what is left.
    static UiSize ArrangeLinear(Items items, const UiRect& rect, int32_t childMargin,
                                bool horizontal);
    static UiSize EstimateLinear(Items items, UiSize available, const UiRect& padding,
                                 int32_t childMargin, bool horizontal);

    // Rows of equal columns; columns is the count to use when no tile width
    // is set and receives the count actually used.
    static UiSize ArrangeTiles(Items items, const UiRect& rect, int32_t childMargin,
                               UiSize tileSize, int32_t& columns);
    static UiSize EstimateTiles(Items items, UiSize available, const UiRect& padding,
                                int32_t childMargin, UiSize tileSize, int32_t columns);
};

} // namespace ui
