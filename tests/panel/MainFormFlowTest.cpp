#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>

#include "base/ThreadRegistry.h"
#include "device/DeviceMessages.h"
#include "panel/MainForm.h"
#include "tests/panel/MainFormTestHost.h"

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::IsEmpty;

namespace {

const std::wstring kMixerFaders[] = {
    L"input_master",        L"input_mic1",         L"input_mic2",          L"input_guitar",
    L"input_phone1_left",   L"input_phone1_right", L"input_phone2_left",   L"input_phone2_right",
    L"output_master",       L"output_ear_left",    L"output_ear_right",    L"output_phone1_left",
    L"output_phone1_right", L"output_phone2_left", L"output_phone2_right", L"output_box_left",
    L"output_box_right",
};
const std::wstring kDeviceFaders[] = {L"device_MIC1", L"device_MIC2", L"device_GUITAR",
                                      L"device_HP"};

std::wstring Entry(const std::wstring& line)
{
    return line.substr(0, line.find(L" = "));
}

// Lines whose call starts with one of the prefixes.
std::vector<std::wstring> Only(const std::vector<std::wstring>& lines,
                               std::initializer_list<std::wstring_view> prefixes)
{
    std::vector<std::wstring> kept;
    for (const std::wstring& line : lines) {
        for (std::wstring_view prefix : prefixes) {
            if (line.rfind(prefix, 0) == 0) {
                kept.push_back(Entry(line));
                break;
            }
        }
    }
    return kept;
}

size_t Polls(const std::vector<std::wstring>& journal)
{
    return static_cast<size_t>(std::count_if(journal.begin(), journal.end(), [](const auto& l) {
        return l.rfind(L"TUSBAUDIO_AudioControlRequestGet(", 0) == 0 &&
               l.find(L",10,1,20,0,") != std::wstring::npos;
    }));
}

// Every fader greyed at its top, every switch, knob and the settings button
// disabled, and nothing polling.
void ExpectDisconnected(MainFormTestHost& host)
{
    host.OnUi([](MainForm& form) {
        for (const std::wstring& name : kMixerFaders) {
            EXPECT_FALSE(IsEnabled(form, name)) << name;
            EXPECT_EQ(44.0, FaderValue(form, name)) << name;
            EXPECT_NE(std::wstring::npos, BackgroundImage(form, name).find(L"_disable.png"))
                << name;
            EXPECT_EQ(L"0 dB", ToolTip(form, name)) << name;
        }
        for (const std::wstring& name : kDeviceFaders) {
            EXPECT_FALSE(IsEnabled(form, name)) << name;
            EXPECT_EQ(L"slidarBar_single_disable.png", BackgroundImage(form, name));
        }
        for (const wchar_t* name : {L"input_mic1_mute", L"output_box_lock", L"input_invert",
                                    L"mic1amp", L"mic2amp", L"settings"}) {
            EXPECT_FALSE(IsEnabled(form, name)) << name;
        }
        EXPECT_FALSE(form.IsPolling());
    });
    EXPECT_EQ(nullptr, obase::ThreadRegistry::GetMessageLoopProxy(1));
}

// Each test expects a process of its own, as CTest runs them: the device
// manager keeps the first device's volume ranges and the simulator counts
// handles for the life of the process.
class MainFormFlowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Sim().Control(
            L"plugged 1; volume in all 0; volume out all 0; mute in all 0;"
            L"mute out all 0; gain 1 3; gain 2 3; phantom 1; invert 0;"
            L"devtop 0 100; devtop 1 100; devtop 2 100; devvol 0 50; devvol 1 50;"
            L"devvol 2 50; devvol 3 70; lockout 0");
    }
    static SimTestEnvironment& Sim() { return MainFormTestHost::Sim(); }
};

TEST_F(MainFormFlowTest, FollowsTheDeviceFromAbsentThroughUseToUnplugAndReplug)
{
    // Started with nothing plugged: registered for plug and play, nothing opened.
    Sim().Control(L"plugged 0");
    MainFormTestHost host;
    ASSERT_NE(nullptr, host.Window());
    const std::vector<std::wstring> start = host.NewCalls();
    ASSERT_EQ(3u, start.size());
    EXPECT_EQ(0u, start[0].rfind(L"TUSBAUDIO_RegisterPnpNotification(0,0,", 0)) << start[0];
    EXPECT_NE(std::wstring::npos, start[0].find(L",0x00000466,")) << start[0];
    EXPECT_EQ(L"TUSBAUDIO_EnumerateDevices()", Entry(start[1]));
    EXPECT_EQ(L"TUSBAUDIO_GetDeviceCount()", Entry(start[2]));
    ExpectDisconnected(host);

    // Plugged: the whole state is read, in order, and shown.
    Sim().Control(L"plug");
    ASSERT_TRUE(host.WaitForCall(L"TUSBAUDIO_AudioControlRequestGet(1,10,1,19,"));
    host.Flush();
    const std::vector<std::wstring> reads = Only(
        host.NewCalls(),
        {L"TUSBAUDIO_GetVolume(", L"TUSBAUDIO_GetMute(", L"TUSBAUDIO_AudioControlRequestGet("});
    EXPECT_THAT(reads, ElementsAreArray(std::vector<std::wstring>{
                           L"TUSBAUDIO_AudioControlRequestGet(1,10,1,16,0,&,1,0,1000)",
                           L"TUSBAUDIO_AudioControlRequestGet(1,10,1,17,0,&,1,0,1000)",
                           L"TUSBAUDIO_GetVolume(1,0,0,&)",
                           L"TUSBAUDIO_GetVolume(1,0,1,&)",
                           L"TUSBAUDIO_GetVolume(1,0,2,&)",
                           L"TUSBAUDIO_GetVolume(1,0,3,&)",
                           L"TUSBAUDIO_GetVolume(1,0,4,&)",
                           L"TUSBAUDIO_GetVolume(1,0,5,&)",
                           L"TUSBAUDIO_GetVolume(1,0,6,&)",
                           L"TUSBAUDIO_GetVolume(1,0,7,&)",
                           L"TUSBAUDIO_GetVolume(1,0,8,&)",
                           L"TUSBAUDIO_GetVolume(1,1,0,&)",
                           L"TUSBAUDIO_GetVolume(1,1,1,&)",
                           L"TUSBAUDIO_GetVolume(1,1,3,&)",
                           L"TUSBAUDIO_GetVolume(1,1,4,&)",
                           L"TUSBAUDIO_GetVolume(1,1,5,&)",
                           L"TUSBAUDIO_GetVolume(1,1,6,&)",
                           L"TUSBAUDIO_GetVolume(1,1,7,&)",
                           L"TUSBAUDIO_GetVolume(1,1,8,&)",
                           L"TUSBAUDIO_GetMute(1,1,0,&)",
                           L"TUSBAUDIO_GetMute(1,0,0,&)",
                           L"TUSBAUDIO_GetMute(1,1,1,&)",
                           L"TUSBAUDIO_GetMute(1,1,5,&)",
                           L"TUSBAUDIO_GetMute(1,1,6,&)",
                           L"TUSBAUDIO_GetMute(1,1,3,&)",
                           L"TUSBAUDIO_GetMute(1,1,4,&)",
                           L"TUSBAUDIO_GetMute(1,1,7,&)",
                           L"TUSBAUDIO_GetMute(1,1,8,&)",
                           L"TUSBAUDIO_GetMute(1,0,1,&)",
                           L"TUSBAUDIO_GetMute(1,0,2,&)",
                           L"TUSBAUDIO_GetMute(1,0,3,&)",
                           L"TUSBAUDIO_GetMute(1,0,4,&)",
                           L"TUSBAUDIO_GetMute(1,0,5,&)",
                           L"TUSBAUDIO_GetMute(1,0,6,&)",
                           L"TUSBAUDIO_GetMute(1,0,7,&)",
                           L"TUSBAUDIO_GetMute(1,0,8,&)",
                           L"TUSBAUDIO_AudioControlRequestGet(1,10,1,19,0,&,1,0,1000)",
                       }));
    host.OnUi([](MainForm& form) {
        for (const std::wstring& name : kMixerFaders) {
            EXPECT_TRUE(IsEnabled(form, name)) << name;
            EXPECT_EQ(44.0, FaderValue(form, name)) << name;
            EXPECT_EQ(std::wstring::npos, BackgroundImage(form, name).find(L"_disable")) << name;
        }
        EXPECT_EQ(L"slidarBar_left.png", BackgroundImage(form, L"output_ear_left"));
        EXPECT_EQ(L"slidarBar_right.png", BackgroundImage(form, L"output_ear_right"));
        EXPECT_EQ(L"slidarBar_single.png", BackgroundImage(form, L"input_mic1"));
        EXPECT_EQ(50.0, FaderValue(form, L"device_MIC1"));
        EXPECT_EQ(70.0, FaderValue(form, L"device_HP"));
        EXPECT_TRUE(IsEnabled(form, L"device_HP"));
        EXPECT_TRUE(IsSelected(form, L"input_48v"));
        EXPECT_FALSE(IsSelected(form, L"input_invert"));
        EXPECT_EQ(3.0, FaderValue(form, L"mic1amp"));
        EXPECT_EQ(L"3DB", Text(form, L"mic2_value"));
        EXPECT_TRUE(IsEnabled(form, L"settings"));
        EXPECT_TRUE(form.IsPolling());
    });

    // Changes made elsewhere are shown and never sent back.
    Sim().Control(L"volume in 1 -3584; volume out 3 -2560; mute out 1 1; mute out 2 1");
    ASSERT_TRUE(host.WaitForCall(L"TUSBAUDIO_GetMute(1,0,8,&)"));
    Sim().Control(L"devvol 0 30; lockout 1");
    ::Sleep(3 * MainForm::kPollPeriodMs);
    host.OnUi([](MainForm& form) {
        EXPECT_EQ(30.0, FaderValue(form, L"input_mic1"));
        EXPECT_EQ(L"-14 dB", ToolTip(form, L"input_mic1"));
        EXPECT_EQ(34.0, FaderValue(form, L"output_phone1_left"));
        EXPECT_TRUE(IsSelected(form, L"output_phone1_lock")); // sides differ: unlocked
        EXPECT_TRUE(IsSelected(form, L"output_ear_mute"));
        EXPECT_FALSE(IsEnabled(form, L"output_ear_left"));
        EXPECT_FALSE(IsEnabled(form, L"output_ear_right"));
        EXPECT_EQ(30.0, FaderValue(form, L"device_MIC1"));
        EXPECT_FALSE(IsEnabled(form, L"device_GUITAR"));
        EXPECT_EQ(L"slidarBar_single_disable.png", BackgroundImage(form, L"device_GUITAR"));
    });
    EXPECT_THAT(Only(host.NewCalls(), {L"TUSBAUDIO_Set", L"TUSBAUDIO_AudioControlRequestSet"}),
                IsEmpty());

    // The user's moves: quantised, sent in the rules' order, tool tips in dB.
    host.DragFader(L"input_mic1", 30.5);
    host.Wheel(L"input_master", -1);
    host.DragFader(L"output_box_right", 20.4);
    host.Click(L"output_box_lock"); // unlock: nothing sent
    host.DragFader(L"output_box_left", 10.2);
    host.Click(L"output_box_lock"); // lock again at the mean of 10 and 20
    host.Wheel(L"mic2amp", 1);
    host.Click(L"input_guitar_mute");
    host.Click(L"input_invert");
    host.Key(VK_SPACE); // the focused box toggles back from the keyboard
    EXPECT_THAT(Only(host.NewCalls(), {L"TUSBAUDIO_Set", L"TUSBAUDIO_AudioControlRequestSet"}),
                ElementsAreArray(std::vector<std::wstring>{
                    L"TUSBAUDIO_SetVolume(1,1,1,-3584)", // drag moves, then release
                    L"TUSBAUDIO_SetVolume(1,1,1,-3584)",
                    L"TUSBAUDIO_SetVolume(1,1,0,-256)",
                    L"TUSBAUDIO_SetVolume(1,0,8,-6144)", // moved side first
                    L"TUSBAUDIO_SetVolume(1,0,7,-6144)",
                    L"TUSBAUDIO_SetVolume(1,0,8,-6144)",
                    L"TUSBAUDIO_SetVolume(1,0,7,-6144)",
                    L"TUSBAUDIO_SetVolume(1,0,7,-8960)", // unlocked: one side only
                    L"TUSBAUDIO_SetVolume(1,0,7,-8960)",
                    L"TUSBAUDIO_SetVolume(1,0,7,-7424)", // locked at 15, left then right
                    L"TUSBAUDIO_SetVolume(1,0,8,-7424)",
                    L"TUSBAUDIO_AudioControlRequestSet(1,10,1,19,0,[02 04],2,0,1000)",
                    L"TUSBAUDIO_SetMute(1,1,6,1)",
                    L"TUSBAUDIO_AudioControlRequestSet(1,10,1,17,0,[01 00],2,0,1000)",
                    L"TUSBAUDIO_AudioControlRequestSet(1,10,1,17,0,[00 00],2,0,1000)",
                }));
    host.OnUi([](MainForm& form) {
        EXPECT_EQ(30.0, FaderValue(form, L"input_mic1"));
        EXPECT_EQ(L"-14 dB", ToolTip(form, L"input_mic1"));
        EXPECT_EQ(43.0, FaderValue(form, L"input_master"));
        EXPECT_EQ(L"-1 dB", ToolTip(form, L"input_master"));
        EXPECT_EQ(15.0, FaderValue(form, L"output_box_left"));
        EXPECT_EQ(15.0, FaderValue(form, L"output_box_right"));
        EXPECT_EQ(L"-29 dB", ToolTip(form, L"output_box_right"));
        EXPECT_EQ(L"6DB", Text(form, L"mic2_value"));
        EXPECT_FALSE(IsEnabled(form, L"input_guitar"));
        EXPECT_TRUE(IsEnabled(form, L"input_mic2"));
        EXPECT_FALSE(IsSelected(form, L"input_invert"));
    });

    // A second arrival while connected changes nothing.
    ::Sleep(3 * MainForm::kPollPeriodMs); // the notifications of the changes above settle
    host.NewCalls();
    ::PostMessageW(host.Window(), WM_DEVICE_CHANGE, 1, 0);
    host.Flush();
    EXPECT_THAT(Only(host.NewCalls(), {L"TUSBAUDIO_Enumerate", L"TUSBAUDIO_Open", L"TUSBAUDIO_Set",
                                       L"TUSBAUDIO_Get", L"TUSBAUDIO_AudioControlRequest"}),
                IsEmpty());

    // Unplugged: closed, greyed at the top, polling stopped.
    Sim().Control(L"unplug");
    ASSERT_TRUE(host.WaitForCall(L"TUSBAUDIO_CloseDevice("));
    host.Flush();
    ExpectDisconnected(host);
    host.NewCalls();
    const size_t pollsBefore = Polls(Sim().Journal());
    ::Sleep(3 * MainForm::kPollPeriodMs);
    EXPECT_EQ(pollsBefore, Polls(Sim().Journal()));

    // Replugged: everything read again and exactly one poll every 200 ms.
    Sim().Control(L"plug");
    ASSERT_TRUE(host.WaitForCall(L"TUSBAUDIO_AudioControlRequestGet(2,10,1,19,"));
    host.OnUi([](MainForm& form) {
        EXPECT_TRUE(IsEnabled(form, L"input_mic1"));
        EXPECT_EQ(30.0, FaderValue(form, L"input_mic1"));
    });
    const size_t pollsAtPlug = Polls(Sim().Journal());
    ::Sleep(10 * MainForm::kPollPeriodMs);
    const size_t polls = Polls(Sim().Journal()) - pollsAtPlug;
    EXPECT_GE(polls, 7u);
    EXPECT_LE(polls, 12u);

    // Closing the window ends the program's loop with the device released.
    host.NewCalls();
    ::PostMessageW(host.Window(), WM_CLOSE, 0, 0);
    ASSERT_TRUE(host.WaitForCall(L"TUSBAUDIO_UnregisterPnpNotification("));
    const std::vector<std::wstring> exit =
        Only(host.NewCalls(), {L"TUSBAUDIO_CloseDevice", L"TUSBAUDIO_UnregisterPnpNotification"});
    EXPECT_THAT(exit,
                ElementsAre(L"TUSBAUDIO_CloseDevice(2)", L"TUSBAUDIO_UnregisterPnpNotification()"));
}

TEST_F(MainFormFlowTest, ShowsOddDeviceStatesThenHidesShowsAndStopsPollingWhenDestroyed)
{
    // An input range down to -100 dB, sides of a pair muted differently, gain
    // steps beyond the knob's range, a failed volume read.
    Sim().Control(
        L"range in 0 -25600 0 256; mute out 3 1; mute out 0 1; gain 1 5; gain 2 10;"
        L"volume out 0 -2560; fail TUSBAUDIO_GetVolume 0xEE000050 1");
    MainFormTestHost host;
    ASSERT_NE(nullptr, host.Window());
    host.OnUi([](MainForm& form) {
        EXPECT_EQ(44.0, FaderValue(form, L"output_master")); // its read failed
        EXPECT_TRUE(IsSelected(form, L"output_master_mute"));
        EXPECT_FALSE(IsEnabled(form, L"output_master"));
        EXPECT_FALSE(IsSelected(form, L"input_master_mute"));
        EXPECT_TRUE(IsEnabled(form, L"input_master"));
        EXPECT_FALSE(IsSelected(form, L"output_phone1_mute"));
        EXPECT_TRUE(IsEnabled(form, L"output_phone1_left"));
        EXPECT_TRUE(IsEnabled(form, L"output_phone1_right"));
        EXPECT_EQ(5.0, FaderValue(form, L"mic1amp"));
        EXPECT_EQ(L"9DB", Text(form, L"mic1_value"));
        EXPECT_EQ(L"24DB", Text(form, L"mic2_value"));
    });
    host.NewCalls();
    host.DragFader(L"input_mic1", 0.3); // below the range: the lowest point it can take
    EXPECT_THAT(
        Only(host.NewCalls(), {L"TUSBAUDIO_SetVolume"}),
        ElementsAre(L"TUSBAUDIO_SetVolume(1,1,1,-17920)", L"TUSBAUDIO_SetVolume(1,1,1,-17920)"));
    host.OnUi([](MainForm& form) {
        EXPECT_EQ(1.0, FaderValue(form, L"input_mic1"));
        EXPECT_EQ(L"-70 dB", ToolTip(form, L"input_mic1"));
    });

    // Hidden by its button: device and plug and play released, polling stopped.
    host.Click(L"hidebtn");
    EXPECT_FALSE(::IsWindowVisible(host.Window()));
    EXPECT_THAT(
        Only(host.NewCalls(), {L"TUSBAUDIO_UnregisterPnpNotification", L"TUSBAUDIO_CloseDevice"}),
        ElementsAre(L"TUSBAUDIO_UnregisterPnpNotification()", L"TUSBAUDIO_CloseDevice(1)"));
    ExpectDisconnected(host);

    // Shown by another start of the program: registered and connected again.
    ::PostMessageW(host.Window(), MainForm::kMsgShow, 0, 0);
    host.Flush();
    EXPECT_TRUE(::IsWindowVisible(host.Window()));
    const std::vector<std::wstring> shown =
        Only(host.NewCalls(), {L"TUSBAUDIO_RegisterPnpNotification", L"TUSBAUDIO_OpenDevice"});
    ASSERT_EQ(2u, shown.size());
    EXPECT_EQ(0u, shown[0].rfind(L"TUSBAUDIO_RegisterPnpNotification(", 0));
    EXPECT_EQ(0u, shown[1].rfind(L"TUSBAUDIO_OpenDeviceByIndex(0,", 0));
    host.OnUi([](MainForm& form) {
        EXPECT_TRUE(form.IsPolling());
        EXPECT_TRUE(IsEnabled(form, L"settings"));
    });
    EXPECT_NE(nullptr, obase::ThreadRegistry::GetMessageLoopProxy(1));

    // A form destroyed while connected stops its polling thread first.
    host.OnUi([](MainForm& form) { ::DestroyWindow(form.GetHWND()); });
    EXPECT_EQ(nullptr, obase::ThreadRegistry::GetMessageLoopProxy(1));
    Sim().Control(L"range in 0 -32512 0 256");
}

TEST_F(MainFormFlowTest, ARefusedDeviceLeavesTheMixerDisconnected)
{
    Sim().Control(L"usbmode 1");
    MainFormTestHost host;
    ASSERT_NE(nullptr, host.Window());
    EXPECT_THAT(Only(host.NewCalls(), {L"TUSBAUDIO_CloseDevice"}),
                ElementsAre(L"TUSBAUDIO_CloseDevice(1)"));
    ExpectDisconnected(host);
    Sim().Control(L"usbmode 0");
}

TEST_F(MainFormFlowTest, RepeatedExitRequestsEndTheLoopWhileTheMonitorIsHeldInTheDriver)
{
    MainFormTestHost host;
    const HWND window = host.Window();
    ASSERT_NE(nullptr, window);
    Sim().Control(L"delay TUSBAUDIO_ReadDeviceNotification 5000 1; notify 3");
    ASSERT_TRUE(Sim().WaitForJournal([](const std::vector<std::wstring>&) {
        return Sim().Control(L"state").find(L"delay TUSBAUDIO_ReadDeviceNotification") ==
               std::wstring::npos;
    }));

    // As "-exitall" does: a request every 500 ms (here faster), while each
    // close of the held device waits its full second for the monitor.
    const ULONGLONG start = ::GetTickCount64();
    while (::IsWindow(window) && ::GetTickCount64() - start < 6000) {
        ::PostMessageW(window, MainForm::kMsgExit, 0, 0);
        ::Sleep(300);
    }
    EXPECT_FALSE(::IsWindow(window));
    EXPECT_LT(::GetTickCount64() - start, 3000u);
    EXPECT_EQ(1u, Sim().Calls(L"TUSBAUDIO_UnregisterPnpNotification").size());
}

TEST_F(MainFormFlowTest, AFailedEnumerationLeavesTheMixerDisconnectedUntilTheDeviceArrives)
{
    Sim().Control(L"fail TUSBAUDIO_EnumerateDevices 0xEE000050 1");
    MainFormTestHost host;
    ASSERT_NE(nullptr, host.Window());
    EXPECT_TRUE(Only(host.NewCalls(), {L"TUSBAUDIO_OpenDeviceByIndex"}).empty());
    ExpectDisconnected(host);

    // The arrival message still connects it.
    Sim().Control(L"unplug; plug");
    ASSERT_TRUE(host.WaitForCall(L"TUSBAUDIO_OpenDeviceByIndex"));
    host.Flush();
    EXPECT_TRUE(host.Read<bool>([](MainForm& form) { return IsEnabled(form, L"settings"); }));
}

} // namespace
