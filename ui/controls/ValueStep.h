#pragma once

#include <cstdint>

namespace ui {

// What a key asks of a slider's or knob's value.
enum class ValueKey { kStepUp, kStepDown, kPageUp, kPageDown, kToMax, kToMin };

// The arithmetic of moving a value from the keyboard. Steps and pages move
// by their size times the key's repeat count and stop at the ends; a move
// never goes against its own direction (a value the device put above the
// top stays there on a step up). A range of max <= min counts as min + 1,
// the way painting repairs it.
class ValueStep {
public:
    static double Target(ValueKey key, double value, int32_t min, int32_t max, int32_t step,
                         int32_t page, int32_t repeat);
    // The page a skin gives (pageStep > 0), else a fifth of the range; at
    // least one step either way.
    static int32_t PageSize(int32_t pageStep, int32_t step, int32_t min, int32_t max);
};

} // namespace ui
