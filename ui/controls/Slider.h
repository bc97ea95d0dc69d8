#pragma once

#include "ui/controls/Progress.h"
#include "ui/core/StateImageMap.h"

namespace ui {

// A progress bar with a thumb that the user drags. A drag starts only on
// the thumb; every mouse move of the drag and the release send
// "valuechange". The wheel moves the value by the step (unclamped until the
// next paint), even while the slider is disabled. With the focus, the
// arrows move it by the step, Page Up and Down by the page ("pagestep"),
// Home and End to the top and bottom (left and right when horizontal). The
// fill is painted in the rectangle shrunk by the progress-bar padding and
// ends at the middle of the thumb.
class Slider : public Progress {
public:
    // The thumb in window client coordinates.
    UiRect GetThumbRect() const;
    UiRect GetProgressPos() override;

    void SetAttribute(const std::wstring& name, const std::wstring& value) override;
    void HandleEvent(const EventArgs& event) override;
    void PaintStateImages(IRenderContext& context) override;
    void ClearImageCache() override;
    void RescaleDpi(int from, int to) override;
    // A drag ends when the window loses the focus.
    bool NeedsButtonUpOnKillFocus() const override { return true; }
    bool IsAllowTabStop() const override { return true; }
    uint32_t GetAccessRole() const override;

    int32_t GetChangeStep() const { return m_step; }
    void SetChangeStep(int32_t step) { m_step = step; }
    UiSize GetThumbSize() const { return m_thumbSize; }
    void SetThumbSize(UiSize size) { m_thumbSize = size; }
    const UiRect& GetProgressBarPadding() const { return m_progressBarPadding; }
    void SetProgressBarPadding(const UiRect& padding);
    void SetThumbImage(ControlState state, const std::wstring& image);

private:
    void SetValueFromPoint(UiPoint point);
    void OnWheel(const EventArgs& event);

    int32_t m_step = 1;
    int32_t m_pageStep = 0; // 0: a fifth of the range
    UiSize m_thumbSize{10, 10};
    // Only the normal image, and the pushed one while dragging, are drawn;
    // the hot and disabled ones are kept for skins that name them.
    StateImageMap m_thumbImages;
    UiRect m_progressBarPadding;
};

} // namespace ui
