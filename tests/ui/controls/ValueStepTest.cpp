#include "ui/controls/ValueStep.h"

#include <gtest/gtest.h>

#include <limits>

namespace ui {
namespace {

double Key(ValueKey key, double value, int32_t repeat = 1)
{
    // A mixer fader: 0..44, step 1, page 6.
    return ValueStep::Target(key, value, 0, 44, 1, 6, repeat);
}

TEST(ValueStepTest, KeysStopAtTheEndsAndNeverMoveAgainstTheirDirection)
{
    EXPECT_EQ(Key(ValueKey::kStepUp, 30), 31);
    EXPECT_EQ(Key(ValueKey::kPageDown, 30), 24);
    EXPECT_EQ(Key(ValueKey::kPageUp, 40), 44);
    EXPECT_EQ(Key(ValueKey::kStepDown, 0), 0);
    EXPECT_EQ(Key(ValueKey::kStepUp, 10, 3), 13); // a held key's counted repeats
    EXPECT_EQ(Key(ValueKey::kStepDown, 43.5), 42.5);
    // A level the device put above the top: up keeps it, down brings it in.
    EXPECT_EQ(Key(ValueKey::kStepUp, 46), 46);
    EXPECT_EQ(Key(ValueKey::kStepDown, 46), 45);
    EXPECT_EQ(Key(ValueKey::kToMax, 46), 44);
    EXPECT_EQ(Key(ValueKey::kToMin, 20), 0);
    // A range painting repairs, and one at the top of the integer range.
    constexpr int32_t top = std::numeric_limits<int32_t>::max();
    EXPECT_EQ(ValueStep::Target(ValueKey::kToMax, 5, 5, 5, 1, 1, 1), 6);
    EXPECT_EQ(ValueStep::Target(ValueKey::kToMax, top, top, top, 1, 1, 1), top + 1.0);
}

TEST(ValueStepTest, APageIsTheSkinsOrAFifthOfTheRangeAndAtLeastAStep)
{
    EXPECT_EQ(ValueStep::PageSize(10, 1, 0, 100), 10);
    EXPECT_EQ(ValueStep::PageSize(0, 1, 3, 9), 1);
    EXPECT_EQ(ValueStep::PageSize(0, 2, 0, 5), 2);
    EXPECT_EQ(ValueStep::PageSize(0, 0, 0, 4), 1);
    EXPECT_EQ(ValueStep::PageSize(0, 1, std::numeric_limits<int32_t>::min(),
                                  std::numeric_limits<int32_t>::max()),
              858993459);
}

} // namespace
} // namespace ui
