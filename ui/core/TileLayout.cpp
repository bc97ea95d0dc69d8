#include "ui/core/TileLayout.h"

#include "ui/core/AttributeText.h"
#include "ui/core/DpiRescale.h"
#include "ui/markup/DpiManager.h"

namespace ui {

bool TileLayout::SetAttribute(const std::wstring& name, const std::wstring& value)
{
    if (name == L"itemsize") {
        const UiSize size = AttributeText::ParseSize(value);
        const DpiManager& dpi = DpiManager::GetInstance();
        SetItemSize(UiSize(dpi.ScaleInt(size.cx), dpi.ScaleInt(size.cy)));
        return true;
    }
    if (name == L"columns") {
        SetColumns(AttributeText::ParseInt(value));
        return true;
    }
    return Layout::SetAttribute(name, value);
}

void TileLayout::RescaleDpi(int from, int to)
{
    Layout::RescaleDpi(from, to);
    m_itemSize = RescaleSize(m_itemSize, from, to);
}

UiSize TileLayout::ArrangeChildren(const Items& items, const UiRect& rect)
{
    return LayoutEngine::ArrangeTiles(AsLayoutItems(items), rect, m_childMargin, m_itemSize,
                                      m_columns);
}

UiSize TileLayout::EstimateChildrenSize(const Items& items, UiSize available)
{
    return LayoutEngine::EstimateTiles(AsLayoutItems(items), available, m_padding, m_childMargin,
                                       m_itemSize, m_columns);
}

void TileLayout::SetItemSize(UiSize size)
{
    if (size == m_itemSize)
        return;
    m_itemSize = size;
    RelayoutOwner();
}

void TileLayout::SetColumns(int32_t columns)
{
    if (columns == m_columns)
        return;
    m_columns = columns;
    RelayoutOwner();
}

} // namespace ui
