#pragma once

#include "ui/core/Layout.h"

namespace ui {

// Children in rows of equal columns: "itemsize" fixes the tile size (and
// with it the column count), otherwise "columns" the count.
class TileLayout : public Layout {
public:
    bool SetAttribute(const std::wstring& name, const std::wstring& value) override;
    UiSize ArrangeChildren(const Items& items, const UiRect& rect) override;
    UiSize EstimateChildrenSize(const Items& items, UiSize available) override;
    void RescaleDpi(int from, int to) override;

    UiSize GetItemSize() const { return m_itemSize; }
    void SetItemSize(UiSize size);
    int32_t GetColumns() const { return m_columns; }
    void SetColumns(int32_t columns);

private:
    UiSize m_itemSize;
    int32_t m_columns = 0;
};

} // namespace ui
