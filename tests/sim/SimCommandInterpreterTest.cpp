#include <gtest/gtest.h>

#include <string>

#include "sim/SimCommandInterpreter.h"
#include "sim/SimDriver.h"
#include "sim/SimNotification.h"

namespace {

class SimCommandInterpreterTest : public ::testing::Test {
protected:
    SimDriver m_driver;
    SimCommandInterpreter m_interpreter{m_driver};
};

TEST_F(SimCommandInterpreterTest, StateReplaysIntoAnIdenticalDriver)
{
    ASSERT_EQ(
        L"ok\n",
        m_interpreter.Execute(
            L"api 5.8; usbmode 3; range in 2 -100 100 10; volume in 2 55; mute out all 1\n"
            L"phantom 1; invert 1; gain 1 7; gain 2 12; devtop 1 70; devvol 2 60; lockout 1\n"
            L"rates 44100,48000; rate 44100; formats in 7:32:2, 8:24:4; format in 8; formats out "
            L"none\n"
            L"asio active 0; asio dsd 1; asio options 0x10000; asio sizes 48,96; asio size 100\n"
            L"asio latency 11 22; asio reference 9; asio count 4000000000; vid 0x1234; pid 0x5678\n"
            L"release 0x0203\n"
            L"serial S 1; manufacturer Some Maker; product The Box; driverinfo 1 2 3 4\n"
            L"fail TUSBAUDIO_GetVolume 0xEE000099 2; delay TUSBAUDIO_SetMute 30\n"
            L"unplug"));
    const std::wstring state = m_interpreter.DescribeState();
    EXPECT_NE(std::wstring::npos, state.find(L"volume in 2 55\n"));
    EXPECT_NE(std::wstring::npos, state.find(L"formats in 7:32:2,8:24:4\n"));
    EXPECT_NE(std::wstring::npos, state.find(L"manufacturer Some Maker\n"));

    SimDriver copy;
    SimCommandInterpreter replay(copy);
    ASSERT_EQ(L"ok\n", replay.Execute(state));
    EXPECT_EQ(state, replay.DescribeState());
}

// A range change keeps each volume inside the new range, and an inverted
// range is refused, so a described state always replays to itself.
TEST_F(SimCommandInterpreterTest, RangesHoldTheirVolumes)
{
    ASSERT_EQ(L"ok\n", m_interpreter.Execute(L"volume in 1 0; range in 1 -10000 -5000 256"));
    EXPECT_EQ(-5000, m_driver.m_device.Channels(true)[1].volume);
    EXPECT_EQ(0u, m_interpreter.Execute(L"range in all 5200 1536 256").rfind(L"error: range", 0));
    EXPECT_EQ(-127 * 256, m_driver.m_device.Channels(true)[0].minVolume);

    SimDriver copy;
    SimCommandInterpreter replay(copy);
    ASSERT_EQ(L"ok\n", replay.Execute(m_interpreter.DescribeState()));
    EXPECT_EQ(m_interpreter.DescribeState(), replay.DescribeState());
}

TEST_F(SimCommandInterpreterTest, CommandsRunInOrderUntilOneFails)
{
    const std::wstring reply = m_interpreter.Execute(L"phantom 1\nvolume in 9 0\ninvert 1");
    EXPECT_EQ(0u, reply.rfind(L"error: usage: volume", 0)) << reply.c_str();
    EXPECT_EQ(1, m_driver.m_device.phantomPower);
    EXPECT_EQ(0, m_driver.m_device.invert);
}

TEST_F(SimCommandInterpreterTest, MalformedCommandsAreRefused)
{
    for (const wchar_t* bad : {L"explode",
                               L"api 5",
                               L"api 5.x",
                               L"api 70000.1",
                               L"volume in 1",
                               L"volume up 1 0",
                               L"volume in 1 40000",
                               L"mute in 1 2",
                               L"gain 3 1",
                               L"gain 1 16",
                               L"devvol 4 1",
                               L"devtop 3 1",
                               L"asio",
                               L"asio sizes 1,x",
                               L"formats in 1:2",
                               L"rate -1",
                               L"fail TUSBAUDIO_Nothing 1",
                               L"fail TUSBAUDIO_GetVolume",
                               L"delay TUSBAUDIO_GetVolume x",
                               L"plugged 2",
                               L"journal",
                               L"state now",
                               L"notify",
                               L"usbmode 0x1FFFFFFFF"}) {
        EXPECT_EQ(0u, m_interpreter.Execute(bad).rfind(L"error: ", 0)) << bad;
    }
    EXPECT_EQ(L"ok\n", m_interpreter.Execute(L"  \n;; # only a comment\n"));
}

TEST_F(SimCommandInterpreterTest, OutsideChangesQueueTheirCategories)
{
    uint32_t handle = 0;
    m_driver.Enumerate();
    m_driver.OpenByIndex(0, &handle);
    m_driver.RegisterNotification(handle, 0xFFFFFFFF, 0x55);
    ASSERT_EQ(L"ok\n", m_interpreter.Execute(
                           L"volume out 1 -256; mute in all 1; gain 2 4; rate 96000; format out 4; "
                           L"asio size 512; notify 12 13; serial X"));
    std::vector<uint32_t> categories;
    uint32_t category = 0;
    uint32_t size = 0;
    uint8_t data[64];
    while (m_driver.ReadNotification(handle, &category, data, sizeof data, &size) == 0) {
        categories.push_back(category);
    }
    std::vector<uint32_t> expected{kSimCategoryVolume};
    expected.insert(expected.end(), 9, kSimCategoryMute);
    expected.insert(expected.end(), {kSimCategoryAudioControl, kSimCategorySampleRate,
                                     kSimCategoryStreamFormat, kSimCategoryAsio, 12, 13});
    EXPECT_EQ(expected, categories);
}

TEST_F(SimCommandInterpreterTest, InjectedFailuresLapseAfterTheirCount)
{
    ASSERT_EQ(L"ok\n", m_interpreter.Execute(
                           L"fail TUSBAUDIO_GetMute 0xEE000042 2; fail TUSBAUDIO_SetMute 7"));
    EXPECT_EQ(0xEE000042u, m_driver.m_injection.TakeFailure(L"TUSBAUDIO_GetMute"));
    EXPECT_EQ(0xEE000042u, m_driver.m_injection.TakeFailure(L"TUSBAUDIO_GetMute"));
    EXPECT_FALSE(m_driver.m_injection.TakeFailure(L"TUSBAUDIO_GetMute"));
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(7u, m_driver.m_injection.TakeFailure(L"TUSBAUDIO_SetMute"));
    }
    ASSERT_EQ(L"ok\n", m_interpreter.Execute(L"fail TUSBAUDIO_SetMute 0"));
    EXPECT_FALSE(m_driver.m_injection.TakeFailure(L"TUSBAUDIO_SetMute"));

    ASSERT_EQ(L"ok\n", m_interpreter.Execute(L"delay TUSBAUDIO_GetVolume 20 1"));
    EXPECT_EQ(20u, m_driver.m_injection.TakeDelay(L"TUSBAUDIO_GetVolume"));
    EXPECT_EQ(0u, m_driver.m_injection.TakeDelay(L"TUSBAUDIO_GetVolume"));
}

TEST_F(SimCommandInterpreterTest, PlugCommandsPostOnlyWhenTheStateChanges)
{
    m_driver.RegisterPnp(0, 0, 0x99, 0x466);
    ASSERT_EQ(L"ok\n", m_interpreter.Execute(L"plug; unplug; unplug; plug"));
    const SimSignals signals = m_driver.TakeSignals();
    ASSERT_EQ(2u, signals.posts.size());
    EXPECT_EQ(2u, signals.posts[0].wParam);
    EXPECT_EQ(1u, signals.posts[1].wParam);
    // "plugged" sets the state silently, for configurations.
    ASSERT_EQ(L"ok\n", m_interpreter.Execute(L"plugged 0"));
    EXPECT_FALSE(m_driver.m_plugged);
    EXPECT_TRUE(m_driver.TakeSignals().posts.empty());
}

} // namespace
