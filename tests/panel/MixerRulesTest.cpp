// The mixer's rules against a device model and plain controls.
#include <gtest/gtest.h>

#include "panel/ChannelMap.h"
#include "panel/MixerRules.h"
#include "tests/panel/FakeMixer.h"

namespace {

using Log = std::vector<std::string>;

class MixerRulesTest : public testing::Test {
protected:
    FakeWidgets m_widgets;
    FakeDevice m_device;
    MixerRules m_rules{m_widgets, m_device};
};

TEST_F(MixerRulesTest, SingleFaderRestsOnTablePoint)
{
    m_rules.OnFaderMoved(L"input_mic1", 30.7);
    EXPECT_EQ(m_device.log, Log({"in1 volume " + std::to_string(-14 * 256)}));
    EXPECT_EQ(m_widgets.faders[L"input_mic1"].value, 30.0);
}

TEST_F(MixerRulesTest, TablePointBelowDeviceMinimumRisesToFirstReachable)
{
    m_device.range[1].minVolume = -100 * 256;
    m_rules.OnFaderMoved(L"input_guitar", 0.0);
    EXPECT_EQ(m_device.log, Log({"in6 volume " + std::to_string(-70 * 256)}));
    EXPECT_EQ(m_widgets.faders[L"input_guitar"].value, 1.0);
}

TEST_F(MixerRulesTest, LockedPairMovesPartnerAfterMovedSide)
{
    m_rules.OnFaderMoved(L"output_ear_right", 20.0);
    const std::string v = std::to_string(-24 * 256);
    EXPECT_EQ(m_device.log, Log({"out2 volume " + v, "out1 volume " + v}));
    EXPECT_EQ(m_widgets.faders[L"output_ear_left"].value, 20.0);
    EXPECT_EQ(m_widgets.faders[L"output_ear_right"].value, 20.0);
}

TEST_F(MixerRulesTest, UnlockedPairMovesOnlyOneSide)
{
    m_widgets.switches[L"output_ear_lock"].selected = true; // selected = unlocked
    m_rules.OnFaderMoved(L"output_ear_right", 20.0);
    EXPECT_EQ(m_device.log, Log({"out2 volume " + std::to_string(-24 * 256)}));
    EXPECT_EQ(m_widgets.faders[L"output_ear_left"].value, 44.0);
}

TEST_F(MixerRulesTest, EngagingLockAveragesAndSendsLeftThenRight)
{
    m_widgets.faders[L"input_phone2_left"].value = 10;
    m_widgets.faders[L"input_phone2_right"].value = 13;
    m_rules.OnLockChanged(L"input_phone2_lock", false);
    const std::string v = std::to_string(-34 * 256); // table point 11
    EXPECT_EQ(m_device.log, Log({"in7 volume " + v, "in8 volume " + v}));
    EXPECT_EQ(m_widgets.faders[L"input_phone2_left"].value, 11.0);
    EXPECT_EQ(m_widgets.faders[L"input_phone2_right"].value, 11.0);

    m_device.log.clear();
    m_rules.OnLockChanged(L"input_phone2_lock", true); // unlocking changes nothing
    EXPECT_TRUE(m_device.log.empty());
}

TEST_F(MixerRulesTest, MuteGreysTheStripsFadersAndMutesLeftFirst)
{
    m_rules.OnMuteChanged(L"output_box_mute", true);
    EXPECT_EQ(m_device.log, Log({"out7 mute 1", "out8 mute 1"}));
    EXPECT_FALSE(m_widgets.faders[L"output_box_left"].enabled);
    EXPECT_FALSE(m_widgets.faders[L"output_box_right"].enabled);

    m_device.log.clear();
    m_rules.OnMuteChanged(L"input_guitar_mute", true);
    EXPECT_EQ(m_device.log, Log({"in6 mute 1"}));
    EXPECT_FALSE(m_widgets.faders[L"input_guitar"].enabled);
    EXPECT_EQ(m_widgets.faders.count(L"input_mic2"), 0u) << "other strips untouched";

    m_rules.OnMuteChanged(L"input_guitar_mute", false);
    EXPECT_TRUE(m_widgets.faders[L"input_guitar"].enabled);
}

TEST_F(MixerRulesTest, KnobSendsGainAndLabelsIt)
{
    m_rules.OnKnobTurned(L"mic2amp", 9.0);
    EXPECT_EQ(m_device.log, Log({"set 19 2 9"}));
    EXPECT_EQ(m_widgets.labels[L"mic2_value"].text, L"21DB");
    m_rules.OnKnobTurned(L"mic1amp", 3.9);
    EXPECT_EQ(m_device.log.back(), "set 19 1 3");
    EXPECT_EQ(m_widgets.labels[L"mic1_value"].text, L"3DB");
}

TEST_F(MixerRulesTest, SwitchesAndDeviceFadersSendTheirBytes)
{
    m_rules.OnPhantomPowerChanged(true);
    m_rules.OnPhantomPowerChanged(false);
    m_rules.OnInvertChanged(true);
    m_rules.OnInvertChanged(false);
    m_rules.OnFaderMoved(L"device_GUITAR", 57.9);
    // A wheel step can leave a slider above its top until it repaints; the
    // level byte must not wrap round to a low value.
    m_rules.OnFaderMoved(L"device_HP", 256.0);
    m_rules.OnFaderMoved(L"device_MIC1", -3.0);
    EXPECT_EQ(m_device.log, Log({"set 16 1", "set 16 0", "set 17 1 0", "set 17 0 0", "set 20 2 57",
                                 "set 20 3 255", "set 20 0 0"}));
}

TEST_F(MixerRulesTest, NoDeviceSendsNothingButScreenStillFollows)
{
    m_device.open = false;
    m_rules.OnFaderMoved(L"input_mic1", 30.7);
    EXPECT_EQ(m_widgets.faders[L"input_mic1"].value, 0.0);
    m_rules.OnFaderMoved(L"output_phone2_left", 12.0);
    EXPECT_EQ(m_widgets.faders[L"output_phone2_right"].value, 0.0);
    m_rules.OnMuteChanged(L"input_mic1_mute", true);
    EXPECT_FALSE(m_widgets.faders[L"input_mic1"].enabled);
    m_rules.OnKnobTurned(L"mic1amp", 6.0);
    EXPECT_EQ(m_widgets.labels[L"mic1_value"].text, L"12DB");
    m_rules.OnLockChanged(L"output_ear_lock", false);
    EXPECT_EQ(m_widgets.faders[L"output_ear_left"].value, 0.0);
    EXPECT_TRUE(m_device.log.empty());
}

TEST_F(MixerRulesTest, UnknownNamesAreIgnored)
{
    m_rules.OnFaderMoved(L"input_phone3_left", 10);
    m_rules.OnMuteChanged(L"", true);
    m_rules.OnLockChanged(L"input_master_mute", false);
    m_rules.OnKnobTurned(L"mic3amp", 5);
    EXPECT_TRUE(m_device.log.empty());
}

TEST_F(MixerRulesTest, ShowVolumesUnlocksPairsFoundApart)
{
    m_device.volumes[0][3] = -10 * 256;
    m_device.volumes[0][4] = -12 * 256;
    m_device.volumes[1][7] = -5 * 256;
    m_device.volumes[1][8] = -5 * 256;
    m_device.volumes[0][0] = 3 * 256; // above 0 dB: beyond the fader's top
    m_device.range[0].maxVolume = 6 * 256;
    m_rules.ShowVolumes();
    EXPECT_EQ(m_widgets.faders[L"output_phone1_left"].value, 34.0);
    EXPECT_EQ(m_widgets.faders[L"output_phone1_right"].value, 32.0);
    EXPECT_TRUE(m_widgets.switches[L"output_phone1_lock"].selected);
    EXPECT_FALSE(m_widgets.switches[L"input_phone2_lock"].selected);
    EXPECT_GT(m_widgets.faders[L"output_master"].value, 44.0);
    EXPECT_TRUE(m_device.log.empty()) << "showing the device sends nothing back";
}

TEST_F(MixerRulesTest, FailedReadsLeaveControlsAlone)
{
    m_widgets.faders[L"input_mic1"].value = 20;
    m_widgets.switches[L"output_ear_mute"].selected = true;
    m_widgets.knobs[L"mic1amp"].value = 7;
    m_device.failReads = true;
    m_rules.ShowVolumes();
    m_rules.ShowMutes();
    m_rules.ShowGains();
    EXPECT_EQ(m_widgets.faders[L"input_mic1"].value, 20.0);
    EXPECT_TRUE(m_widgets.switches[L"output_ear_mute"].selected);
    EXPECT_EQ(m_widgets.knobs[L"mic1amp"].value, 7.0);

    // Phantom power and invert read as off when the read fails.
    m_widgets.switches[L"input_48v"].selected = true;
    m_widgets.switches[L"input_invert"].selected = true;
    m_rules.ShowSwitches();
    EXPECT_FALSE(m_widgets.switches[L"input_48v"].selected);
    EXPECT_FALSE(m_widgets.switches[L"input_invert"].selected);
}

TEST_F(MixerRulesTest, ShowMutesAgreeAndDisagree)
{
    m_device.mutes[0][3] = true; // Phone1 output sides disagree
    m_device.mutes[1][7] = m_device.mutes[1][8] = true;
    m_device.mutes[0][0] = true;
    m_widgets.switches[L"output_phone1_mute"].selected = true;
    m_rules.ShowMutes();
    EXPECT_FALSE(m_widgets.switches[L"output_phone1_mute"].selected);
    EXPECT_TRUE(m_widgets.faders[L"output_phone1_left"].enabled);
    EXPECT_TRUE(m_widgets.faders[L"output_phone1_right"].enabled);
    EXPECT_TRUE(m_widgets.switches[L"input_phone2_mute"].selected);
    EXPECT_FALSE(m_widgets.faders[L"input_phone2_right"].enabled);
    EXPECT_TRUE(m_widgets.switches[L"output_master_mute"].selected);
    EXPECT_FALSE(m_widgets.faders[L"output_master"].enabled);
    EXPECT_FALSE(m_widgets.switches[L"input_master_mute"].selected);
    EXPECT_TRUE(m_widgets.faders[L"input_master"].enabled);
}

TEST_F(MixerRulesTest, StereoMuteReadsBothSidesEvenWhenTheLeftFails)
{
    m_device.failedMuteRead = "out3";
    m_device.mutes[0][3] = m_device.mutes[0][4] = true;
    m_rules.ShowMutes();
    const std::vector<std::string> expected = {"in0",  "out0", "in1",  "in5",  "in6",  "in3",
                                               "in4",  "in7",  "in8",  "out1", "out2", "out3",
                                               "out4", "out5", "out6", "out7", "out8"};
    EXPECT_EQ(expected, m_device.muteReads);
    EXPECT_FALSE(m_widgets.switches[L"output_phone1_mute"].selected) << "strip left unchanged";
    EXPECT_TRUE(m_widgets.faders[L"output_phone1_right"].enabled);
}

TEST_F(MixerRulesTest, UnusableRangeSendsNothingAndShowsTheDevicesVolume)
{
    m_device.range[1] = VolumeMuteInfo{}; // the driver has no volume information
    m_device.volumes[1][1] = -10 * 256;
    m_device.volumes[1][3] = -20 * 256;
    m_device.volumes[1][4] = -20 * 256;
    m_rules.OnFaderMoved(L"input_mic1", 12.0);
    m_rules.OnFaderMoved(L"input_phone1_left", 3.0);
    m_widgets.faders[L"input_phone1_left"].value = 5;
    m_rules.OnLockChanged(L"input_phone1_lock", false);
    EXPECT_TRUE(m_device.log.empty());
    EXPECT_EQ(34.0, m_widgets.faders[L"input_mic1"].value);
    EXPECT_EQ(24.0, m_widgets.faders[L"input_phone1_left"].value);
    EXPECT_EQ(24.0, m_widgets.faders[L"input_phone1_right"].value);
}

TEST_F(MixerRulesTest, SwitchesAndGainsFromDevice)
{
    m_device.controls[16] = {1};
    m_device.controls[17] = {0};
    m_device.controls[19] = {0x5A};
    m_rules.ShowSwitches();
    m_rules.ShowGains();
    EXPECT_TRUE(m_widgets.switches[L"input_48v"].selected);
    EXPECT_FALSE(m_widgets.switches[L"input_invert"].selected);
    EXPECT_EQ(m_widgets.knobs[L"mic1amp"].value, 5.0);
    EXPECT_EQ(m_widgets.labels[L"mic1_value"].text, L"9DB");
    EXPECT_EQ(m_widgets.knobs[L"mic2amp"].value, 10.0);
    EXPECT_EQ(m_widgets.labels[L"mic2_value"].text, L"24DB");
    EXPECT_TRUE(m_device.log.empty());
}

TEST_F(MixerRulesTest, DeviceBlockAppliesOnlyWhatChanged)
{
    m_device.controls[20] = {100, 90, 80, 10, 20, 30, 40, 0};
    ASSERT_TRUE(m_rules.PollDeviceVolumes());
    EXPECT_EQ(m_widgets.faders[L"device_MIC1"].maximum, 100.0);
    EXPECT_EQ(m_widgets.faders[L"device_MIC2"].value, 20.0);
    EXPECT_EQ(m_widgets.faders[L"device_GUITAR"].maximum, 90.0);
    EXPECT_EQ(m_widgets.faders[L"device_HP"].value, 40.0);
    EXPECT_TRUE(m_widgets.faders[L"device_HP"].image.empty()) << "lock-out byte unchanged";

    // The user moves MIC2 locally; a block with the same bytes leaves it.
    m_widgets.faders[L"device_MIC2"].value = 55;
    m_rules.PollDeviceVolumes();
    EXPECT_EQ(m_widgets.faders[L"device_MIC2"].value, 55.0);

    // Only the lock-out byte changes: all four faders are disabled.
    m_device.controls[20][7] = 1;
    m_rules.PollDeviceVolumes();
    for (const DeviceFader& fader : ChannelMap::DeviceFaders()) {
        EXPECT_FALSE(m_widgets.faders[std::wstring(fader.name)].enabled);
        EXPECT_EQ(m_widgets.faders[std::wstring(fader.name)].image,
                  L"slidarBar_single_disable.png");
    }
    EXPECT_EQ(m_widgets.faders[L"device_MIC2"].value, 55.0);
    m_device.controls[20][7] = 0;
    m_rules.PollDeviceVolumes();
    EXPECT_TRUE(m_widgets.faders[L"device_MIC1"].enabled);
    EXPECT_EQ(m_widgets.faders[L"device_MIC1"].image, L"slidarBar_single.png");

    // After forgetting the block the next one applies every byte again.
    m_rules.ForgetDeviceVolumeBlock();
    m_rules.PollDeviceVolumes();
    EXPECT_EQ(m_widgets.faders[L"device_MIC2"].value, 20.0);
    EXPECT_TRUE(m_device.log.empty());
}

TEST_F(MixerRulesTest, PollWithoutDeviceOrWithFailedReadChangesNothing)
{
    m_device.controls[20] = {100, 90, 80, 10, 20, 30, 40, 1};
    m_device.failReads = true;
    EXPECT_FALSE(m_rules.PollDeviceVolumes());
    m_device.failReads = false;
    m_device.open = false;
    EXPECT_FALSE(m_rules.PollDeviceVolumes());
    EXPECT_EQ(m_widgets.faders.count(L"device_MIC1"), 0u);
    EXPECT_EQ(m_rules.LastDeviceVolumeBlock(), DeviceVolumeBlock{});
}

TEST(ChannelMapTest, TablesAreConsistent)
{
    EXPECT_EQ(ChannelMap::Faders().size(), 17u);
    for (const MixerFader& fader : ChannelMap::Faders()) {
        if (!fader.IsStereo())
            continue;
        const MixerFader* partner = ChannelMap::FindFader(fader.partner);
        ASSERT_NE(partner, nullptr);
        EXPECT_EQ(partner->partner, fader.name);
        EXPECT_EQ(partner->isInput, fader.isInput);
        EXPECT_EQ(partner->lockBox, fader.lockBox);
        EXPECT_EQ(partner->muteBox, fader.muteBox);
    }
    // Left faders carry the lower channel, and lookups by box find them.
    EXPECT_EQ(ChannelMap::FindByLockBox(L"output_box_lock")->channel, 7u);
    EXPECT_EQ(ChannelMap::FindByMuteBox(L"input_phone1_mute")->name, L"input_phone1_left");
    EXPECT_EQ(ChannelMap::FindFader(L"input_phone1_left")->channel, 3u);
    EXPECT_EQ(ChannelMap::FindDeviceFader(L"device_HP")->index, 3);
    EXPECT_EQ(ChannelMap::VolumeReadOrder().size(), 17u);
    EXPECT_EQ(ChannelMap::VolumeReadOrder().front()->name, L"output_master");
    EXPECT_EQ(ChannelMap::VolumeReadOrder()[9]->name, L"input_master");
}

} // namespace
