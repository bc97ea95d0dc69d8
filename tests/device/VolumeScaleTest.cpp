#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "device/VolumeScale.h"

namespace {

VolumeMuteInfo Range(int minDb256, int maxDb256, int resolution)
{
    VolumeMuteInfo range;
    range.minVolume = static_cast<int16_t>(minDb256);
    range.maxVolume = static_cast<int16_t>(maxDb256);
    range.resolution = static_cast<int16_t>(resolution);
    return range;
}

const VolumeMuteInfo kDefault = Range(-127 * 256, 0, 256);

TEST(VolumeScaleTest, TablePositionsGiveTheirVolumes)
{
    EXPECT_EQ(0, VolumeScale::PositionToVolume(44.0, kDefault));
    EXPECT_EQ(-7168, VolumeScale::PositionToVolume(16.0, kDefault));
    EXPECT_EQ(0, VolumeScale::PositionToVolume(44.9, kDefault)); // truncated to the table point
    EXPECT_EQ(-127 * 256, VolumeScale::PositionToVolume(0.0, kDefault));
    EXPECT_EQ(-70 * 256, VolumeScale::PositionToVolume(1.0, kDefault));
    EXPECT_EQ(-29 * 256, VolumeScale::PositionToVolume(15.99, kDefault));
    EXPECT_EQ(-14 * 256, VolumeScale::PositionToVolume(30.7, kDefault));
}

TEST(VolumeScaleTest, LinearPartRunsFromMinus28DbToTheMaximum)
{
    EXPECT_EQ(-7168, VolumeScale::PositionToVolume(45.0, kDefault));
    EXPECT_EQ(0, VolumeScale::PositionToVolume(100.0, kDefault));

    // +6 dB in 1 dB steps: 34 steps above -28 dB.
    const VolumeMuteInfo loud = Range(-127 * 256, 6 * 256, 256);
    EXPECT_EQ(6 * 256, VolumeScale::PositionToVolume(100.0, loud));
    EXPECT_DOUBLE_EQ(100.0, VolumeScale::VolumeToPosition(6 * 256, loud));
    EXPECT_DOUBLE_EQ(29 * 55.0 / 34 + 45.0, VolumeScale::VolumeToPosition(256, loud));

    // A maximum between steps: the top is the last whole step below it.
    const VolumeMuteInfo ragged = Range(-127 * 256, 1000, 300);
    EXPECT_EQ(-7168 + 27 * 300, VolumeScale::PositionToVolume(100.0, ragged));
}

// +45 dB in 1 dB steps: the position shown for +8 dB is 36 * 55 / 73 + 45,
// which multiplied back comes out a hair below 36 steps. It must still
// give +8 dB, for every step of the linear part and both ways round.
TEST(VolumeScaleTest, ShownPositionsGiveBackTheirVolume)
{
    const VolumeMuteInfo loud = Range(-127 * 256, 45 * 256, 256);
    EXPECT_EQ(8 * 256, VolumeScale::PositionToVolume(72.5, loud));
    EXPECT_EQ(8 * 256,
              VolumeScale::PositionToVolume(VolumeScale::VolumeToPosition(8 * 256, loud), loud));
    for (const VolumeMuteInfo& range : {loud, Range(-127 * 256, 1000, 300), Range(0, 32767, 1)}) {
        const int steps = (range.maxVolume + 7168) / range.resolution;
        for (int k = 0; k <= steps; k += 1 + steps / 500) {
            const int volume = -7168 + k * range.resolution;
            if (volume <= 0)
                continue;
            const double position = VolumeScale::VolumeToPosition(volume, range);
            EXPECT_EQ(volume, VolumeScale::PositionToVolume(position, range)) << k;
        }
    }
}

TEST(VolumeScaleTest, VolumesMapToTheFirstTablePointAtOrAboveThem)
{
    EXPECT_DOUBLE_EQ(17.0, VolumeScale::VolumeToPosition(-7000, kDefault));
    EXPECT_DOUBLE_EQ(44.0, VolumeScale::VolumeToPosition(0, kDefault));
    EXPECT_DOUBLE_EQ(0.0, VolumeScale::VolumeToPosition(-127 * 256, kDefault));
    // Below the device's minimum the volume is clamped first.
    const VolumeMuteInfo shallow = Range(-100 * 256, 0, 256);
    EXPECT_DOUBLE_EQ(1.0, VolumeScale::VolumeToPosition(-127 * 256, shallow));
    // With a maximum of 0 dB nothing comes back above 44.
    EXPECT_DOUBLE_EQ(44.0, VolumeScale::VolumeToPosition(20 * 256, kDefault));
}

TEST(VolumeScaleTest, EveryTablePointMapsBackToItself)
{
    for (int point = 0; point < VolumeScale::kTablePoints; ++point) {
        const int16_t volume = VolumeScale::PositionToVolume(point, kDefault);
        EXPECT_EQ(VolumeScale::TableVolume(point), volume);
        EXPECT_DOUBLE_EQ(point, VolumeScale::VolumeToPosition(volume, kDefault))
            << "point " << point;
    }
}

TEST(VolumeScaleTest, UnusableRangeGivesNoVolumeAndShowsTheTablePoint)
{
    const VolumeMuteInfo empty{};
    const VolumeMuteInfo downward = Range(-127 * 256, 0, -256);
    const VolumeMuteInfo inverted = Range(0, -256, 256);
    EXPECT_TRUE(VolumeScale::IsUsable(kDefault));
    for (const VolumeMuteInfo& range : {empty, downward, inverted}) {
        EXPECT_FALSE(VolumeScale::IsUsable(range));
        EXPECT_EQ(0, VolumeScale::PositionToVolume(60.0, range));
        EXPECT_EQ(0, VolumeScale::PositionToVolume(10.0, range));
    }
    // Shown where the table puts them: the fader then matches the device.
    EXPECT_DOUBLE_EQ(17.0, VolumeScale::VolumeToPosition(-7000, empty));
    EXPECT_DOUBLE_EQ(0.0, VolumeScale::VolumeToPosition(-32768, empty));
    EXPECT_DOUBLE_EQ(44.0, VolumeScale::VolumeToPosition(0, empty));
    EXPECT_DOUBLE_EQ(44.0, VolumeScale::VolumeToPosition(512, empty));
}

TEST(VolumeScaleTest, PositionsOutsideTheScaleArePinnedToIt)
{
    const VolumeMuteInfo loud = Range(-127 * 256, 6 * 256, 256);
    EXPECT_EQ(-127 * 256, VolumeScale::PositionToVolume(-1.0, loud));
    EXPECT_EQ(-127 * 256, VolumeScale::PositionToVolume(-1e300, loud));
    EXPECT_EQ(-127 * 256,
              VolumeScale::PositionToVolume(std::numeric_limits<double>::quiet_NaN(), loud));
    EXPECT_EQ(6 * 256, VolumeScale::PositionToVolume(1e300, loud));
    EXPECT_EQ(6 * 256,
              VolumeScale::PositionToVolume(std::numeric_limits<double>::infinity(), loud));
}

TEST(VolumeScaleTest, ExtremeRangesStayFinite)
{
    // A step larger than the whole span above -28 dB.
    const VolumeMuteInfo coarse = Range(-32768, 512, 10000);
    EXPECT_TRUE(std::isfinite(VolumeScale::VolumeToPosition(512, coarse)));
    EXPECT_DOUBLE_EQ(100.0, VolumeScale::VolumeToPosition(512, coarse));
    const VolumeMuteInfo widest = Range(-32768, 32767, 1);
    EXPECT_EQ(32767, VolumeScale::PositionToVolume(100.0, widest));
    EXPECT_DOUBLE_EQ(100.0, VolumeScale::VolumeToPosition(32767, widest));
}

} // namespace
