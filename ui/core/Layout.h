#pragma once

#include "ui/core/LayoutEngine.h"
#include "ui/render/UiRect.h"
#include "ui/render/UiSize.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace ui {

class Box;
class Control;

// Decides where a box's children go. The plain layout stacks every child
// in the same rectangle, each placed by its own margin and alignment.
class Layout {
public:
    using Items = std::vector<std::unique_ptr<Control>>;

    Layout() = default;
    virtual ~Layout() = default;
    Layout(const Layout&) = delete;
    Layout& operator=(const Layout&) = delete;

    // Answers whether the attribute was one of the layout's.
    virtual bool SetAttribute(const std::wstring& name, const std::wstring& value);
    // Places the children inside rect; answers the size the flow used.
    virtual UiSize ArrangeChildren(const Items& items, const UiRect& rect);
    // The size an auto-sized box of this layout wants, padding included.
    virtual UiSize EstimateChildrenSize(const Items& items, UiSize available);
    virtual UiRect GetPadding() const { return m_padding; }
    virtual void SetPadding(const UiRect& padding, bool needDpiScale);
    virtual int32_t GetChildMargin() const { return m_childMargin; }
    virtual void SetChildMargin(int32_t margin);
    // The owner's window changed its scale (see PlaceHolder::RescaleDpi).
    virtual void RescaleDpi(int from, int to);

    void SetOwner(Box* owner) { m_owner = owner; }

protected:
    // The children as the layout arithmetic takes them.
    LayoutEngine::Items AsLayoutItems(const Items& items);
    void RelayoutOwner();

    UiRect m_padding;
    int32_t m_childMargin = 0;
    Box* m_owner = nullptr;

private:
    std::vector<LayoutItem*> m_itemBuffer;
};

} // namespace ui
