// Recalling a scene through the mixer's rules against a device model: the
// fixed order, quantised and clamped values, and nothing without a device.
#include <gtest/gtest.h>

#include "panel/ChannelMap.h"
#include "panel/MixerRules.h"
#include "panel/SceneRecall.h"
#include "tests/panel/FakeMixer.h"

namespace {

using Log = std::vector<std::string>;

class SceneRecallTest : public testing::Test {
protected:
    SceneRecallTest()
    {
        // Device volumes: GUITAR tops out at 60; lock-out off.
        m_device.controls[20] = {100, 60, 100, 50, 50, 50, 70, 0};
    }

    FakeWidgets m_widgets;
    FakeDevice m_device;
    MixerRules m_rules{m_widgets, m_device};
    SceneRecall m_recall{m_rules, m_widgets, m_device};
};

std::string Volume(int db)
{
    return std::to_string(db * 256);
}

TEST_F(SceneRecallTest, SendsLocksLevelsMutesDeviceVolumesGainsAndInvertInThatOrder)
{
    m_device.range[0].maxVolume = -10 * 256;                // the output side tops out at -10 dB
    m_widgets.switches[L"output_ear_lock"].selected = true; // unlocked now
    m_widgets.faders[L"output_ear_left"].value = 30;
    m_widgets.faders[L"output_ear_right"].value = 20;
    Scene scene;
    scene.Set(L"input_invert", 1);
    scene.Set(L"mic2amp", 12);       // beyond the knob: 9
    scene.Set(L"device_GUITAR", 90); // beyond its scale: 60
    scene.Set(L"input_mic1_mute", 1);
    scene.Set(L"output_ear_right", -20);
    scene.Set(L"output_ear_left", -20); // locked pair, same level: left moves both
    scene.Set(L"output_master", 6);     // above the device's top
    scene.Set(L"input_mic1", -14.4);    // quantised as a drag
    scene.Set(L"output_ear_lock", 1);
    scene.Set(L"input_phone1_lock", 1); // already locked: nothing
    scene.Set(L"input_48v", 1);         // never switched

    const SceneRecall::Outcome outcome = m_recall.Apply(scene);
    EXPECT_FALSE(outcome.noDevice);
    EXPECT_FALSE(outcome.deviceVolumesSkipped);
    EXPECT_EQ(m_device.log, Log({
                                "out1 volume " + Volume(-19), // lock engaged at the mean of 30, 20
                                "out2 volume " + Volume(-19),
                                "in1 volume " + Volume(-14),
                                "out0 volume " + Volume(-10),
                                "out1 volume " + Volume(-20),
                                "out2 volume " + Volume(-20),
                                "in1 mute 1",
                                "set 20 2 60",
                                "set 19 2 9",
                                "set 17 1 0",
                            }));
    EXPECT_FALSE(m_widgets.switches[L"output_ear_lock"].selected);
    EXPECT_TRUE(m_widgets.switches[L"input_mic1_mute"].selected);
    EXPECT_FALSE(m_widgets.faders[L"input_mic1"].enabled);
    EXPECT_EQ(m_widgets.faders[L"output_master"].value, 34.0);
    EXPECT_EQ(m_widgets.faders[L"device_GUITAR"].value, 60.0);
    EXPECT_EQ(m_widgets.knobs[L"mic2amp"].value, 9.0);
    EXPECT_EQ(m_widgets.labels[L"mic2_value"].text, L"21DB");
    EXPECT_TRUE(m_widgets.switches[L"input_invert"].selected);
}

TEST_F(SceneRecallTest, SendsNothingWithoutADeviceAndKeepsLockedOutDeviceVolumes)
{
    Scene scene;
    scene.Set(L"input_mic1", -3);
    scene.Set(L"device_HP", 10);
    m_device.open = false;
    EXPECT_TRUE(m_recall.Apply(scene).noDevice);
    EXPECT_TRUE(m_device.log.empty());

    m_device.open = true;
    m_device.controls[20][7] = 1; // the device locks its volume faders
    EXPECT_TRUE(m_recall.Apply(scene).deviceVolumesSkipped);
    EXPECT_EQ(m_device.log, Log({"in1 volume " + Volume(-3)}));
}

} // namespace
