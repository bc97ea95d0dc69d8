#include "ui/controls/Slider.h"

#include "ui/controls/ControlEvents.h"
#include "ui/controls/SliderGeometry.h"
#include "ui/controls/ValueStep.h"
#include "ui/core/StateAttributeName.h"
#include "ui/core/AttributeText.h"
#include "ui/core/Box.h"
#include "ui/core/DpiRescale.h"

#include <oleacc.h>

#include <cwchar>
#include <iterator>

namespace ui {

UiRect Slider::GetThumbRect() const
{
    return SliderGeometry::ThumbRect(m_rect, m_thumbSize, m_horizontal, m_min, m_max, m_value);
}

UiRect Slider::GetProgressPos()
{
    return SliderGeometry::SliderFill(UiSize(m_rect.Width(), m_rect.Height()), m_thumbSize,
                                      m_horizontal, m_min, m_max, m_value);
}

void Slider::SetAttribute(const std::wstring& name, const std::wstring& value)
{
    if (name == L"step") {
        m_step = AttributeText::ParseInt(value);
    } else if (name == L"pagestep") {
        m_pageStep = AttributeText::ParseInt(value);
    } else if (const auto state = StateInAttributeName(name, L"thumb", L"image")) {
        SetThumbImage(*state, value);
    } else if (name == L"thumbsize") {
        const UiSize size = AttributeText::ParseSize(value);
        m_thumbSize = UiSize(DpiScale(size.cx), DpiScale(size.cy));
    } else if (name == L"progressbarpadding") {
        SetProgressBarPadding(DpiScale(AttributeText::ParseRect(value)));
    } else {
        Progress::SetAttribute(name, value);
    }
}

void Slider::HandleEvent(const EventArgs& event)
{
    if (!IsMouseEnabled() && IsMouseEvent(event.type)) {
        if (m_parent != nullptr)
            m_parent->DispatchEvent(event);
        else
            Progress::HandleEvent(event);
        return;
    }
    switch (event.type) {
    case kEventInternalDoubleClick:
    case kEventMouseButtonDown:
    case kEventPointDown:
        // Only the thumb starts a drag: a press on the groove leaves the
        // value and the look alone.
        if (IsEnabled() && GetThumbRect().Contains(event.mousePoint))
            SetButtonCaptured(true);
        return;
    case kEventMouseMove:
    case kEventMouseButtonUp:
    case kEventPointUp:
        if (!IsButtonCaptured()) {
            if (event.type == kEventMouseMove)
                return;
            break;
        }
        if (event.type != kEventMouseMove)
            SetButtonCaptured(false);
        if (IsEnabled()) {
            const std::weak_ptr<obase::WeakFlag> alive = GetWeakFlag();
            SetValueFromPoint(event.mousePoint);
            SendControlEvent(*this, kEventValueChange);
            if (!alive.expired())
                Invalidate();
        }
        return;
    case kEventPointMove:
        if (!IsButtonCaptured())
            break;
        SetValueFromPoint(event.mousePoint);
        Invalidate();
        return;
    case kEventMouseScrollWheel:
        OnWheel(event);
        return;
    case kEventKeyDown:
        // The top of a vertical slider is its maximum.
        if (MoveByKey(event, m_step, ValueStep::PageSize(m_pageStep, m_step, m_min, m_max),
                      !m_horizontal))
            return;
        break;
    case kEventInternalMenu:
        return;
    default:
        break;
    }
    Progress::HandleEvent(event);
}

void Slider::OnWheel(const EventArgs& event)
{
    const auto delta = static_cast<int32_t>(static_cast<uint32_t>(event.wParam));
    if (delta >= 1) {
        if (m_value >= m_max)
            return;
        StoreValue(m_value + m_step);
    } else {
        if (m_value <= m_min)
            return;
        StoreValue(m_value - m_step);
    }
    Invalidate();
    SendControlEvent(*this, kEventValueChange);
}

void Slider::PaintStateImages(IRenderContext& context)
{
    // The fill works on the padded rectangle (GetProgressPos sees it too);
    // the thumb on the whole one.
    const UiRect whole = m_rect;
    m_rect.Deflate(m_progressBarPadding);
    Progress::PaintStateImages(context);
    m_rect = whole;

    UiRect thumb = GetThumbRect();
    thumb.Offset(-m_rect.left, -m_rect.top);
    wchar_t modify[96] = {};
    std::swprintf(modify, std::size(modify), L"destscale='false' dest='%d,%d,%d,%d'", thumb.left,
                  thumb.top, thumb.right, thumb.bottom);
    if (IsButtonCaptured() && DrawImage(context, m_thumbImages.Get(kControlStatePushed), modify))
        return;
    DrawImage(context, m_thumbImages.Get(kControlStateNormal), modify);
}

void Slider::ClearImageCache()
{
    Progress::ClearImageCache();
    m_thumbImages.ClearCache();
}

void Slider::RescaleDpi(int from, int to)
{
    Progress::RescaleDpi(from, to);
    m_thumbSize = RescaleSize(m_thumbSize, from, to);
    m_progressBarPadding = RescaleRect(m_progressBarPadding, from, to);
    m_thumbImages.Reparse();
}

void Slider::SetProgressBarPadding(const UiRect& padding)
{
    m_progressBarPadding = padding;
    if (IsAutoSized())
        RelayoutFromAncestor();
    else
        Invalidate();
}

void Slider::SetThumbImage(ControlState state, const std::wstring& image)
{
    m_thumbImages.Set(state, image);
    Invalidate();
}

void Slider::SetValueFromPoint(UiPoint point)
{
    StoreValue(
        SliderGeometry::ValueAtPoint(m_rect, m_thumbSize, m_horizontal, m_min, m_max, point));
}

uint32_t Slider::GetAccessRole() const
{
    return ROLE_SYSTEM_SLIDER;
}

} // namespace ui
