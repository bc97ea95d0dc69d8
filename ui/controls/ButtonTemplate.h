#pragma once

#include "ui/controls/LabelTemplate.h"

#include <type_traits>

namespace ui {

// A label that clicks: a left-button release inside the pressed control, or
// space or return while it has the keyboard focus, sends a click event.
template <typename InheritType = Control>
class ButtonTemplate : public LabelTemplate<InheritType> {
public:
    // The label's style, centred both ways.
    static constexpr uint32_t kButtonTextStyle = 0x8125;

    ButtonTemplate();

    void Activate() override;
    void HandleEvent(const EventArgs& event) override;
    bool IsAllowTabStop() const override;
    bool KeepsCaptionClick() const override { return true; }
    bool IsPushButton() const override { return std::is_same_v<InheritType, Control>; }
    uint32_t GetAccessRole() const override;
    std::wstring GetAccessAction() const override { return L"Press"; }
};

extern template class ButtonTemplate<Control>;
extern template class ButtonTemplate<Box>;

using Button = ButtonTemplate<Control>;
using ButtonBox = ButtonTemplate<Box>;

} // namespace ui
