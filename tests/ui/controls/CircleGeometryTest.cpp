#include "ui/controls/CircleGeometry.h"

#include <gtest/gtest.h>

#include <cmath>

namespace ui {
namespace {

// The pre-amp knobs: zero angle 180, dead zone 45, gain steps 3..9.
double KnobValue(int dx, int dy)
{
    return CircleGeometry::ValueAtAngle(CircleGeometry::PointAngle(dx, dy), 180, 45, 3, 9);
}

TEST(CircleGeometryTest, PointAnglesRunClockwiseFromTwelve)
{
    EXPECT_DOUBLE_EQ(CircleGeometry::PointAngle(0, -10), 0);
    EXPECT_DOUBLE_EQ(CircleGeometry::PointAngle(0, 10), 180);
    EXPECT_DOUBLE_EQ(CircleGeometry::PointAngle(0, 0), 180);
    EXPECT_DOUBLE_EQ(CircleGeometry::PointAngle(10, 0), 90);
    EXPECT_DOUBLE_EQ(CircleGeometry::PointAngle(-10, 0), 270);
}

TEST(CircleGeometryTest, AnglesUseThreePointOneFourForPi)
{
    const double angle = CircleGeometry::PointAngle(1, -1);
    EXPECT_DOUBLE_EQ(angle, 90 - std::atan(1.0) * 180 / 3.14);
    EXPECT_LT(angle, 45);
}

TEST(CircleGeometryTest, KnobValuesAroundTheCentre)
{
    EXPECT_EQ(KnobValue(-10, 0), 4);
    EXPECT_EQ(KnobValue(0, -10), 6);
    EXPECT_EQ(KnobValue(10, 0), 8);
    EXPECT_EQ(KnobValue(-10, 10), 3);
    EXPECT_EQ(KnobValue(10, 10), 9);
    EXPECT_EQ(KnobValue(-1, 15), 3);
    EXPECT_EQ(KnobValue(1, 15), 9);
}

TEST(CircleGeometryTest, KnobValuesAreAlwaysWhole)
{
    for (int dx = -15; dx <= 15; dx += 3) {
        for (int dy = -15; dy <= 15; dy += 4) {
            const double value = KnobValue(dx, dy);
            EXPECT_EQ(value, std::trunc(value));
            EXPECT_GE(value, 3);
            EXPECT_LE(value, 9);
        }
    }
}

TEST(CircleGeometryTest, ZeroAngleShiftsTheScale)
{
    // With the scale starting at 12 o'clock, straight down is half way.
    EXPECT_EQ(CircleGeometry::ValueAtAngle(180, 0, 0, 0, 100), 50);
    EXPECT_EQ(CircleGeometry::ValueAtAngle(359, 0, 0, 0, 360), 359);
    EXPECT_EQ(CircleGeometry::ValueAtAngle(10, 20, 0, 0, 360), 350);
}

TEST(CircleGeometryTest, ADeadZoneOfHalfTheCircleLeavesTheMinimum)
{
    EXPECT_EQ(CircleGeometry::ValueAtAngle(90, 180, 180, 3, 9), 3);
    EXPECT_EQ(CircleGeometry::ValueAtAngle(90, 180, 270, 3, 9), 3);
}

TEST(CircleGeometryTest, AtAnEndOnlyMovesAwayFromTheDeadZoneCount)
{
    EXPECT_TRUE(CircleGeometry::CrossesDeadZone(3, 3, 9, 11, 10));
    EXPECT_FALSE(CircleGeometry::CrossesDeadZone(3, 3, 9, 9, 10));
    EXPECT_FALSE(CircleGeometry::CrossesDeadZone(3, 3, 9, 10, 10));
    EXPECT_TRUE(CircleGeometry::CrossesDeadZone(9, 3, 9, 9, 10));
    EXPECT_FALSE(CircleGeometry::CrossesDeadZone(9, 3, 9, 11, 10));
    EXPECT_FALSE(CircleGeometry::CrossesDeadZone(6, 3, 9, 11, 10));
}

TEST(CircleGeometryTest, PointerRunsFromLowerLeftOverTheTopToLowerRight)
{
    const UiPoint center(15, 15);
    const UiPoint low = CircleGeometry::PointerEnd(center, 10, 3, 3, 9, 45);
    EXPECT_LT(low.x, center.x);
    EXPECT_GT(low.y, center.y);
    const UiPoint high = CircleGeometry::PointerEnd(center, 10, 9, 3, 9, 45);
    EXPECT_GT(high.x, center.x);
    EXPECT_GT(high.y, center.y);
    EXPECT_EQ(CircleGeometry::PointerEnd(center, 10, 6, 3, 9, 45), UiPoint(14, 5));
    // Without a dead zone a full turn ends where it started.
    EXPECT_EQ(CircleGeometry::PointerEnd(center, 10, 0, 0, 10, 0),
              CircleGeometry::PointerEnd(center, 10, 10, 0, 10, 0));
}

TEST(CircleGeometryTest, SweepFollowsTheValueAndTheDirection)
{
    EXPECT_DOUBLE_EQ(CircleGeometry::SweepAngle(6, 3, 9, true), 180);
    EXPECT_DOUBLE_EQ(CircleGeometry::SweepAngle(6, 3, 9, false), -180);
    EXPECT_DOUBLE_EQ(CircleGeometry::SweepAngle(3, 3, 9, true), 0);
    EXPECT_DOUBLE_EQ(CircleGeometry::SweepAngle(4, 4, 4, true), 0);
}

} // namespace
} // namespace ui
