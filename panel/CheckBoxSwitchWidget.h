#pragma once

#include "panel/SwitchWidget.h"
#include "ui/controls/CheckBoxTemplate.h"

// A mixer rules' switch over a skin check box.
class CheckBoxSwitchWidget : public SwitchWidget {
public:
    explicit CheckBoxSwitchWidget(ui::CheckBox& box) : m_box(box) {}

    bool IsSelected() const override { return m_box.IsSelected(); }
    void ShowSelected(bool selected) override { m_box.Selected(selected, false); }

private:
    ui::CheckBox& m_box;
};
