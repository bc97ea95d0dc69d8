#include "ui/core/ScrollBar.h"

#include "ui/core/StateAttributeName.h"

#include "ui/core/AttributeText.h"
#include "ui/core/ScrollableBox.h"
#include "ui/markup/DpiManager.h"

#include <algorithm>
#include <cwchar>

namespace ui {

ScrollBar::ScrollBar()
{
    m_fixedWidth = DpiScale(kDefaultThickness);
    m_lineSize = DpiScale(kDefaultLineSize);
}

void ScrollBar::RescaleDpi(int from, int to)
{
    Control::RescaleDpi(from, to);
    m_lineSize = DpiManager::Rescale(m_lineSize, from, to);
    for (StateImageMap* images :
         {&m_button1Images, &m_button2Images, &m_thumbImages, &m_railImages})
        images->Reparse();
}

void ScrollBar::SetAttribute(const std::wstring& name, const std::wstring& value)
{
    const std::pair<const wchar_t*, StateImageMap*> sets[] = {
        {L"button1", &m_button1Images},
        {L"button2", &m_button2Images},
        {L"thumb", &m_thumbImages},
        {L"rail", &m_railImages},
    };
    for (const auto& [prefix, images] : sets) {
        if (const auto state = StateInAttributeName(name, prefix, L"image")) {
            images->Set(*state, value);
            Invalidate();
            return;
        }
    }
    if (name == L"hor")
        SetHorizontal(AttributeText::ParseBool(value));
    else if (name == L"linesize")
        m_lineSize = DpiScale(AttributeText::ParseInt(value));
    else if (name == L"range")
        SetScrollRange(AttributeText::ParseInt(value));
    else if (name == L"value")
        SetScrollPos(AttributeText::ParseInt(value));
    else if (name == L"showbutton1")
        m_showButton1 = AttributeText::ParseBool(value);
    else if (name == L"showbutton2")
        m_showButton2 = AttributeText::ParseBool(value);
    else
        Control::SetAttribute(name, value);
}

void ScrollBar::SetHorizontal(bool horizontal)
{
    if (horizontal == m_horizontal)
        return;
    m_horizontal = horizontal;
    if (horizontal) {
        m_fixedHeight = m_fixedWidth > 0 ? m_fixedWidth : DpiScale(kDefaultThickness);
        m_fixedWidth = kSizeStretch;
    } else {
        m_fixedWidth = m_fixedHeight > 0 ? m_fixedHeight : DpiScale(kDefaultThickness);
        m_fixedHeight = kSizeStretch;
    }
    RelayoutFromAncestor();
}

void ScrollBar::SetScrollRange(int64_t range)
{
    m_range = std::max<int64_t>(range, 0);
    m_pos = std::clamp<int64_t>(m_pos, 0, m_range);
    ComputeParts();
    Invalidate();
}

void ScrollBar::SetScrollPos(int64_t pos)
{
    pos = std::clamp<int64_t>(pos, 0, m_range);
    if (pos == m_pos)
        return;
    m_pos = pos;
    ComputeParts();
    Invalidate();
}

void ScrollBar::SetRect(const UiRect& rect)
{
    Control::SetRect(rect);
    ComputeParts();
}

void ScrollBar::ComputeParts()
{
    const UiRect& r = m_rect;
    const int32_t breadth = m_horizontal ? r.Height() : r.Width();
    const int32_t begin = m_horizontal ? r.left : r.top;
    const int32_t end = m_horizontal ? r.right : r.bottom;
    const int32_t button1 = m_showButton1 ? std::min(breadth, (end - begin) / 2) : 0;
    const int32_t button2 = m_showButton2 ? std::min(breadth, (end - begin) / 2) : 0;
    const auto along = [&](int32_t from, int32_t to) {
        return m_horizontal ? UiRect(from, r.top, to, r.bottom) : UiRect(r.left, from, r.right, to);
    };
    m_button1 = along(begin, begin + button1);
    m_button2 = along(end - button2, end);
    const int32_t trackBegin = begin + button1;
    const int32_t track = std::max(end - button2 - trackBegin, 0);
    // The thumb is to the track what the view is to the content.
    const int64_t view = PageSize();
    int32_t thumb = track;
    if (m_range > 0 && view + m_range > 0)
        thumb = static_cast<int32_t>(track * view / (view + m_range));
    thumb = std::clamp(thumb, std::min(DpiScale(kMinThumbLength), track), track);
    const int32_t offset =
        m_range > 0 ? static_cast<int32_t>((track - thumb) * m_pos / m_range) : 0;
    m_thumb = along(trackBegin + offset, trackBegin + offset + thumb);
}

int64_t ScrollBar::PageSize() const
{
    if (m_owner == nullptr)
        return m_lineSize;
    const UiRect view = m_owner->GetContentRect();
    return m_horizontal ? view.Width() : view.Height();
}

ScrollBar::Part ScrollBar::PartAt(UiPoint point) const
{
    if (!m_rect.Contains(point))
        return kPartNone;
    if (m_button1.Contains(point))
        return kPartButton1;
    if (m_button2.Contains(point))
        return kPartButton2;
    if (m_range > 0 && m_thumb.Contains(point))
        return kPartThumb;
    return kPartRail;
}

void ScrollBar::ScrollOwnerTo(int64_t pos)
{
    if (m_owner == nullptr) {
        SetScrollPos(pos);
        return;
    }
    if (m_horizontal)
        m_owner->SetScrollPos(UiSize(static_cast<int32_t>(pos), m_owner->GetScrollPos().cy));
    else
        m_owner->SetScrollPos(UiSize(m_owner->GetScrollPos().cx, static_cast<int32_t>(pos)));
}

void ScrollBar::HandleEvent(const EventArgs& event)
{
    if (!IsMouseEnabled() && IsMouseEvent(event.type)) {
        Control::HandleEvent(event);
        return;
    }
    switch (event.type) {
    case kEventMouseButtonDown:
    case kEventInternalDoubleClick:
    case kEventPointDown: {
        if (!IsEnabled())
            return;
        m_pressed = PartAt(event.mousePoint);
        const int64_t page = PageSize();
        if (m_pressed == kPartButton1)
            ScrollOwnerTo(m_pos - m_lineSize);
        else if (m_pressed == kPartButton2)
            ScrollOwnerTo(m_pos + m_lineSize);
        else if (m_pressed == kPartRail) {
            const bool before =
                m_horizontal ? event.mousePoint.x < m_thumb.left : event.mousePoint.y < m_thumb.top;
            ScrollOwnerTo(before ? m_pos - page : m_pos + page);
        } else if (m_pressed == kPartThumb) {
            m_dragStart = event.mousePoint;
            m_dragStartPos = m_pos;
            SetButtonCaptured(true);
        }
        Invalidate();
        return;
    }
    case kEventMouseMove:
    case kEventPointMove:
        if (m_pressed == kPartThumb) {
            const int32_t moved = m_horizontal ? event.mousePoint.x - m_dragStart.x
                                               : event.mousePoint.y - m_dragStart.y;
            const int32_t track = m_horizontal
                                      ? m_button2.left - m_button1.right - m_thumb.Width()
                                      : m_button2.top - m_button1.bottom - m_thumb.Height();
            if (track > 0)
                ScrollOwnerTo(m_dragStartPos + moved * m_range / track);
        } else if (m_pressed == kPartNone) {
            const Part hot = PartAt(event.mousePoint);
            if (hot != m_hot) {
                m_hot = hot;
                Invalidate();
            }
        }
        return;
    case kEventMouseButtonUp:
    case kEventPointUp:
        m_pressed = kPartNone;
        SetButtonCaptured(false);
        Invalidate();
        return;
    case kEventMouseLeave:
        m_hot = kPartNone;
        Invalidate();
        break;
    default:
        break;
    }
    Control::HandleEvent(event);
}

void ScrollBar::PaintPart(IRenderContext& context, StateImageMap& images, const UiRect& rect,
                          Part part)
{
    if (rect.IsEmpty())
        return;
    ControlState state = kControlStateNormal;
    if (!IsEnabled())
        state = kControlStateDisabled;
    else if (m_pressed == part)
        state = kControlStatePushed;
    else if (m_hot == part)
        state = kControlStateHot;
    if (state != kControlStateNormal && images.Get(state).imageName.empty())
        state = state == kControlStatePushed && !images.Get(kControlStateHot).imageName.empty()
                    ? kControlStateHot
                    : kControlStateNormal;
    wchar_t modify[96];
    std::swprintf(modify, std::size(modify), L"destscale='false' dest='%d,%d,%d,%d'",
                  rect.left - m_rect.left, rect.top - m_rect.top, rect.right - m_rect.left,
                  rect.bottom - m_rect.top);
    DrawImage(context, images.Get(state), modify);
}

void ScrollBar::PaintStateImages(IRenderContext& context)
{
    Control::PaintStateImages(context);
    const UiRect rail = m_horizontal
                            ? UiRect(m_button1.right, m_rect.top, m_button2.left, m_rect.bottom)
                            : UiRect(m_rect.left, m_button1.bottom, m_rect.right, m_button2.top);
    PaintPart(context, m_railImages, rail, kPartRail);
    PaintPart(context, m_button1Images, m_button1, kPartButton1);
    PaintPart(context, m_button2Images, m_button2, kPartButton2);
    if (m_range > 0)
        PaintPart(context, m_thumbImages, m_thumb, kPartThumb);
}

} // namespace ui
