// The mixer's rules through the driver library, checked against the calls
// the simulated interface journals: order, channels and bytes.
#include <string>
#include <vector>

#include "panel/ChannelMap.h"
#include "panel/DriverMixerDevice.h"
#include "panel/MixerRules.h"
#include "tests/device/SimulatedDeviceTest.h"
#include "tests/panel/FakeMixer.h"

namespace {

using Journal = std::vector<std::wstring>;

class DriverMixerDeviceTest : public SimulatedDeviceTest {
protected:
    void Open(std::wstring_view configuration = {})
    {
        Bind(configuration);
        ASSERT_EQ(0u, m_manager->OpenDevice());
        NewJournal();
    }
    // The journal since the last look, without the monitor thread's reads,
    // which interleave with the calls under test.
    Journal Sent()
    {
        Journal calls;
        for (std::wstring& line : NewJournal()) {
            if (line.rfind(L"TUSBAUDIO_ReadDeviceNotification", 0) != 0)
                calls.push_back(line);
        }
        return calls;
    }

    FakeWidgets m_widgets;
    DriverMixerDevice m_device{*m_manager};
    MixerRules m_rules{m_widgets, m_device};
};

TEST_F(DriverMixerDeviceTest, FaderMoveSendsTablePoint)
{
    Open();
    m_rules.OnFaderMoved(L"input_mic1", 30.7);
    EXPECT_EQ(Journal({L"TUSBAUDIO_SetVolume(1,1,1,-3584) = 0x00000000"}), Sent());
    EXPECT_EQ(30.0, m_widgets.faders[L"input_mic1"].value);
}

TEST_F(DriverMixerDeviceTest, DeviceMinimumRaisesBottomPoint)
{
    Open(L"range in all -25600 0 256");
    m_rules.OnFaderMoved(L"input_guitar", 0.0);
    EXPECT_EQ(Journal({L"TUSBAUDIO_SetVolume(1,1,6,-17920) = 0x00000000"}), Sent());
    EXPECT_EQ(1.0, m_widgets.faders[L"input_guitar"].value);
}

TEST_F(DriverMixerDeviceTest, DeviceWithoutVolumeRangeIsNeverSentAVolume)
{
    // A reopened device that reports a zero record for channel 0.
    Open(L"range in 0 0 0 0; volume in 1 -2560");
    m_rules.OnFaderMoved(L"input_mic1", 10.0);
    EXPECT_EQ(Journal({L"TUSBAUDIO_GetVolume(1,1,1,&) = 0x00000000 volume=-2560"}), Sent());
    EXPECT_EQ(34.0, m_widgets.faders[L"input_mic1"].value) << "where the device is";
}

TEST_F(DriverMixerDeviceTest, LockedPairSendsMovedSideFirst)
{
    Open();
    m_rules.OnFaderMoved(L"output_ear_right", 20.0);
    EXPECT_EQ(Journal({L"TUSBAUDIO_SetVolume(1,0,2,-6144) = 0x00000000",
                       L"TUSBAUDIO_SetVolume(1,0,1,-6144) = 0x00000000"}),
              Sent());

    m_widgets.switches[L"output_ear_lock"].selected = true;
    m_rules.OnFaderMoved(L"output_ear_right", 21.0);
    EXPECT_EQ(Journal({L"TUSBAUDIO_SetVolume(1,0,2,-5888) = 0x00000000"}), Sent());
}

TEST_F(DriverMixerDeviceTest, EngagingLockSendsAverageLeftThenRight)
{
    Open();
    m_widgets.faders[L"output_phone2_left"].value = 10;
    m_widgets.faders[L"output_phone2_right"].value = 13;
    m_rules.OnLockChanged(L"output_phone2_lock", false);
    EXPECT_EQ(Journal({L"TUSBAUDIO_SetVolume(1,0,5,-8704) = 0x00000000",
                       L"TUSBAUDIO_SetVolume(1,0,6,-8704) = 0x00000000"}),
              Sent());
}

TEST_F(DriverMixerDeviceTest, MuteSendsLeftThenRight)
{
    Open();
    m_rules.OnMuteChanged(L"output_box_mute", true);
    EXPECT_EQ(Journal({L"TUSBAUDIO_SetMute(1,0,7,1) = 0x00000000",
                       L"TUSBAUDIO_SetMute(1,0,8,1) = 0x00000000"}),
              Sent());
    EXPECT_FALSE(m_widgets.faders[L"output_box_left"].enabled);
    EXPECT_FALSE(m_widgets.faders[L"output_box_right"].enabled);
}

TEST_F(DriverMixerDeviceTest, EntityRequestsCarryExactBytes)
{
    Open();
    m_rules.OnKnobTurned(L"mic2amp", 9.0);
    m_rules.OnPhantomPowerChanged(true);
    m_rules.OnInvertChanged(true);
    m_rules.OnFaderMoved(L"device_HP", 42.6);
    EXPECT_EQ(Journal({
                  L"TUSBAUDIO_AudioControlRequestSet(1,10,1,19,0,[02 09],2,0,1000) = 0x00000000",
                  L"TUSBAUDIO_AudioControlRequestSet(1,10,1,16,0,[01],1,0,1000) = 0x00000000",
                  L"TUSBAUDIO_AudioControlRequestSet(1,10,1,17,0,[01 00],2,0,1000) = 0x00000000",
                  L"TUSBAUDIO_AudioControlRequestSet(1,10,1,20,0,[03 2A],2,0,1000) = 0x00000000",
              }),
              Sent());
    EXPECT_EQ(L"21DB", m_widgets.labels[L"mic2_value"].text);
}

TEST_F(DriverMixerDeviceTest, ShowingTheDeviceReadsInOrderAndSendsNothing)
{
    Open(L"mute out 3 1; gain 1 5; gain 2 10; volume out 5 -2560");
    m_rules.ShowVolumes();
    m_rules.ShowMutes();
    m_rules.ShowSwitches();
    m_rules.ShowGains();
    const Journal journal = Sent();
    for (const std::wstring& line : journal) {
        EXPECT_EQ(std::wstring::npos, line.find(L"Set")) << "echoed back: " << line;
    }
    const Journal volumes = Calls(L"TUSBAUDIO_GetVolume");
    ASSERT_EQ(17u, volumes.size());
    EXPECT_EQ(0u, volumes[0].find(L"TUSBAUDIO_GetVolume(1,0,0,&)"));
    EXPECT_EQ(0u, volumes[9].find(L"TUSBAUDIO_GetVolume(1,1,0,&)"));
    EXPECT_EQ(0u, volumes[11].find(L"TUSBAUDIO_GetVolume(1,1,3,&)"));

    EXPECT_FALSE(m_widgets.switches[L"output_phone1_mute"].selected);
    EXPECT_TRUE(m_widgets.faders[L"output_phone1_left"].enabled);
    EXPECT_TRUE(m_widgets.faders[L"output_phone1_right"].enabled);
    EXPECT_TRUE(m_widgets.switches[L"output_phone2_lock"].selected) << "sides found apart";
    EXPECT_EQ(L"9DB", m_widgets.labels[L"mic1_value"].text);
    EXPECT_EQ(L"24DB", m_widgets.labels[L"mic2_value"].text);
    EXPECT_EQ(10.0, m_widgets.knobs[L"mic2amp"].value);
}

TEST_F(DriverMixerDeviceTest, LockOutByteAloneDisablesDeviceFaders)
{
    Open();
    ASSERT_TRUE(m_rules.PollDeviceVolumes());
    EXPECT_EQ(50.0, m_widgets.faders[L"device_MIC2"].value);
    ASSERT_EQ(L"ok\n", Control(L"lockout 1"));
    ASSERT_TRUE(m_rules.PollDeviceVolumes());
    for (const DeviceFader& fader : ChannelMap::DeviceFaders()) {
        EXPECT_FALSE(m_widgets.faders[std::wstring(fader.name)].enabled);
    }
}

TEST_F(DriverMixerDeviceTest, NoDeviceSendsNothing)
{
    Bind();
    NewJournal();
    m_rules.OnFaderMoved(L"input_mic1", 30.7);
    m_rules.OnMuteChanged(L"input_mic1_mute", true);
    m_rules.OnKnobTurned(L"mic1amp", 5);
    m_rules.OnFaderMoved(L"device_MIC1", 20);
    EXPECT_FALSE(m_rules.PollDeviceVolumes());
    EXPECT_TRUE(Sent().empty());
    EXPECT_EQ(0.0, m_widgets.faders[L"input_mic1"].value);
    EXPECT_FALSE(m_widgets.faders[L"input_mic1"].enabled);
    EXPECT_EQ(L"9DB", m_widgets.labels[L"mic1_value"].text);
}

TEST_F(DriverMixerDeviceTest, UnpluggedDeviceSendsToAnInvalidHandleHarmlessly)
{
    Open();
    ASSERT_EQ(L"ok\n", Control(L"unplug"));
    m_rules.OnFaderMoved(L"input_mic1", 40);
    m_widgets.faders[L"input_mic2"].value = 12;
    m_rules.ShowVolumes(); // reads fail: faders stay where they are
    EXPECT_EQ(12.0, m_widgets.faders[L"input_mic2"].value);
}

} // namespace
