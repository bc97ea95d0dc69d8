#pragma once

#include "ui/core/LayoutItem.h"
#include "ui/core/SizeRequest.h"

namespace ui {

// A child with plain fields: its estimate answers the requested size, or
// `content` for an auto dimension.
struct FakeLayoutItem : LayoutItem {
    bool visible = true;
    bool floating = false;
    int32_t fixedWidth = kSizeStretch;
    int32_t fixedHeight = kSizeStretch;
    int32_t minWidth = -1;
    int32_t minHeight = -1;
    int32_t maxWidth = kSizeMax;
    int32_t maxHeight = kSizeMax;
    int32_t horAlign = 0;
    int32_t verAlign = 0;
    UiRect margin;
    UiSize content;
    UiRect rect{-1, -1, -1, -1};
    int estimates = 0;
    UiSize lastAvailable;
    // Text-like content that wraps: at a fixed width it grows in height.
    bool wraps = false;

    bool IsVisible() const override { return visible; }
    bool IsFloat() const override { return floating; }
    int32_t GetFixedWidth() const override { return fixedWidth; }
    int32_t GetFixedHeight() const override { return fixedHeight; }
    int32_t GetMinWidth() const override { return minWidth; }
    int32_t GetMinHeight() const override { return minHeight; }
    int32_t GetMaxWidth() const override { return maxWidth; }
    int32_t GetMaxHeight() const override { return maxHeight; }
    int32_t GetHorAlignType() const override { return horAlign; }
    int32_t GetVerAlignType() const override { return verAlign; }
    UiRect GetMargin() const override { return margin; }
    UiSize EstimateSize(UiSize available) override
    {
        ++estimates;
        lastAvailable = available;
        UiSize size(fixedWidth, fixedHeight);
        if (fixedWidth == kSizeAuto)
            size.cx = content.cx;
        if (fixedHeight == kSizeAuto) {
            size.cy = content.cy;
            if (wraps && fixedWidth > 0)
                size.cy = content.cy * ((content.cx + fixedWidth - 1) / fixedWidth);
        }
        return size;
    }
    void SetRect(const UiRect& r) override { rect = r; }
    void SetFixedWidthForEstimate(int32_t width, bool) override { fixedWidth = width; }
};

} // namespace ui
