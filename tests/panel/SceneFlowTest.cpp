// The panel and kvctl on one simulated interface: each follows the other's
// changes through the driver's notifications and loads the other's scenes.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>

#include "panel/MainForm.h"
#include "tests/app/DriverRegistration.h"
#include "tests/app/KvctlRun.h"
#include "tests/panel/MainFormTestHost.h"

using ::testing::HasSubstr;
using ::testing::IsEmpty;

namespace {

std::wstring TempPath(const wchar_t* name)
{
    wchar_t path[MAX_PATH + 1] = {};
    return std::wstring(path, ::GetTempPathW(MAX_PATH + 1, path)) + name;
}

bool WaitUntil(const std::function<bool()>& done, DWORD timeoutMs = 2000)
{
    const ULONGLONG deadline = ::GetTickCount64() + timeoutMs;
    while (!done()) {
        if (::GetTickCount64() > deadline)
            return false;
        ::Sleep(10);
    }
    return true;
}

// Journal lines that change the device.
std::vector<std::wstring> Sent(const std::vector<std::wstring>& lines)
{
    std::vector<std::wstring> sent;
    for (const std::wstring& line : lines) {
        if (line.rfind(L"TUSBAUDIO_Set", 0) == 0 ||
            line.rfind(L"TUSBAUDIO_AudioControlRequestSet(", 0) == 0)
            sent.push_back(line);
    }
    return sent;
}

class SceneFlowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_driver.Register(SimTestEnvironment::LibraryPath()));
        ::CreateDirectoryW(m_library.c_str(), nullptr);
    }
    static SimTestEnvironment& Sim() { return MainFormTestHost::Sim(); }

    DriverRegistration m_driver;
    const std::wstring m_library = TempPath(L"kv-scene-flow");
};

TEST_F(SceneFlowTest, PanelAndKvctlFollowEachOtherAndLoadEachOthersScenes)
{
    MainFormTestHost host;
    ASSERT_NE(host.Window(), nullptr);
    host.OnUi([this](MainForm& form) { form.SetSceneLibrary(SceneLibrary(m_library)); });
    ASSERT_TRUE(WaitUntil([&] {
        return host.Read<bool>([](MainForm& form) { return IsEnabled(form, L"input_mic1"); });
    }));

    // kvctl's changes show in the running panel after one notification.
    const KvctlRun set(L"set input_mic1=-20 output_ear_mute=on mic1amp=7 input_invert=on");
    ASSERT_EQ(set.exitCode, 0u) << set.err;
    EXPECT_TRUE(WaitUntil([&] {
        return host.Read<bool>([](MainForm& form) {
            return FaderValue(form, L"input_mic1") == 24.0 &&
                   IsSelected(form, L"output_ear_mute") && FaderValue(form, L"mic1amp") == 7.0 &&
                   Text(form, L"mic1_value") == L"15DB" && IsSelected(form, L"input_invert");
        });
    }));

    // A scene saved from the panel loads with kvctl...
    const std::wstring fromPanel = m_library + L"\\from panel.kvscene";
    EXPECT_EQ(host.Read<std::wstring>([&](MainForm& form) { return form.SaveScene(fromPanel); }),
              L"");
    const std::wstring panelScene = Sim().MixerState();
    Sim().Control(L"volume in 1 0; mute out 1 0; mute out 2 0; gain 1 3; invert 0");
    const KvctlRun load(L"load \"" + fromPanel + L"\"");
    ASSERT_EQ(load.exitCode, 0u) << load.err;
    EXPECT_EQ(Sim().MixerState(), panelScene);
    EXPECT_TRUE(WaitUntil([&] {
        return host.Read<bool>([](MainForm& form) {
            return FaderValue(form, L"input_mic1") == 24.0 && FaderValue(form, L"mic1amp") == 7.0;
        });
    }));

    // ...and one saved by kvctl loads in the panel, which heads its recent list.
    Sim().Control(L"volume out 5 -5120; volume out 6 -5120; devvol 3 20");
    const std::wstring fromKvctl = m_library + L"\\from kvctl.kvscene";
    ASSERT_EQ(KvctlRun(L"save \"" + fromKvctl + L"\"").exitCode, 0u);
    const std::wstring kvctlScene = Sim().MixerState();
    Sim().Control(L"volume out 5 0; volume out 6 0; devvol 3 90; mute in 0 1");
    EXPECT_EQ(host.Read<std::wstring>([&](MainForm& form) { return form.LoadScene(fromKvctl); }),
              L"");
    EXPECT_EQ(Sim().MixerState(), kvctlScene);
    host.OnUi([](MainForm& form) {
        EXPECT_EQ(FaderValue(form, L"output_phone2_left"), 24.0);
        EXPECT_EQ(FaderValue(form, L"device_HP"), 20.0);
        EXPECT_FALSE(IsSelected(form, L"input_master_mute"));
    });
    EXPECT_EQ(SceneLibrary(m_library).Recent(), (std::vector<std::wstring>{fromKvctl, fromPanel}));

    // A damaged scene, and any scene without a device: a message, nothing sent.
    const std::wstring damaged = m_library + L"\\damaged.kvscene";
    std::ofstream(damaged.c_str())
        << "<scene format=\"1.0\"><fader name=\"input_mic1\" db=\"-3\"/>";
    host.NewCalls();
    EXPECT_THAT(host.Read<std::wstring>([&](MainForm& form) { return form.LoadScene(damaged); }),
                HasSubstr(L"does not end with </scene>"));
    Sim().Control(L"unplug");
    ASSERT_TRUE(WaitUntil([&] {
        return host.Read<bool>([](MainForm& form) { return !IsEnabled(form, L"input_mic1"); });
    }));
    EXPECT_EQ(host.Read<std::wstring>([&](MainForm& form) { return form.LoadScene(fromPanel); }),
              L"No device is connected: the scene was not loaded.");
    EXPECT_THAT(Sent(host.NewCalls()), IsEmpty());

    for (const std::wstring& file : {fromPanel, fromKvctl, damaged})
        ::DeleteFileW(file.c_str());
    ::DeleteFileW((m_library + L"\\recent-scenes.txt").c_str());
    ::RemoveDirectoryW(m_library.c_str());
}

} // namespace
