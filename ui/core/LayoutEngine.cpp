#include "ui/core/LayoutEngine.h"

#include "ui/core/AlignType.h"
#include "ui/core/SizeRequest.h"

#include <algorithm>
#include <vector>

namespace ui {

namespace {

// Reads sizes and rectangles along the flow axis ("main") and across it,
// so that rows and columns share one implementation.
struct Axes {
    bool horizontal;

    int32_t Main(UiSize s) const { return horizontal ? s.cx : s.cy; }
    int32_t Cross(UiSize s) const { return horizontal ? s.cy : s.cx; }
    UiSize Size(int32_t main, int32_t cross) const
    {
        return horizontal ? UiSize(main, cross) : UiSize(cross, main);
    }
    int32_t MainBegin(const UiRect& r) const { return horizontal ? r.left : r.top; }
    int32_t MainEnd(const UiRect& r) const { return horizontal ? r.right : r.bottom; }
    int32_t CrossBegin(const UiRect& r) const { return horizontal ? r.top : r.left; }
    int32_t CrossEnd(const UiRect& r) const { return horizontal ? r.bottom : r.right; }
    UiRect Rect(int32_t mainBegin, int32_t crossBegin, int32_t mainEnd, int32_t crossEnd) const
    {
        return horizontal ? UiRect(mainBegin, crossBegin, mainEnd, crossEnd)
                          : UiRect(crossBegin, mainBegin, crossEnd, mainEnd);
    }
    int32_t CrossAlign(const LayoutItem& item) const
    {
        return horizontal ? item.GetVerAlignType() : item.GetHorAlignType();
    }
};

// Start of a child of size `size` in the span [begin, end), for the shared
// alignment values 0 begin, 1 centre, 2 end. Integer halves truncate, so an
// odd leftover pixel goes after the child.
int32_t AlignedStart(int32_t align, int32_t begin, int32_t end, int32_t size)
{
    switch (align) {
    case kHorAlignRight:
        return end - size;
    case kHorAlignCenter:
        return begin + (end - begin - size) / 2;
    default:
        return begin;
    }
}

int32_t ClampValue(int32_t value, int32_t minimum, int32_t maximum)
{
    value = std::max(value, minimum);
    if (maximum >= 0)
        value = std::min(value, maximum);
    return value;
}

} // namespace

UiSize LayoutEngine::Clamp(const LayoutItem& item, UiSize size)
{
    return UiSize(ClampValue(size.cx, item.GetMinWidth(), item.GetMaxWidth()),
                  ClampValue(size.cy, item.GetMinHeight(), item.GetMaxHeight()));
}

UiSize LayoutEngine::PlaceFloating(LayoutItem& item, const UiRect& rect)
{
    if (!item.IsVisible())
        return UiSize();
    UiRect area = rect;
    area.Deflate(item.GetMargin());
    const UiSize available(area.Width(), area.Height());
    UiSize size = item.EstimateSize(available);
    // Text that does not fit is measured again at the available width, so
    // that it wraps there, and the request goes back to auto afterwards.
    if (item.GetFixedWidth() == kSizeAuto && item.GetFixedHeight() == kSizeAuto &&
        item.GetMaxWidth() == kSizeStretch && size.cx > std::max(available.cx, 0)) {
        item.SetFixedWidthForEstimate(available.cx, available.cx > 0);
        size = item.EstimateSize(available);
        item.SetFixedWidthForEstimate(kSizeAuto, false);
    }
    if (size.cx == kSizeStretch)
        size.cx = std::max(available.cx, 0);
    if (size.cy == kSizeStretch)
        size.cy = std::max(available.cy, 0);
    size = Clamp(item, size);
    const int32_t x = AlignedStart(item.GetHorAlignType(), area.left, area.right, size.cx);
    const int32_t y = AlignedStart(item.GetVerAlignType(), area.top, area.bottom, size.cy);
    item.SetRect(UiRect(x, y, x + size.cx, y + size.cy));
    return size;
}

void LayoutEngine::ArrangeStacked(Items items, const UiRect& rect)
{
    for (LayoutItem* item : items)
        PlaceFloating(*item, rect);
}

UiSize LayoutEngine::EstimateStacked(Items items, UiSize available, const UiRect& padding)
{
    int32_t width = -9999;
    int32_t height = -9999;
    bool counted = false;
    for (LayoutItem* item : items) {
        if (!item->IsVisible())
            continue;
        const UiSize size = Clamp(*item, item->EstimateSize(available));
        const UiRect margin = item->GetMargin();
        width = std::max(width, margin.left + margin.right + size.cx);
        height = std::max(height, margin.top + margin.bottom + size.cy);
        counted = true;
    }
    // With nothing visible the box wants only its padding, not -9999.
    if (!counted)
        width = height = 0;
    return UiSize(width + padding.left + padding.right, height + padding.top + padding.bottom);
}

UiSize LayoutEngine::ArrangeLinear(Items items, const UiRect& rect, int32_t childMargin,
                                   bool horizontal)
{
    const Axes axes{horizontal};
    const UiSize whole(rect.Width(), rect.Height());
    const int32_t length = axes.Main(whole);
    const int32_t breadth = axes.Cross(whole);

    int32_t fixedTotal = 0;
    int32_t stretchCount = 0;
    int32_t flowCount = 0;
    for (LayoutItem* item : items) {
        if (!item->IsVisible() || item->IsFloat())
            continue;
        const UiSize size = item->EstimateSize(whole);
        const UiRect margin = item->GetMargin();
        fixedTotal += axes.MainBegin(margin) + axes.MainEnd(margin);
        if (axes.Main(size) == kSizeStretch)
            ++stretchCount;
        else
            fixedTotal += axes.Main(Clamp(*item, size));
        ++flowCount;
    }
    const int32_t total = fixedTotal + childMargin * std::max(flowCount - 1, 0);
    const int32_t share = stretchCount > 0 ? std::max((length - total) / stretchCount, 0) : 0;
    int32_t remainder = length - share * stretchCount - total;

    int32_t position = axes.MainBegin(rect);
    int32_t remaining = length;
    int32_t usedMain = 0;
    int32_t usedCross = 0;
    int32_t placed = 0;
    for (LayoutItem* item : items) {
        if (!item->IsVisible())
            continue;
        if (item->IsFloat()) {
            PlaceFloating(*item, rect);
            continue;
        }
        const UiRect margin = item->GetMargin();
        const int32_t marginBefore = axes.MainBegin(margin);
        const int32_t marginAfter = axes.MainEnd(margin);
        const UiSize size = item->EstimateSize(axes.Size(remaining - marginBefore, breadth));
        int32_t main = axes.Main(size);
        if (main == kSizeStretch) {
            main = share;
            if (remainder > 0) {
                ++main;
                --remainder;
            }
        }
        int32_t cross = axes.Cross(size);
        if (cross == kSizeStretch)
            cross = std::max(breadth - axes.CrossBegin(margin) - axes.CrossEnd(margin), 0);
        const UiSize clamped = Clamp(*item, axes.Size(main, cross));
        main = axes.Main(clamped);
        cross = axes.Cross(clamped);

        int32_t crossStart = axes.CrossBegin(rect) + axes.CrossBegin(margin);
        if (axes.CrossAlign(*item) == kVerAlignBottom)
            crossStart = axes.CrossEnd(rect) - axes.CrossEnd(margin) - cross;
        else if (axes.CrossAlign(*item) == kVerAlignCenter)
            crossStart = axes.CrossBegin(rect) +
                         (breadth + axes.CrossBegin(margin) - axes.CrossEnd(margin) - cross) / 2;
        item->SetRect(axes.Rect(position + marginBefore, crossStart, position + marginBefore + main,
                                crossStart + cross));
        const int32_t step = marginBefore + main + marginAfter;
        position += step + childMargin;
        remaining -= step + childMargin;
        usedMain += step;
        usedCross = std::max(usedCross, cross);
        ++placed;
    }
    usedMain += childMargin * std::max(placed - 1, 0);
    return axes.Size(usedMain, usedCross);
}

UiSize LayoutEngine::EstimateLinear(Items items, UiSize available, const UiRect& padding,
                                    int32_t childMargin, bool horizontal)
{
    const Axes axes{horizontal};
    int32_t main = 0;
    int32_t cross = 0;
    int32_t count = 0;
    for (LayoutItem* item : items) {
        if (!item->IsVisible() || item->IsFloat())
            continue;
        const UiSize size = Clamp(*item, item->EstimateSize(available));
        const UiRect margin = item->GetMargin();
        main += axes.MainBegin(margin) + axes.MainEnd(margin) + axes.Main(size);
        cross = std::max(cross, axes.CrossBegin(margin) + axes.CrossEnd(margin) + axes.Cross(size));
        ++count;
    }
    main += childMargin * std::max(count - 1, 0);
    const UiSize content = axes.Size(main, cross);
    return UiSize(content.cx + padding.left + padding.right,
                  content.cy + padding.top + padding.bottom);
}

UiSize LayoutEngine::ArrangeTiles(Items items, const UiRect& rect, int32_t childMargin,
                                  UiSize tileSize, int32_t& columns)
{
    const int32_t width = rect.Width();
    if (tileSize.cx > 0)
        columns = std::max(width / tileSize.cx, 1);
    else if (columns <= 0)
        columns = 1;
    const int32_t columnSpace = std::max(width - childMargin * (columns - 1), 0);
    const int32_t columnWidth = columnSpace / columns;
    const int32_t extraColumns = columnSpace - columnWidth * columns;

    std::vector<LayoutItem*> flow;
    for (LayoutItem* item : items) {
        if (!item->IsVisible())
            continue;
        if (item->IsFloat())
            PlaceFloating(*item, rect);
        else
            flow.push_back(item);
    }

    int32_t y = rect.top;
    for (size_t rowStart = 0; rowStart < flow.size(); rowStart += static_cast<size_t>(columns)) {
        const size_t rowEnd = std::min(flow.size(), rowStart + static_cast<size_t>(columns));
        int32_t rowHeight = tileSize.cy;
        if (rowHeight <= 0) {
            rowHeight = 0;
            for (size_t i = rowStart; i < rowEnd; ++i) {
                const UiSize size =
                    Clamp(*flow[i], flow[i]->EstimateSize(UiSize(columnWidth, rect.Height())));
                const UiRect margin = flow[i]->GetMargin();
                rowHeight = std::max(rowHeight, margin.top + margin.bottom + std::max(size.cy, 0));
            }
        }
        int32_t x = rect.left;
        for (size_t i = rowStart; i < rowEnd; ++i) {
            const int32_t column = static_cast<int32_t>(i - rowStart);
            const int32_t tileWidth = columnWidth + (column < extraColumns ? 1 : 0);
            PlaceFloating(*flow[i], UiRect(x, y, x + tileWidth, y + rowHeight));
            x += tileWidth + childMargin;
        }
        y += rowHeight;
        if (rowEnd < flow.size())
            y += childMargin;
    }
    return UiSize(width, y - rect.top);
}

UiSize LayoutEngine::EstimateTiles(Items items, UiSize available, const UiRect& padding,
                                   int32_t childMargin, UiSize tileSize, int32_t columns)
{
    if (tileSize.cx > 0)
        columns = std::max(available.cx / tileSize.cx, 1);
    else if (columns <= 0)
        columns = 1;

    std::vector<UiSize> sizes;
    for (LayoutItem* item : items) {
        if (!item->IsVisible() || item->IsFloat())
            continue;
        const UiSize size = Clamp(*item, item->EstimateSize(available));
        const UiRect margin = item->GetMargin();
        sizes.emplace_back(margin.left + margin.right + std::max(size.cx, 0),
                           margin.top + margin.bottom + std::max(size.cy, 0));
    }
    int32_t tileWidth = tileSize.cx;
    if (tileWidth <= 0) {
        tileWidth = 0;
        for (const UiSize& size : sizes)
            tileWidth = std::max(tileWidth, size.cx);
    }
    const int32_t count = static_cast<int32_t>(sizes.size());
    const int32_t usedColumns = std::min(count, columns);
    int32_t height = 0;
    int32_t rows = 0;
    for (int32_t rowStart = 0; rowStart < count; rowStart += columns) {
        int32_t rowHeight = tileSize.cy;
        if (rowHeight <= 0) {
            rowHeight = 0;
            for (int32_t i = rowStart; i < std::min(count, rowStart + columns); ++i)
                rowHeight = std::max(rowHeight, sizes[static_cast<size_t>(i)].cy);
        }
        height += rowHeight;
        ++rows;
    }
    height += childMargin * std::max(rows - 1, 0);
    const int32_t width = usedColumns * tileWidth + childMargin * std::max(usedColumns - 1, 0);
    return UiSize(width + padding.left + padding.right, height + padding.top + padding.bottom);
}

} // namespace ui
