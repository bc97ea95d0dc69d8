#pragma once

#include "ui/controls/LabelTemplate.h"
#include "ui/markup/ImageAttribute.h"

#include <cstdint>
#include <string>

namespace ui {

// A label that shows a value between min and max as the filled part of its
// rectangle, with a fill colour and/or a fill image (stretched into the
// filled part, or showing the matching part of the image). Min, max and
// value may be set in any order; painting repairs max <= min to min + 1 and
// clamps the value, and stores the result.
class Progress : public Label {
public:
    Progress();

    // The filled part, relative to the control's top-left corner.
    virtual UiRect GetProgressPos();

    void SetAttribute(const std::wstring& name, const std::wstring& value) override;
    void PaintStateImages(IRenderContext& context) override;
    void ClearImageCache() override;
    void RescaleDpi(int from, int to) override;
    // A changed text is a changed value: faders show their level in it.
    void SetToolTipText(const std::wstring& text) override;
    uint32_t GetAccessRole() const override;
    // The text or the skin name: the tool tip is the value.
    std::wstring DefaultAccessName() const override;
    // The read-out set for it, else the tool tip, else the number.
    std::wstring GetAccessValue() const override;
    bool ExposesAccessChildren() const override { return false; }

    bool IsHorizontal() const { return m_horizontal; }
    void SetHorizontal(bool horizontal);
    int32_t GetMinValue() const { return m_min; }
    void SetMinValue(int32_t min);
    int32_t GetMaxValue() const { return m_max; }
    void SetMaxValue(int32_t max);
    double GetValue() const { return m_value; }
    // Raises no event; the value is clamped at the next paint.
    void SetValue(double value);
    bool IsStretchForeImage() const { return m_stretchFore; }
    void SetStretchForeImage(bool stretch);
    const std::wstring& GetProgressImage() const { return m_progressImage.attributeString; }
    void SetProgressImage(const std::wstring& image);
    const std::wstring& GetProgressColor() const { return m_progressColor; }
    void SetProgressColor(const std::wstring& color);

protected:
    // Repairs the range and clamps the value, as painting does.
    void RepairRange();
    // Stores a value and tells assistive technology when it changed.
    void StoreValue(double value);
    // For the sliders and knobs built on it: moves the value for an arrow,
    // Page Up or Down, Home or End key (steps and pages times the key's
    // repeat count) the way a drag step does: stored, repainted and
    // reported with "valuechange"; a key that leaves the value where it is
    // reports nothing. Home goes to max when homeIsMax, else to min. False
    // for other keys and while the control is disabled.
    bool MoveByKey(const EventArgs& event, int32_t step, int32_t page, bool homeIsMax);

    bool m_horizontal = true;
    bool m_stretchFore = true;
    int32_t m_max = 100;
    int32_t m_min = 0;
    double m_value = 0;
    ImageAttribute m_progressImage;
    std::wstring m_progressColor;
};

} // namespace ui
