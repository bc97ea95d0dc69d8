#pragma once

#include "ui/render/UiPoint.h"
#include "ui/render/UiRect.h"
#include "ui/render/UiSize.h"

#include <cstdint>

namespace ui {

// The arithmetic of progress bars and sliders: where the fill and the thumb
// go for a value, and which value a pointer position stands for. Results
// are truncated toward zero; a range of max <= min counts as min + 1, the
// way painting repairs it.
class SliderGeometry {
public:
    // Painting restores consistency: max <= min becomes min + 1, then the
    // value is clamped into [min, max].
    static void Repair(int32_t min, int32_t& max, double& value);

    // The filled part of a plain progress bar of the given size, relative to
    // its top-left corner: growing rightwards, or upwards when vertical.
    static UiRect ProgressFill(UiSize size, bool horizontal, int32_t min, int32_t max,
                               double value);

    // The thumb inside the slider's rectangle, in the same coordinates.
    static UiRect ThumbRect(const UiRect& rect, UiSize thumb, bool horizontal, int32_t min,
                            int32_t max, double value);
    // A slider's fill, relative to the top-left corner: it ends at the
    // middle of the thumb.
    static UiRect SliderFill(UiSize size, UiSize thumb, bool horizontal, int32_t min, int32_t max,
                             double value);
    // The value a drag to `point` gives: min or max within half a thumb of
    // the ends, proportional in between, neither rounded nor snapped.
    static double ValueAtPoint(const UiRect& rect, UiSize thumb, bool horizontal, int32_t min,
                               int32_t max, UiPoint point);
};

} // namespace ui
