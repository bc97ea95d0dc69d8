// kvctl as a separate process against the simulated interface, which this
// test program also holds, so that its state lasts from one run to the next.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>

#include "device/DeviceStatus.h"
#include "device/TUsbAudioApiDll.h"
#include "tests/app/DriverRegistration.h"
#include "tests/app/KvctlRun.h"
#include "tests/sim/SimTestEnvironment.h"

using ::testing::ElementsAreArray;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

namespace {

std::wstring TempFile(const wchar_t* name)
{
    wchar_t path[MAX_PATH + 1] = {};
    return std::wstring(path, ::GetTempPathW(MAX_PATH + 1, path)) + name;
}

// The requests that change the device, without their results.
std::vector<std::wstring> Sent(const SimTestEnvironment& sim)
{
    std::vector<std::wstring> sent;
    for (const std::wstring& line : sim.Journal()) {
        for (const wchar_t* entry : {L"TUSBAUDIO_SetVolume(", L"TUSBAUDIO_SetMute(",
                                     L"TUSBAUDIO_AudioControlRequestSet("}) {
            if (line.rfind(entry, 0) == 0)
                sent.push_back(line.substr(0, line.find(L" = ")));
        }
    }
    return sent;
}

class KvctlProcessTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_driver.Register(SimTestEnvironment::LibraryPath()));
        ASSERT_EQ(0u, m_api.Load(SimTestEnvironment::LibraryPath()));
    }

    SimTestEnvironment m_sim;
    DriverRegistration m_driver;
    TUsbAudioApiDll m_api; // holds the interface between the runs
};

TEST_F(KvctlProcessTest, SaveChangeLoadRecallsExactlyTheSavedState)
{
    const std::wstring file = TempFile(L"kvctl-round-trip.kvscene");
    // Phone1 in at two levels (so unlocked), one output pair muted.
    m_sim.Control(
        L"volume in 1 -3584; volume in 3 -2560; volume in 4 -5120; volume out 0 -7168;"
        L"mute out 3 1; mute out 4 1; gain 1 7; gain 2 5; invert 1; devvol 3 40");
    const std::wstring saved = m_sim.MixerState();
    KvctlRun save(L"save \"" + file + L"\"");
    ASSERT_EQ(save.exitCode, 0u) << save.err;
    EXPECT_THAT(save.out, HasSubstr("saved"));

    m_sim.Control(
        L"volume in 0 -1280; volume in 1 0; volume in 3 0; volume in 4 0;"
        L"volume out all -2560; mute in 6 1; mute out 3 0; mute out 4 0; gain 1 3;"
        L"gain 2 9; invert 0; devvol 0 10; devvol 3 90; phantom 1");
    m_sim.ClearJournal();
    KvctlRun load(L"load \"" + file + L"\"");
    ASSERT_EQ(load.exitCode, 0u) << load.err;
    m_sim.Control(L"phantom 0"); // never part of a scene
    EXPECT_EQ(m_sim.MixerState(), saved);
    EXPECT_THAT(Sent(m_sim), ElementsAreArray(std::vector<std::wstring>{
                                 // Levels: phone1 in is unlocked, the other pairs move together.
                                 L"TUSBAUDIO_SetVolume(1,1,0,0)",
                                 L"TUSBAUDIO_SetVolume(1,1,1,-3584)",
                                 L"TUSBAUDIO_SetVolume(1,1,3,-2560)",
                                 L"TUSBAUDIO_SetVolume(1,1,4,-5120)",
                                 L"TUSBAUDIO_SetVolume(1,1,5,0)",
                                 L"TUSBAUDIO_SetVolume(1,1,6,0)",
                                 L"TUSBAUDIO_SetVolume(1,1,7,0)",
                                 L"TUSBAUDIO_SetVolume(1,1,8,0)",
                                 L"TUSBAUDIO_SetVolume(1,0,0,-7168)",
                                 L"TUSBAUDIO_SetVolume(1,0,1,0)",
                                 L"TUSBAUDIO_SetVolume(1,0,2,0)",
                                 L"TUSBAUDIO_SetVolume(1,0,3,0)",
                                 L"TUSBAUDIO_SetVolume(1,0,4,0)",
                                 L"TUSBAUDIO_SetVolume(1,0,5,0)",
                                 L"TUSBAUDIO_SetVolume(1,0,6,0)",
                                 L"TUSBAUDIO_SetVolume(1,0,7,0)",
                                 L"TUSBAUDIO_SetVolume(1,0,8,0)",
                                 // Mutes, left channel first.
                                 L"TUSBAUDIO_SetMute(1,1,0,0)",
                                 L"TUSBAUDIO_SetMute(1,1,1,0)",
                                 L"TUSBAUDIO_SetMute(1,1,3,0)",
                                 L"TUSBAUDIO_SetMute(1,1,4,0)",
                                 L"TUSBAUDIO_SetMute(1,1,5,0)",
                                 L"TUSBAUDIO_SetMute(1,1,6,0)",
                                 L"TUSBAUDIO_SetMute(1,1,7,0)",
                                 L"TUSBAUDIO_SetMute(1,1,8,0)",
                                 L"TUSBAUDIO_SetMute(1,0,0,0)",
                                 L"TUSBAUDIO_SetMute(1,0,1,0)",
                                 L"TUSBAUDIO_SetMute(1,0,2,0)",
                                 L"TUSBAUDIO_SetMute(1,0,3,1)",
                                 L"TUSBAUDIO_SetMute(1,0,4,1)",
                                 L"TUSBAUDIO_SetMute(1,0,5,0)",
                                 L"TUSBAUDIO_SetMute(1,0,6,0)",
                                 L"TUSBAUDIO_SetMute(1,0,7,0)",
                                 L"TUSBAUDIO_SetMute(1,0,8,0)",
                                 // Device volumes, gains, invert.
                                 L"TUSBAUDIO_AudioControlRequestSet(1,10,1,20,0,[00 32],2,0,1000)",
                                 L"TUSBAUDIO_AudioControlRequestSet(1,10,1,20,0,[01 32],2,0,1000)",
                                 L"TUSBAUDIO_AudioControlRequestSet(1,10,1,20,0,[02 32],2,0,1000)",
                                 L"TUSBAUDIO_AudioControlRequestSet(1,10,1,20,0,[03 28],2,0,1000)",
                                 L"TUSBAUDIO_AudioControlRequestSet(1,10,1,19,0,[01 07],2,0,1000)",
                                 L"TUSBAUDIO_AudioControlRequestSet(1,10,1,19,0,[02 05],2,0,1000)",
                                 L"TUSBAUDIO_AudioControlRequestSet(1,10,1,17,0,[01 00],2,0,1000)",
                             }));

    KvctlRun get(L"--json get input_mic1 output_phone1_mute mic1amp device_HP input_phone1_lock");
    EXPECT_EQ(get.exitCode, 0u);
    EXPECT_EQ(get.out,
              "{\"input_mic1\": -14, \"output_phone1_mute\": true, \"mic1amp\": 7, "
              "\"device_HP\": 40, \"input_phone1_lock\": false}\n");
    ::DeleteFileW(file.c_str());
}

TEST_F(KvctlProcessTest, BadArgumentsFilesAndAMissingDeviceSendNothing)
{
    const std::wstring good = TempFile(L"kvctl-good.kvscene");
    ASSERT_EQ(KvctlRun(L"save \"" + good + L"\"").exitCode, 0u);
    std::string text;
    {
        std::ifstream in(good.c_str(), std::ios::binary);
        text.assign(std::istreambuf_iterator<char>(in), {});
    }
    const std::wstring truncated = TempFile(L"kvctl-truncated.kvscene");
    const std::wstring newer = TempFile(L"kvctl-newer.kvscene");
    // Cut where the markup is still well-formed: only the end is missing.
    std::ofstream(truncated.c_str(), std::ios::binary) << text.substr(0, text.rfind("</scene>"));
    std::string major2 = text;
    major2.replace(major2.find("format=\"1.0\""), 12, "format=\"2.0\"");
    std::ofstream(newer.c_str(), std::ios::binary) << major2;
    m_sim.ClearJournal();

    const struct {
        std::wstring arguments;
        DWORD code;
        const char* message;
    } cases[] = {
        {L"set input_mic1=-6 output_ear_mute=maybe", 4, "is not on or off"},
        {L"set input_mic1=-6 input_48v=on", 4, "phantom power"},
        {L"frobnicate", 4, "unknown command"},
        {L"load \"" + truncated + L"\"", 4, "does not end with </scene>"},
        {L"load \"" + newer + L"\"", 4, "format 2.0"},
        {L"load \"" + TempFile(L"kvctl-no-such.kvscene") + L"\"", 4, "cannot load"},
    };
    for (const auto& bad : cases) {
        const KvctlRun run(bad.arguments);
        EXPECT_EQ(run.exitCode, bad.code) << run.err;
        EXPECT_THAT(run.err, HasSubstr(bad.message));
    }
    const KvctlRun json(L"--json set input_mic1=-6 mic1amp=loud");
    EXPECT_EQ(json.exitCode, 4u);
    EXPECT_THAT(json.out, HasSubstr("\"exitCode\": 4}"));

    m_sim.Control(L"unplug");
    for (const wchar_t* arguments : {L"set input_mic1=-6", L"status"}) {
        const KvctlRun run(arguments);
        EXPECT_EQ(run.exitCode, 3u) << run.err;
    }
    const KvctlRun noDevice(L"load \"" + good + L"\"");
    EXPECT_EQ(noDevice.exitCode, 3u);
    EXPECT_THAT(noDevice.err, HasSubstr("no device is connected"));
    EXPECT_THAT(Sent(m_sim), IsEmpty());

    m_driver.Unregister();
    const KvctlRun noDriver(L"status");
    EXPECT_EQ(noDriver.exitCode, 2u);
    EXPECT_THAT(noDriver.err, HasSubstr("Can't find driver!"));
    m_driver.Register(SimTestEnvironment::LibraryPath());
    {
        SimTestEnvironment oldDriver(L"api 4.2"); // a library of its own, refused
        const KvctlRun refused(L"get");
        EXPECT_EQ(refused.exitCode, kStatusApiVersionRefused);
        EXPECT_THAT(refused.err, HasSubstr("The driver version mismatched!"));
    }
    for (const std::wstring& file : {good, truncated, newer})
        ::DeleteFileW(file.c_str());
}

} // namespace
