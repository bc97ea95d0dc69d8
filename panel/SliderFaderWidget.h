#pragma once

#include <functional>
#include <string>

#include "panel/FaderWidget.h"

namespace ui {
class Slider;
}

// A mixer rules' fader over a skin slider. A fader given a level text shows
// it as its tool tip, kept up to date with every value the rules put in.
class SliderFaderWidget : public FaderWidget {
public:
    using LevelText = std::function<std::wstring(double position)>;

    explicit SliderFaderWidget(ui::Slider& slider, LevelText levelText = {});

    double Value() const override;
    void ShowValue(double value) override;
    void SetMaxValue(double maximum) override;
    void SetEnabled(bool enabled) override;
    void SetBackgroundImage(const std::wstring& image) override;

    // Recomputes the tool tip from the current value (e.g. after the device
    // that gives the level came or went).
    void RefreshLevelText();

private:
    ui::Slider& m_slider;
    LevelText m_levelText;
};
