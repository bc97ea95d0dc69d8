#pragma once

#include "panel/KnobWidget.h"
#include "ui/controls/CircleSlider.h"

// A mixer rules' gain knob over a skin circle slider.
class CircleSliderKnobWidget : public KnobWidget {
public:
    explicit CircleSliderKnobWidget(ui::CircleSlider& knob) : m_knob(knob) {}

    void ShowValue(double value) override { m_knob.SetValue(value); }

private:
    ui::CircleSlider& m_knob;
};
