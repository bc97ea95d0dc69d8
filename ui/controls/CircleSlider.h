#pragma once

#include "ui/controls/CircleProgress.h"

namespace ui {

// A rotary knob: a press anywhere moves the value to the pointer's angle
// and starts a drag; each mouse move of the drag sends "valuechange" (the
// press and the release send none). Values are whole. The angle scale
// starts at the zero angle and leaves a dead zone of min angle on both of
// its sides; a knob resting at an end does not jump across that zone. With
// the focus, the arrows turn it by the step, Page Up and Down by the page
// ("pagestep") and Home and End to the start (min) and end of its travel.
class CircleSlider : public CircleProgress {
public:
    void SetAttribute(const std::wstring& name, const std::wstring& value) override;
    void HandleEvent(const EventArgs& event) override;
    // A drag ends when the window loses the focus.
    bool NeedsButtonUpOnKillFocus() const override { return true; }
    bool IsAllowTabStop() const override { return true; }
    uint32_t GetAccessRole() const override;

    int32_t GetChangeStep() const { return m_step; }
    void SetChangeStep(int32_t step) { m_step = step; }
    double GetZeroAngle() const { return m_zeroAngle; }
    void SetZeroAngle(double degrees) { m_zeroAngle = degrees; }
    double GetMinAngle() const { return m_minAngle; }
    void SetMinAngle(double degrees) { m_minAngle = degrees; }

protected:
    std::optional<UiPoint> GetPointerEnd(UiPoint center, int length) const override;

private:
    void SetValueFromPoint(UiPoint point);
    void OnWheel(const EventArgs& event);

    int32_t m_step = 1;
    int32_t m_pageStep = 0; // 0: a fifth of the range
    double m_zeroAngle = 180.0;
    double m_minAngle = 45.0;
    UiPoint m_lastPoint;
};

} // namespace ui
