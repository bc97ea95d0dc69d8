#pragma once

#include "ui/core/AnimationPlayer.h"
#include "ui/core/Box.h"
#include "ui/core/ScrollBar.h"

#include <memory>

namespace ui {

// A box whose children may be larger than it: they are laid out shifted by
// the scroll position, and optional scroll bars, the wheel, the paging
// keys and pointer dragging move that position.
class ScrollableBox : public Box {
public:
    static constexpr int32_t kDefaultScrollUnit = 20;
    static constexpr int64_t kScrollAnimationMs = 150;

    explicit ScrollableBox(std::unique_ptr<Layout> layout = std::make_unique<Layout>());

    void SetWindow(Window* window) override;
    void SetWindow(Window* window, Box* parent, bool init) override;
    void SetAttribute(const std::wstring& name, const std::wstring& value) override;
    void SetRect(const UiRect& rect) override;
    void HandleEvent(const EventArgs& event) override;
    Control* FindControl(const FindVisitor& visitor, UiPoint point, uint32_t flags) override;
    void PaintChildren(IRenderContext& context, const UiRect& dirtyRect) override;
    void ClearImageCache() override;
    void RescaleDpi(int from, int to) override;

    UiSize GetScrollPos() const { return m_scrollPos; }
    UiSize GetScrollRange() const { return m_scrollRange; }
    // Clamped to the range; lays the children out again at once.
    void SetScrollPos(UiSize pos);
    void EnableScrollBar(bool vertical, bool horizontal);
    ScrollBar* GetVerticalScrollBar() const { return m_vScrollBar.get(); }
    ScrollBar* GetHorizontalScrollBar() const { return m_hScrollBar.get(); }
    bool IsVerticalScrollBarShown() const { return m_vBarShown; }

private:
    // Scrolls the axis the input goes to (the vertical one when it has a
    // bar) by delta; animated steps add up while one is running.
    void ScrollBy(int32_t delta, bool animate);
    void ScrollTo(int32_t pos);
    bool InputIsVertical() const;
    int32_t Unit() const;
    void ArrangeContent(const UiRect& content, UiSize used);
    void SetupScrollBar(ScrollBar& bar, bool horizontal);

    std::unique_ptr<ScrollBar> m_vScrollBar;
    std::unique_ptr<ScrollBar> m_hScrollBar;
    UiRect m_scrollBarPadding;
    int32_t m_vScrollUnit = 0;
    int32_t m_hScrollUnit = 0;
    bool m_scrollBarFloat = false;
    bool m_defaultDisplayScrollBar = false;
    bool m_holdEnd = false;
    bool m_vBarShown = false;
    bool m_hBarShown = false;
    UiSize m_scrollPos;
    UiSize m_scrollRange;
    AnimationPlayer m_scrollAnimation;
    bool m_dragging = false;
    UiPoint m_dragPoint;
};

} // namespace ui
