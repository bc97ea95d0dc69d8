#include "ui/core/Layout.h"

#include "ui/core/AttributeText.h"
#include "ui/core/Box.h"
#include "ui/core/DpiRescale.h"
#include "ui/markup/DpiManager.h"

namespace ui {

bool Layout::SetAttribute(const std::wstring& name, const std::wstring& value)
{
    if (name == L"padding") {
        SetPadding(AttributeText::ParseRect(value), true);
        return true;
    }
    if (name == L"childmargin") {
        SetChildMargin(AttributeText::ParseInt(value));
        return true;
    }
    return false;
}

UiSize Layout::ArrangeChildren(const Items& items, const UiRect& rect)
{
    LayoutEngine::ArrangeStacked(AsLayoutItems(items), rect);
    return UiSize(rect.Width(), rect.Height());
}

UiSize Layout::EstimateChildrenSize(const Items& items, UiSize available)
{
    return LayoutEngine::EstimateStacked(AsLayoutItems(items), available, m_padding);
}

void Layout::SetPadding(const UiRect& padding, bool needDpiScale)
{
    m_padding = padding;
    if (needDpiScale) {
        const DpiManager& dpi = DpiManager::GetInstance();
        m_padding = UiRect(dpi.ScaleInt(padding.left), dpi.ScaleInt(padding.top),
                           dpi.ScaleInt(padding.right), dpi.ScaleInt(padding.bottom));
    }
    RelayoutOwner();
}

void Layout::SetChildMargin(int32_t margin)
{
    m_childMargin = DpiManager::GetInstance().ScaleInt(margin);
    RelayoutOwner();
}

void Layout::RescaleDpi(int from, int to)
{
    m_padding = RescaleRect(m_padding, from, to);
    m_childMargin = DpiManager::Rescale(m_childMargin, from, to);
}

LayoutEngine::Items Layout::AsLayoutItems(const Items& items)
{
    m_itemBuffer.clear();
    m_itemBuffer.reserve(items.size());
    for (const std::unique_ptr<Control>& item : items)
        m_itemBuffer.push_back(item.get());
    return m_itemBuffer;
}

void Layout::RelayoutOwner()
{
    if (m_owner != nullptr)
        m_owner->Relayout();
}

} // namespace ui
