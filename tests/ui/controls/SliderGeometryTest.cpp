#include "ui/controls/SliderGeometry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace ui {
namespace {

// The mixer's fader: 29 x 200 with a 29 x 15 thumb, range 0..44.
const UiRect kFader(10, 20, 39, 220);
const UiSize kThumb(29, 15);

double DragTo(int y)
{
    return SliderGeometry::ValueAtPoint(kFader, kThumb, false, 0, 44, UiPoint(24, y));
}

TEST(SliderGeometryTest, VerticalDragIsMaxNearTheTopAndMinNearTheBottom)
{
    EXPECT_EQ(DragTo(kFader.top + 7), 44);
    EXPECT_EQ(DragTo(kFader.top - 50), 44);
    EXPECT_EQ(DragTo(kFader.bottom - 7), 0);
    EXPECT_EQ(DragTo(kFader.bottom + 50), 0);
}

TEST(SliderGeometryTest, VerticalDragInBetweenIsProportionalAndNotRounded)
{
    for (const int y : {kFader.top + 8, 100, 150, kFader.bottom - 8}) {
        const double expected = 44.0 * (kFader.bottom - 7 - y) / 185;
        EXPECT_DOUBLE_EQ(DragTo(y), expected) << "y = " << y;
    }
    EXPECT_NE(DragTo(100), std::trunc(DragTo(100)));
}

TEST(SliderGeometryTest, HorizontalDragRunsFromMinAtTheLeft)
{
    const UiRect rect(0, 0, 110, 20);
    const UiSize thumb(10, 10);
    const auto at = [&](int x) {
        return SliderGeometry::ValueAtPoint(rect, thumb, true, 10, 20, UiPoint(x, 5));
    };
    EXPECT_EQ(at(5), 10);
    EXPECT_EQ(at(105), 20);
    EXPECT_DOUBLE_EQ(at(55), 10 + (55 - 5) * 10.0 / 100);
}

TEST(SliderGeometryTest, ThumbFollowsTheValueAlongTheTrack)
{
    EXPECT_EQ(SliderGeometry::ThumbRect(kFader, kThumb, false, 0, 44, 44), UiRect(10, 20, 39, 35));
    EXPECT_EQ(SliderGeometry::ThumbRect(kFader, kThumb, false, 0, 44, 0), UiRect(10, 205, 39, 220));
    // 22 of 44: 205 - 92.5 truncated.
    EXPECT_EQ(SliderGeometry::ThumbRect(kFader, kThumb, false, 0, 44, 22).top, 112);
    // A narrower thumb is centred across the track.
    EXPECT_EQ(SliderGeometry::ThumbRect(kFader, UiSize(15, 10), false, 0, 44, 0).left, 17);
    EXPECT_EQ(SliderGeometry::ThumbRect(UiRect(0, 0, 110, 20), UiSize(10, 10), true, 0, 100, 50),
              UiRect(50, 5, 60, 15));
}

TEST(SliderGeometryTest, SliderFillEndsAtTheMiddleOfTheThumb)
{
    const UiSize size(29, 200);
    for (const double value : {0.0, 11.0, 22.0, 43.0, 44.0}) {
        const UiRect fill = SliderGeometry::SliderFill(size, kThumb, false, 0, 44, value);
        const UiRect thumb =
            SliderGeometry::ThumbRect(UiRect(0, 0, 29, 200), kThumb, false, 0, 44, value);
        EXPECT_NEAR(fill.top, thumb.top + kThumb.cy / 2.0, 1.0) << "value " << value;
        EXPECT_EQ(fill.bottom, 200);
    }
    // Inside progress-bar padding 0,6,0,6 the track is 188 high.
    EXPECT_EQ(SliderGeometry::SliderFill(UiSize(29, 188), kThumb, false, 0, 44, 0).top, 180);
    EXPECT_EQ(SliderGeometry::SliderFill(UiSize(29, 188), kThumb, false, 0, 44, 44).top, 7);
}

TEST(SliderGeometryTest, ProgressFillGrowsRightwardsOrUpwards)
{
    EXPECT_EQ(SliderGeometry::ProgressFill(UiSize(200, 10), true, 0, 100, 25),
              UiRect(0, 0, 50, 10));
    EXPECT_EQ(SliderGeometry::ProgressFill(UiSize(10, 200), false, 0, 100, 25),
              UiRect(0, 150, 10, 200));
}

TEST(SliderGeometryTest, RepairMakesTheRangeNonEmptyAndClampsTheValue)
{
    int32_t max = 44;
    double value = 50;
    SliderGeometry::Repair(0, max, value);
    EXPECT_EQ(max, 44);
    EXPECT_EQ(value, 44);

    max = 5;
    value = 2;
    SliderGeometry::Repair(5, max, value);
    EXPECT_EQ(max, 6);
    EXPECT_EQ(value, 5);

    max = 3;
    value = 4.5;
    SliderGeometry::Repair(7, max, value);
    EXPECT_EQ(max, 8);
    EXPECT_EQ(value, 7);

    // No room above the largest minimum: the range stays empty, no overflow.
    constexpr int32_t kTop = std::numeric_limits<int32_t>::max();
    max = 0;
    value = 0;
    SliderGeometry::Repair(kTop, max, value);
    EXPECT_EQ(max, kTop);
    EXPECT_EQ(value, kTop);
    EXPECT_EQ(SliderGeometry::ProgressFill(UiSize(100, 10), true, kTop, max, value),
              UiRect(0, 0, 0, 10));
}

TEST(SliderGeometryTest, AnEmptyRangeCountsAsOneStep)
{
    // min = max: painted as if max were min + 1.
    EXPECT_EQ(SliderGeometry::ProgressFill(UiSize(100, 10), true, 5, 5, 5.5), UiRect(0, 0, 50, 10));
    EXPECT_EQ(SliderGeometry::ThumbRect(UiRect(0, 0, 110, 10), UiSize(10, 10), true, 5, 5, 6).left,
              100);
}

TEST(SliderGeometryTest, ValuesNotYetClampedStayInsideTheIntRange)
{
    // Wheel steps are clamped only at the next paint; geometry in between
    // must not overflow.
    const UiRect thumb = SliderGeometry::ThumbRect(kFader, kThumb, false, 0, 44, 1e12);
    EXPECT_LT(thumb.top, kFader.top);
    const double huge = SliderGeometry::ValueAtPoint(UiRect(0, 0, 10, 100000), UiSize(2, 2), false,
                                                     -2000000000, 2000000000, UiPoint(5, 40000));
    EXPECT_GT(huge, 0);
}

} // namespace
} // namespace ui
