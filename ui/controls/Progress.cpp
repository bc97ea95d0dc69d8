#include "ui/controls/Progress.h"

#include "ui/controls/ControlEvents.h"
#include "ui/controls/SliderGeometry.h"
#include "ui/controls/ValueStep.h"
#include "ui/core/AttributeText.h"
#include "ui/markup/GlobalManager.h"
#include "ui/render/IRenderContext.h"

#include <oleacc.h>

#include <cwchar>
#include <iterator>
#include <optional>

namespace ui {

namespace {

constexpr int32_t kDefaultHeight = 12;

} // namespace

Progress::Progress()
{
    m_fixedHeight = DpiScale(kDefaultHeight);
    m_textStyle = kTextSingleLine | kTextCenter;
}

UiRect Progress::GetProgressPos()
{
    return SliderGeometry::ProgressFill(UiSize(m_rect.Width(), m_rect.Height()), m_horizontal,
                                        m_min, m_max, m_value);
}

void Progress::SetAttribute(const std::wstring& name, const std::wstring& value)
{
    if (name == L"hor") {
        SetHorizontal(AttributeText::ParseBool(value));
    } else if (name == L"min") {
        SetMinValue(AttributeText::ParseInt(value));
    } else if (name == L"max") {
        SetMaxValue(AttributeText::ParseInt(value));
    } else if (name == L"value") {
        SetValue(AttributeText::ParseInt(value));
    } else if (name == L"progressimage") {
        SetProgressImage(value);
    } else if (name == L"isstretchfore") {
        SetStretchForeImage(AttributeText::ParseBool(value));
    } else if (name == L"progresscolor") {
        SetProgressColor(std::wstring(AttributeText::SkipLeadingBlanks(value)));
    } else {
        Label::SetAttribute(name, value);
    }
}

void Progress::PaintStateImages(IRenderContext& context)
{
    RepairRange();
    const UiRect fill = GetProgressPos();
    const uint32_t color = GlobalManager::GetTextColor(m_progressColor);
    if (color != 0) {
        UiRect filled = m_rect;
        if (m_horizontal)
            filled.right = m_rect.left + fill.right;
        else
            filled.top = m_rect.top + fill.top;
        context.FillRect(filled, color, 255);
    }
    if (m_progressImage.imageName.empty())
        return;
    wchar_t modify[160] = {};
    if (m_stretchFore) {
        std::swprintf(modify, std::size(modify), L"destscale='false' dest='%d,%d,%d,%d'", fill.left,
                      fill.top, fill.right, fill.bottom);
    } else {
        // The part of the image under the fill, in the image's 100 % pixels.
        const int scale = GetDpiScale();
        const auto source = [scale](int value) { return ::MulDiv(value, 100, scale); };
        std::swprintf(modify, std::size(modify),
                      L"destscale='false' dest='%d,%d,%d,%d' source='%d,%d,%d,%d'", fill.left,
                      fill.top, fill.right, fill.bottom, source(fill.left), source(fill.top),
                      source(fill.right), source(fill.bottom));
    }
    DrawImage(context, m_progressImage, modify);
}

void Progress::RescaleDpi(int from, int to)
{
    Label::RescaleDpi(from, to);
    m_progressImage.SetImageString(m_progressImage.attributeString);
}

void Progress::ClearImageCache()
{
    Label::ClearImageCache();
    m_progressImage.image.reset();
}

void Progress::SetHorizontal(bool horizontal)
{
    if (horizontal == m_horizontal)
        return;
    m_horizontal = horizontal;
    Invalidate();
}

void Progress::SetMinValue(int32_t min)
{
    m_min = min;
    Invalidate();
}

void Progress::SetMaxValue(int32_t max)
{
    m_max = max;
    Invalidate();
}

void Progress::SetValue(double value)
{
    // The mixer writes every fader again when the device reports a volume
    // change, which during a drag is after every move: an unchanged value
    // looks the same and is not painted again.
    if (value == m_value)
        return;
    StoreValue(value);
    Invalidate();
}

void Progress::StoreValue(double value)
{
    if (value == m_value)
        return;
    m_value = value;
    NotifyAccess(EVENT_OBJECT_VALUECHANGE);
}

bool Progress::MoveByKey(const EventArgs& event, int32_t step, int32_t page, bool homeIsMax)
{
    if (event.type != kEventKeyDown || !IsEnabled() || !IsKeyboardEnabled())
        return false;
    std::optional<ValueKey> key;
    switch (event.keyCode) {
    case VK_UP:
    case VK_RIGHT:
        key = ValueKey::kStepUp;
        break;
    case VK_DOWN:
    case VK_LEFT:
        key = ValueKey::kStepDown;
        break;
    case VK_PRIOR:
        key = ValueKey::kPageUp;
        break;
    case VK_NEXT:
        key = ValueKey::kPageDown;
        break;
    case VK_HOME:
        key = homeIsMax ? ValueKey::kToMax : ValueKey::kToMin;
        break;
    case VK_END:
        key = homeIsMax ? ValueKey::kToMin : ValueKey::kToMax;
        break;
    default:
        return false;
    }
    // A key held down faster than it is handled arrives once, counted.
    const auto repeat = static_cast<int32_t>(event.lParam & 0xFFFF);
    const double target = ValueStep::Target(*key, m_value, m_min, m_max, step, page, repeat);
    if (target == m_value)
        return true;
    StoreValue(target);
    Invalidate();
    SendControlEvent(*this, kEventValueChange);
    return true;
}

void Progress::SetToolTipText(const std::wstring& text)
{
    const std::wstring old = GetToolTipText();
    Label::SetToolTipText(text);
    if (GetToolTipText() != old)
        NotifyAccess(EVENT_OBJECT_VALUECHANGE);
}

uint32_t Progress::GetAccessRole() const
{
    return ROLE_SYSTEM_PROGRESSBAR;
}

std::wstring Progress::DefaultAccessName() const
{
    std::wstring text = GetText();
    return text.empty() ? ReadableName() : text;
}

std::wstring Progress::GetAccessValue() const
{
    std::wstring value = Label::GetAccessValue();
    if (value.empty())
        value = GetToolTipText();
    if (value.empty()) {
        wchar_t number[32] = {};
        std::swprintf(number, std::size(number), L"%g", m_value);
        value = number;
    }
    return value;
}

void Progress::SetStretchForeImage(bool stretch)
{
    if (stretch == m_stretchFore)
        return;
    m_stretchFore = stretch;
    Invalidate();
}

void Progress::SetProgressImage(const std::wstring& image)
{
    m_progressImage.SetImageString(image);
    Invalidate();
}

void Progress::SetProgressColor(const std::wstring& color)
{
    if (color == m_progressColor)
        return;
    m_progressColor = color;
    Invalidate();
}

void Progress::RepairRange()
{
    SliderGeometry::Repair(m_min, m_max, m_value);
}

} // namespace ui
