#include <string>
#include <vector>

#include "device/DeviceStatus.h"
#include "sim/SimStatus.h"
#include "tests/device/SimulatedDeviceTest.h"

namespace {

using DeviceManagerTest = SimulatedDeviceTest;

TEST_F(DeviceManagerTest, OpeningFollowsTheDriverSequence)
{
    Bind();
    NewJournal();
    ASSERT_EQ(0u, m_manager->OpenDevice());
    EXPECT_EQ(1u, m_manager->deviceHandle);
    EXPECT_TRUE(m_manager->IsThreadHeld());

    std::vector<std::wstring> expected = {
        L"TUSBAUDIO_EnumerateDevices() = 0x00000000",
        L"TUSBAUDIO_OpenDeviceByIndex(0,&) = 0x00000000 handle=1",
        L"TUSBAUDIO_GetDeviceUsbMode(1,&) = 0x00000000 mode=0",
        L"TUSBAUDIO_RegisterDeviceNotification(1,0xFFFFFFFF,&,0) = 0x00000000",
    };
    for (const wchar_t* direction : {L"1", L"0"}) {
        for (int channel = 0; channel < 9; ++channel) {
            expected.push_back(L"TUSBAUDIO_GetVolumeMuteInfo(1," + std::wstring(direction) + L"," +
                               std::to_wstring(channel) + L",&) = 0x00000000");
        }
    }
    EXPECT_EQ(expected, NewJournal());
    EXPECT_EQ(9u, m_manager->inputVolumeInfo.size());
    EXPECT_EQ(9u, m_manager->outputVolumeInfo.size());
    EXPECT_EQ(-127 * 256, m_manager->inputVolumeInfo[0].minVolume);
    EXPECT_EQ(256, m_manager->outputVolumeInfo[8].resolution);
}

TEST_F(DeviceManagerTest, SecondOpenChangesNothing)
{
    Bind();
    ASSERT_EQ(0u, m_manager->OpenDevice());
    NewJournal();
    EXPECT_EQ(1u, m_manager->OpenDevice());
    EXPECT_EQ(1u, m_manager->deviceHandle);
    EXPECT_TRUE(NewJournal().empty());
    EXPECT_EQ(L"1", OpenHandles());
}

TEST_F(DeviceManagerTest, ClosingUnregistersThenClosesAndIsSafeTwice)
{
    Bind();
    m_manager->CloseDevice(); // nothing open: no driver call
    ASSERT_EQ(0u, m_manager->OpenDevice());
    NewJournal();
    m_manager->CloseDevice();
    const std::vector<std::wstring> expected = {
        L"TUSBAUDIO_RegisterDeviceNotification(1,0x00000000,0,0) = 0x00000000",
        L"TUSBAUDIO_CloseDevice(1) = 0x00000000",
    };
    EXPECT_EQ(expected, NewJournal());
    EXPECT_EQ(0u, m_manager->deviceHandle);
    EXPECT_FALSE(m_manager->IsThreadHeld());
    m_manager->CloseDevice();
    EXPECT_TRUE(NewJournal().empty());
    EXPECT_EQ(L"0", OpenHandles());
}

TEST_F(DeviceManagerTest, DeviceInUsbModeOneIsRefusedAndClosed)
{
    Bind(L"usbmode 1");
    EXPECT_EQ(kStatusDeviceRefused, m_manager->OpenDevice());
    EXPECT_EQ(0u, m_manager->deviceHandle);
    EXPECT_FALSE(m_manager->IsThreadHeld());
    EXPECT_EQ(1u, Calls(L"TUSBAUDIO_CloseDevice").size());
    EXPECT_TRUE(Calls(L"TUSBAUDIO_RegisterDeviceNotification").empty());
    EXPECT_EQ(L"0", OpenHandles());
}

TEST_F(DeviceManagerTest, MissingDeviceIsReportedWithTheDriverStatus)
{
    Bind(L"unplug");
    EXPECT_EQ(kSimInvalidParameter, m_manager->OpenDevice());
    EXPECT_EQ(0u, m_manager->deviceHandle);
    EXPECT_FALSE(m_manager->IsThreadHeld());
}

// A failure injected at each driver step of opening leaves nothing behind.
class OpenFailureTest : public SimulatedDeviceTest,
                        public ::testing::WithParamInterface<const wchar_t*> {};

TEST_P(OpenFailureTest, LeavesNoHandleAndNoMonitor)
{
    Bind(std::wstring(L"fail ") + GetParam() + L" 0xEE0000AB");
    EXPECT_EQ(0xEE0000ABu, m_manager->OpenDevice());
    EXPECT_EQ(0u, m_manager->deviceHandle);
    EXPECT_FALSE(m_manager->IsThreadHeld());
    EXPECT_EQ(L"0", OpenHandles()); // every handle the driver handed out was closed again
    // And the manager can open once the driver recovers.
    Control(std::wstring(L"fail ") + GetParam() + L" 0");
    EXPECT_EQ(0u, m_manager->OpenDevice());
}

INSTANTIATE_TEST_SUITE_P(EachStep, OpenFailureTest,
                         ::testing::Values(L"TUSBAUDIO_EnumerateDevices",
                                           L"TUSBAUDIO_OpenDeviceByIndex",
                                           L"TUSBAUDIO_GetDeviceUsbMode",
                                           L"TUSBAUDIO_RegisterDeviceNotification"));

TEST_F(DeviceManagerTest, MissingEntriesGiveEntryMissing)
{
    Bind();
    const auto enumerate = m_manager->api.TUSBAUDIO_EnumerateDevices;
    m_manager->api.TUSBAUDIO_EnumerateDevices = nullptr;
    EXPECT_EQ(kStatusEntryMissing, m_manager->OpenDevice());
    m_manager->api.TUSBAUDIO_EnumerateDevices = enumerate;

    const auto usbMode = m_manager->api.TUSBAUDIO_GetDeviceUsbMode;
    m_manager->api.TUSBAUDIO_GetDeviceUsbMode = nullptr;
    EXPECT_EQ(kStatusEntryMissing, m_manager->OpenDevice());
    EXPECT_EQ(L"0", OpenHandles());
    m_manager->api.TUSBAUDIO_GetDeviceUsbMode = usbMode;

    const auto registration = m_manager->api.TUSBAUDIO_RegisterDeviceNotification;
    m_manager->api.TUSBAUDIO_RegisterDeviceNotification = nullptr;
    EXPECT_EQ(kStatusEntryMissing, m_manager->OpenDevice());
    EXPECT_EQ(L"0", OpenHandles());
    EXPECT_FALSE(m_manager->IsThreadHeld());
    m_manager->api.TUSBAUDIO_RegisterDeviceNotification = registration;

    ASSERT_EQ(0u, m_manager->OpenDevice());
    m_manager->api.TUSBAUDIO_SetVolume = nullptr;
    EXPECT_EQ(kStatusEntryMissing, m_manager->SetVolumePosition(30.0, 1, true));
}

TEST_F(DeviceManagerTest, WithoutADeviceConversionsAndSettingGiveTheirDefaults)
{
    Bind();
    EXPECT_EQ(0, m_manager->PositionToVolume(30.0, true));
    EXPECT_DOUBLE_EQ(0.0, m_manager->VolumeToPosition(-7000, false));
    EXPECT_EQ(0u, m_manager->SetVolumePosition(30.0, 1, true));
    EXPECT_TRUE(Calls(L"TUSBAUDIO_SetVolume").empty());
}

TEST_F(DeviceManagerTest, SettingAPositionSendsItsTableVolume)
{
    Bind();
    ASSERT_EQ(0u, m_manager->OpenDevice());
    EXPECT_EQ(0u, m_manager->SetVolumePosition(30.7, 1, true));
    EXPECT_EQ(0u, m_manager->SetVolumePosition(100.0, 8, false));
    const std::vector<std::wstring> expected = {
        L"TUSBAUDIO_SetVolume(1,1,1,-3584) = 0x00000000",
        L"TUSBAUDIO_SetVolume(1,0,8,0) = 0x00000000",
    };
    EXPECT_EQ(expected, Calls(L"TUSBAUDIO_SetVolume"));
    Control(L"fail TUSBAUDIO_SetVolume 0xEE0000CD 1");
    EXPECT_EQ(0xEE0000CDu, m_manager->SetVolumePosition(20.0, 2, false));
}

TEST_F(DeviceManagerTest, ConversionsUseTheChannelZeroRangeOfEachDirection)
{
    Bind(L"range in 0 -25600 0 256\nrange in 1 -32512 1536 256\nrange out 0 -32512 1536 256");
    ASSERT_EQ(0u, m_manager->OpenDevice());
    // Input: clamped to channel 0's -100 dB, whatever channel is meant.
    EXPECT_DOUBLE_EQ(1.0, m_manager->VolumeToPosition(-32512, true));
    EXPECT_EQ(0, m_manager->PositionToVolume(100.0, true));
    // Output: +6 dB top.
    EXPECT_EQ(1536, m_manager->PositionToVolume(100.0, false));
    EXPECT_DOUBLE_EQ(0.0, m_manager->VolumeToPosition(-32512, false));
}

TEST_F(DeviceManagerTest, RangeWithoutResolutionIsNeverSentAVolume)
{
    Bind(L"range in 0 0 0 0");
    ASSERT_EQ(0u, m_manager->OpenDevice());
    EXPECT_EQ(0, m_manager->PositionToVolume(70.0, true));
    EXPECT_DOUBLE_EQ(17.0, m_manager->VolumeToPosition(-7000, true)); // its table point
    // 0 would be 0 dB, the loudest level: nothing is sent and the caller learns why.
    EXPECT_EQ(kStatusVolumeRangeUnusable, m_manager->SetVolumePosition(10.0, 1, true));
    EXPECT_TRUE(Calls(L"TUSBAUDIO_SetVolume").empty());
    // The output direction keeps its own range: 12 of 28 steps above -28 dB.
    EXPECT_EQ(-7168 + 12 * 256, m_manager->PositionToVolume(70.0, false));
    EXPECT_EQ(0u, m_manager->SetVolumePosition(70.0, 1, false));
    EXPECT_EQ(1u, Calls(L"TUSBAUDIO_SetVolume").size());
}

TEST_F(DeviceManagerTest, ReopeningKeepsOnlyTheNewDevicesRanges)
{
    Bind();
    ASSERT_EQ(0u, m_manager->OpenDevice());
    EXPECT_EQ(0, m_manager->PositionToVolume(100.0, false));
    m_manager->CloseDevice();
    // Another interface with a +6 dB output range is plugged in.
    Control(L"range out all -32512 1536 256");
    ASSERT_EQ(0u, m_manager->OpenDevice());
    EXPECT_EQ(1536, m_manager->PositionToVolume(100.0, false));
    EXPECT_EQ(9u, m_manager->inputVolumeInfo.size());
    EXPECT_EQ(9u, m_manager->outputVolumeInfo.size());
}

TEST_F(DeviceManagerTest, UnpluggedDeviceHandleStopsWorkingUntilReopened)
{
    Bind();
    ASSERT_EQ(0u, m_manager->OpenDevice());
    Control(L"unplug");
    EXPECT_EQ(kSimInvalidHandle, m_manager->SetVolumePosition(44.0, 1, true));
    m_manager->CloseDevice();
    EXPECT_NE(0u, m_manager->OpenDevice());
    Control(L"plug");
    EXPECT_EQ(0u, m_manager->OpenDevice());
    EXPECT_EQ(2u, m_manager->deviceHandle);
}

} // namespace
