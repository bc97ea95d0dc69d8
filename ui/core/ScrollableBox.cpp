#include "ui/core/ScrollableBox.h"

#include "ui/core/AttributeText.h"
#include "ui/core/DpiRescale.h"
#include "ui/core/FindFlags.h"

#include <windows.h>

#include <algorithm>
#include <cstdlib>

namespace ui {

ScrollableBox::ScrollableBox(std::unique_ptr<Layout> layout)
    : Box(std::move(layout)),
      m_scrollAnimation(0, 0, kScrollAnimationMs, [this](int32_t value) { ScrollTo(value); })
{
}

void ScrollableBox::SetWindow(Window* window)
{
    Box::SetWindow(window);
    for (ScrollBar* bar : {m_vScrollBar.get(), m_hScrollBar.get()}) {
        if (bar != nullptr)
            bar->SetWindow(window);
    }
}

void ScrollableBox::SetWindow(Window* window, Box* parent, bool init)
{
    Box::SetWindow(window, parent, init);
    for (ScrollBar* bar : {m_vScrollBar.get(), m_hScrollBar.get()}) {
        if (bar != nullptr)
            bar->SetWindow(window, this, init);
    }
}

void ScrollableBox::SetupScrollBar(ScrollBar& bar, bool horizontal)
{
    bar.SetOwner(this);
    bar.SetHorizontal(horizontal);
    bar.SetWindow(m_window, this, false);
}

void ScrollableBox::EnableScrollBar(bool vertical, bool horizontal)
{
    if (vertical && m_vScrollBar == nullptr) {
        m_vScrollBar = std::make_unique<ScrollBar>();
        SetupScrollBar(*m_vScrollBar, false);
    } else if (!vertical) {
        m_vScrollBar.reset();
    }
    if (horizontal && m_hScrollBar == nullptr) {
        m_hScrollBar = std::make_unique<ScrollBar>();
        SetupScrollBar(*m_hScrollBar, true);
    } else if (!horizontal) {
        m_hScrollBar.reset();
    }
    Relayout();
}

void ScrollableBox::SetAttribute(const std::wstring& name, const std::wstring& value)
{
    if (name == L"vscrollbar") {
        EnableScrollBar(AttributeText::ParseBool(value), m_hScrollBar != nullptr);
    } else if (name == L"hscrollbar") {
        EnableScrollBar(m_vScrollBar != nullptr, AttributeText::ParseBool(value));
    } else if (name == L"vscrollbarstyle") {
        EnableScrollBar(true, m_hScrollBar != nullptr);
        m_vScrollBar->ApplyAttributes(value);
    } else if (name == L"hscrollbarstyle") {
        EnableScrollBar(m_vScrollBar != nullptr, true);
        m_hScrollBar->ApplyAttributes(value);
    } else if (name == L"scrollbarpadding") {
        const UiRect padding = AttributeText::ParseRect(value);
        m_scrollBarPadding = UiRect(DpiScale(padding.left), DpiScale(padding.top),
                                    DpiScale(padding.right), DpiScale(padding.bottom));
        Relayout();
    } else if (name == L"vscrollunit") {
        m_vScrollUnit = DpiScale(AttributeText::ParseInt(value));
    } else if (name == L"hscrollunit") {
        m_hScrollUnit = DpiScale(AttributeText::ParseInt(value));
    } else if (name == L"scrollbarfloat") {
        m_scrollBarFloat = AttributeText::ParseBool(value);
    } else if (name == L"defaultdisplayscrollbar") {
        m_defaultDisplayScrollBar = AttributeText::ParseBool(value);
    } else if (name == L"holdend") {
        m_holdEnd = AttributeText::ParseBool(value);
    } else {
        Box::SetAttribute(name, value);
    }
}

void ScrollableBox::SetRect(const UiRect& rect)
{
    Control::SetRect(rect);
    UiRect content = GetContentRect();
    UiSize used = m_items.empty() ? UiSize() : m_layout->ArrangeChildren(m_items, content);
    const int32_t barWidth = m_vScrollBar ? m_vScrollBar->GetFixedWidth() : 0;
    const int32_t barHeight = m_hScrollBar ? m_hScrollBar->GetFixedHeight() : 0;
    m_vBarShown = m_vScrollBar && m_vScrollBar->IsVisible() &&
                  (used.cy > content.Height() || m_defaultDisplayScrollBar);
    m_hBarShown = m_hScrollBar && m_hScrollBar->IsVisible() &&
                  (used.cx > content.Width() || m_defaultDisplayScrollBar);
    // Unless they float over the content, the bars take their room from it.
    if (!m_scrollBarFloat && (m_vBarShown || m_hBarShown)) {
        if (m_vBarShown)
            content.right -= barWidth;
        if (m_hBarShown)
            content.bottom -= barHeight;
        if (!m_items.empty())
            used = m_layout->ArrangeChildren(m_items, content);
    }
    const UiSize oldRange = m_scrollRange;
    const bool stayAtEnd = m_holdEnd && oldRange.cy > 0 && m_scrollPos.cy >= oldRange.cy;
    m_scrollRange =
        UiSize(std::max(used.cx - content.Width(), 0), std::max(used.cy - content.Height(), 0));
    m_scrollPos = UiSize(std::clamp(m_scrollPos.cx, 0, m_scrollRange.cx),
                         std::clamp(m_scrollPos.cy, 0, m_scrollRange.cy));
    if (stayAtEnd)
        m_scrollPos.cy = m_scrollRange.cy;
    ArrangeContent(content, used);

    const UiRect area(rect.left + m_scrollBarPadding.left, rect.top + m_scrollBarPadding.top,
                      rect.right - m_scrollBarPadding.right,
                      rect.bottom - m_scrollBarPadding.bottom);
    if (m_vScrollBar) {
        m_vScrollBar->SetRect(UiRect(area.right - barWidth, area.top, area.right,
                                     area.bottom - (m_hBarShown ? barHeight : 0)));
        m_vScrollBar->SetScrollRange(m_scrollRange.cy);
        m_vScrollBar->SetScrollPos(m_scrollPos.cy);
    }
    if (m_hScrollBar) {
        m_hScrollBar->SetRect(UiRect(area.left, area.bottom - barHeight,
                                     area.right - (m_vBarShown ? barWidth : 0), area.bottom));
        m_hScrollBar->SetScrollRange(m_scrollRange.cx);
        m_hScrollBar->SetScrollPos(m_scrollPos.cx);
    }
}

void ScrollableBox::ArrangeContent(const UiRect& content, UiSize used)
{
    if (m_items.empty() || (m_scrollRange == UiSize() && m_scrollPos == UiSize()))
        return;
    const UiRect shifted(content.left - m_scrollPos.cx, content.top - m_scrollPos.cy,
                         content.left - m_scrollPos.cx + std::max(content.Width(), used.cx),
                         content.top - m_scrollPos.cy + std::max(content.Height(), used.cy));
    m_layout->ArrangeChildren(m_items, shifted);
}

void ScrollableBox::SetScrollPos(UiSize pos)
{
    pos = UiSize(std::clamp(pos.cx, 0, m_scrollRange.cx), std::clamp(pos.cy, 0, m_scrollRange.cy));
    if (pos == m_scrollPos)
        return;
    m_scrollPos = pos;
    SetRect(m_rect);
    Invalidate();
    EventArgs event;
    event.type = kEventScrollChange;
    event.sender = this;
    event.timestamp = ::GetTickCount();
    DispatchEvent(event);
}

bool ScrollableBox::InputIsVertical() const
{
    if (m_vScrollBar != nullptr && m_vScrollBar->IsEnabled())
        return true;
    return !(m_hScrollBar != nullptr && m_hScrollBar->IsEnabled());
}

int32_t ScrollableBox::Unit() const
{
    const int32_t unit = InputIsVertical() ? m_vScrollUnit : m_hScrollUnit;
    return unit > 0 ? unit : DpiScale(kDefaultScrollUnit);
}

void ScrollableBox::ScrollTo(int32_t pos)
{
    if (InputIsVertical())
        SetScrollPos(UiSize(m_scrollPos.cx, pos));
    else
        SetScrollPos(UiSize(pos, m_scrollPos.cy));
}

void ScrollableBox::ScrollBy(int32_t delta, bool animate)
{
    const bool vertical = InputIsVertical();
    const int32_t current = vertical ? m_scrollPos.cy : m_scrollPos.cx;
    const int32_t range = vertical ? m_scrollRange.cy : m_scrollRange.cx;
    // A running animation keeps going to a target further on.
    const int32_t from =
        animate && m_scrollAnimation.IsPlaying() ? m_scrollAnimation.GetEndValue() : current;
    const int32_t target = std::clamp(from + delta, 0, range);
    if (target == current && !m_scrollAnimation.IsPlaying())
        return;
    if (!animate) {
        m_scrollAnimation.Reset();
        ScrollTo(target);
        return;
    }
    m_scrollAnimation.Reset();
    m_scrollAnimation.SetRange(current, target);
    m_scrollAnimation.Play();
}

void ScrollableBox::HandleEvent(const EventArgs& event)
{
    const bool scrolls = (m_vScrollBar != nullptr && m_vScrollBar->IsEnabled()) ||
                         (m_hScrollBar != nullptr && m_hScrollBar->IsEnabled());
    if (!scrolls || (!IsMouseEnabled() && IsMouseEvent(event.type))) {
        Box::HandleEvent(event);
        return;
    }
    const int32_t page = InputIsVertical() ? GetContentRect().Height() : GetContentRect().Width();
    switch (event.type) {
    case kEventKeyDown:
        switch (event.keyCode) {
        case VK_PRIOR:
            ScrollBy(-page, false);
            return;
        case VK_NEXT:
            ScrollBy(page, false);
            return;
        case VK_HOME:
            ScrollBy(-(1 << 30), false);
            return;
        case VK_END:
            ScrollBy(1 << 30, false);
            return;
        case VK_UP:
        case VK_LEFT:
            ScrollBy(-Unit(), true);
            return;
        case VK_DOWN:
        case VK_RIGHT:
            ScrollBy(Unit(), true);
            return;
        default:
            break;
        }
        break;
    case kEventMouseScrollWheel: {
        const auto delta = static_cast<int32_t>(static_cast<uint32_t>(event.wParam));
        const int32_t step = std::min(Unit(), std::max(std::abs(delta), 1));
        ScrollBy(delta >= 1 ? -step : step, true);
        return;
    }
    case kEventPointDown:
        m_dragging = true;
        m_dragPoint = event.mousePoint;
        break;
    case kEventPointMove:
        if (m_dragging) {
            const int32_t moved = InputIsVertical() ? m_dragPoint.y - event.mousePoint.y
                                                    : m_dragPoint.x - event.mousePoint.x;
            m_dragPoint = event.mousePoint;
            ScrollBy(moved, false);
            return;
        }
        break;
    case kEventPointUp:
        m_dragging = false;
        break;
    default:
        break;
    }
    Box::HandleEvent(event);
}

Control* ScrollableBox::FindControl(const FindVisitor& visitor, UiPoint point, uint32_t flags)
{
    if ((flags & kFindHitTest) != 0 && IsVisible() && m_rect.Contains(point)) {
        for (auto [bar, shown] : {std::pair{m_vScrollBar.get(), m_vBarShown},
                                  std::pair{m_hScrollBar.get(), m_hBarShown}}) {
            if (bar != nullptr && shown) {
                if (Control* found = bar->FindControl(visitor, point, flags))
                    return found;
            }
        }
    }
    return Box::FindControl(visitor, point, flags);
}

void ScrollableBox::PaintChildren(IRenderContext& context, const UiRect& dirtyRect)
{
    Box::PaintChildren(context, dirtyRect);
    if (m_vScrollBar && m_vBarShown)
        m_vScrollBar->PaintWithAlpha(context, dirtyRect);
    if (m_hScrollBar && m_hBarShown)
        m_hScrollBar->PaintWithAlpha(context, dirtyRect);
}

void ScrollableBox::RescaleDpi(int from, int to)
{
    Box::RescaleDpi(from, to);
    m_scrollBarPadding = RescaleRect(m_scrollBarPadding, from, to);
    m_vScrollUnit = DpiManager::Rescale(m_vScrollUnit, from, to);
    m_hScrollUnit = DpiManager::Rescale(m_hScrollUnit, from, to);
    m_scrollPos = RescaleSize(m_scrollPos, from, to);
    for (ScrollBar* bar : {m_vScrollBar.get(), m_hScrollBar.get()}) {
        if (bar != nullptr)
            bar->RescaleDpi(from, to);
    }
}

void ScrollableBox::ClearImageCache()
{
    Box::ClearImageCache();
    for (ScrollBar* bar : {m_vScrollBar.get(), m_hScrollBar.get()}) {
        if (bar != nullptr)
            bar->ClearImageCache();
    }
}

} // namespace ui
