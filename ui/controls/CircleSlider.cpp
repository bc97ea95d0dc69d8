#include "ui/controls/CircleSlider.h"

#include "ui/controls/CircleGeometry.h"
#include "ui/controls/ControlEvents.h"
#include "ui/controls/ValueStep.h"
#include "ui/core/AttributeText.h"
#include "ui/core/Box.h"

#include <oleacc.h>

namespace ui {

void CircleSlider::SetAttribute(const std::wstring& name, const std::wstring& value)
{
    if (name == L"zeroangle")
        m_zeroAngle = AttributeText::ParseInt(value);
    else if (name == L"minangle")
        m_minAngle = AttributeText::ParseInt(value);
    else if (name == L"step")
        m_step = AttributeText::ParseInt(value);
    else if (name == L"pagestep")
        m_pageStep = AttributeText::ParseInt(value);
    else
        CircleProgress::SetAttribute(name, value);
}

void CircleSlider::HandleEvent(const EventArgs& event)
{
    if (!IsMouseEnabled() && IsMouseEvent(event.type)) {
        if (m_parent != nullptr)
            m_parent->DispatchEvent(event);
        else
            CircleProgress::HandleEvent(event);
        return;
    }
    switch (event.type) {
    case kEventMouseButtonDown:
    case kEventPointDown:
        if (IsEnabled()) {
            SetValueFromPoint(event.mousePoint);
            SetButtonCaptured(true);
            Invalidate();
        }
        return;
    case kEventMouseButtonUp:
    case kEventPointUp:
        if (!IsButtonCaptured())
            break;
        SetButtonCaptured(false);
        return;
    case kEventMouseMove:
        if (IsButtonCaptured() && IsEnabled()) {
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
        if (MoveByKey(event, m_step, ValueStep::PageSize(m_pageStep, m_step, m_min, m_max), false))
            return;
        break;
    case kEventInternalMenu:
        return;
    default:
        break;
    }
    CircleProgress::HandleEvent(event);
}

std::optional<UiPoint> CircleSlider::GetPointerEnd(UiPoint center, int length) const
{
    return CircleGeometry::PointerEnd(center, length, m_value, m_min, m_max, m_minAngle);
}

void CircleSlider::SetValueFromPoint(UiPoint point)
{
    if (IsButtonCaptured() &&
        CircleGeometry::CrossesDeadZone(m_value, m_min, m_max, point.x, m_lastPoint.x))
        return;
    m_lastPoint = point;
    const UiPoint center(m_rect.left + m_rect.Width() / 2, m_rect.top + m_rect.Height() / 2);
    const double angle = CircleGeometry::PointAngle(point.x - center.x, point.y - center.y);
    StoreValue(CircleGeometry::ValueAtAngle(angle, m_zeroAngle, m_minAngle, m_min, m_max));
}

uint32_t CircleSlider::GetAccessRole() const
{
    return ROLE_SYSTEM_SLIDER;
}

void CircleSlider::OnWheel(const EventArgs& event)
{
    const auto delta = static_cast<int32_t>(static_cast<uint32_t>(event.wParam));
    const double value = delta >= 1 ? m_value + m_step : m_value - m_step;
    if (value < m_min || value > m_max)
        return;
    StoreValue(value);
    Invalidate();
    SendControlEvent(*this, kEventValueChange);
}

} // namespace ui
