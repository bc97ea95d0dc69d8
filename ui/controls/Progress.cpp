#include "ui/controls/Progress.h"

#include "ui/controls/SliderGeometry.h"
#include "ui/core/AttributeText.h"
#include "ui/markup/GlobalManager.h"
#include "ui/render/IRenderContext.h"

#include <oleacc.h>

#include <cwchar>
#include <iterator>

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

std::wstring Progress::GetAccessName() const
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
