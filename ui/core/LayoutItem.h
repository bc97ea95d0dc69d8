#pragma once

#include "ui/render/UiRect.h"
#include "ui/render/UiSize.h"

#include <cstdint>

namespace ui {

// What the layout arithmetic needs from a child: its size requests, margin
// and alignment, and a way to measure and place it. Every control is one.
class LayoutItem {
public:
    virtual ~LayoutItem() = default;

    virtual bool IsVisible() const = 0;
    virtual bool IsFloat() const = 0;
    virtual int32_t GetFixedWidth() const = 0;
    virtual int32_t GetFixedHeight() const = 0;
    virtual int32_t GetMinWidth() const = 0;
    virtual int32_t GetMinHeight() const = 0;
    virtual int32_t GetMaxWidth() const = 0;
    virtual int32_t GetMaxHeight() const = 0;
    virtual int32_t GetHorAlignType() const = 0;
    virtual int32_t GetVerAlignType() const = 0;
    virtual UiRect GetMargin() const = 0;

    virtual UiSize EstimateSize(UiSize available) = 0;
    virtual void SetRect(const UiRect& rect) = 0;
    // Changes the width request only to measure again at that width: the
    // estimate goes stale but no layout pass is asked for.
    virtual void SetFixedWidthForEstimate(int32_t width, bool needDpiScale) = 0;
};

} // namespace ui
