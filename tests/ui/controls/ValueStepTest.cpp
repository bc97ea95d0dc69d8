#include "ui/controls/ValueStep.h"

#include <gtest/gtest.h>

#include <limits>

namespace ui {
namespace {

// Steps, pages and the ends on a mixer fader are checked from the keyboard
// in the mixer's flow test; these are the cases it cannot reach.
TEST(ValueStepTest, KeysNeverMoveAgainstTheirDirectionAndRangesDoNotOverflow)
{
    // A level the device put above the top: up keeps it, down brings it in.
    EXPECT_EQ(ValueStep::Target(ValueKey::kStepUp, 46, 0, 44, 1, 6, 1), 46);
    EXPECT_EQ(ValueStep::Target(ValueKey::kPageDown, 46, 0, 44, 1, 6, 1), 40);
    constexpr int32_t low = std::numeric_limits<int32_t>::min();
    constexpr int32_t top = std::numeric_limits<int32_t>::max();
    EXPECT_EQ(ValueStep::Target(ValueKey::kToMax, top, top, top, 1, 1, 1), top + 1.0);
    EXPECT_EQ(ValueStep::PageSize(0, 1, low, top), 858993459);
    EXPECT_EQ(ValueStep::PageSize(0, 0, 3, 9), 1); // a knob: at least one step
}

} // namespace
} // namespace ui
