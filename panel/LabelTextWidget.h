#pragma once

#include "panel/LabelWidget.h"
#include "ui/controls/LabelTemplate.h"

// A mixer rules' label over a skin label.
class LabelTextWidget : public LabelWidget {
public:
    explicit LabelTextWidget(ui::Label& label) : m_label(label) {}

    void SetText(const std::wstring& text) override { m_label.SetText(text); }

private:
    ui::Label& m_label;
};
