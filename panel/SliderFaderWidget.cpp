#include "panel/SliderFaderWidget.h"

#include <cmath>

#include "ui/controls/Slider.h"
#include "ui/core/Window.h"

SliderFaderWidget::SliderFaderWidget(ui::Slider& slider, LevelText levelText)
    : m_slider(slider), m_levelText(std::move(levelText))
{
    RefreshLevelText();
}

double SliderFaderWidget::Value() const
{
    return m_slider.GetValue();
}

void SliderFaderWidget::ShowValue(double value)
{
    m_slider.SetValue(value);
    RefreshLevelText();
}

void SliderFaderWidget::SetMaxValue(double maximum)
{
    m_slider.SetMaxValue(static_cast<int32_t>(std::trunc(maximum)));
}

void SliderFaderWidget::SetEnabled(bool enabled)
{
    m_slider.SetEnabled(enabled);
}

void SliderFaderWidget::SetBackgroundImage(const std::wstring& image)
{
    m_slider.SetBkImage(image);
}

void SliderFaderWidget::RefreshLevelText()
{
    if (!m_levelText)
        return;
    std::wstring text = m_levelText(m_slider.GetValue());
    // A shown tip is redrawn on every update; most values keep their level.
    if (text == m_slider.GetToolTipText())
        return;
    m_slider.SetToolTipText(text);
    if (ui::Window* window = m_slider.GetWindow())
        window->UpdateToolTip(&m_slider);
}
