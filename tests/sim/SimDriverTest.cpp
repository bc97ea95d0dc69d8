#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "sim/SimCommandInterpreter.h"
#include "sim/SimDriver.h"
#include "sim/SimMachineState.h"
#include "sim/SimNotification.h"
#include "sim/SimStatus.h"

namespace {

uint32_t U32(const uint8_t* record, size_t offset)
{
    return record[offset] | record[offset + 1] << 8 | record[offset + 2] << 16 |
           static_cast<uint32_t>(record[offset + 3]) << 24;
}

int16_t I16(const uint8_t* record, size_t offset)
{
    return static_cast<int16_t>(record[offset] | record[offset + 1] << 8);
}

class SimDriverTest : public ::testing::Test {
protected:
    uint32_t Open()
    {
        uint32_t handle = 0;
        EXPECT_EQ(0u, m_driver.Enumerate());
        EXPECT_EQ(0u, m_driver.OpenByIndex(0, &handle));
        return handle;
    }
    std::vector<uint32_t> Drain(uint32_t handle)
    {
        std::vector<uint32_t> categories;
        uint32_t category = 0;
        uint8_t data[64];
        uint32_t size = 0;
        while (m_driver.ReadNotification(handle, &category, data, sizeof data, &size) == 0) {
            categories.push_back(category);
        }
        return categories;
    }

    SimDriver m_driver;
};

TEST_F(SimDriverTest, EnumerationAndOpeningFollowThePlugState)
{
    uint32_t handle = 0;
    EXPECT_EQ(kSimInvalidParameter, m_driver.OpenByIndex(0, &handle)); // not enumerated yet
    m_driver.Enumerate();
    EXPECT_EQ(1u, m_driver.DeviceCount());
    EXPECT_EQ(kSimInvalidParameter, m_driver.OpenByIndex(1, &handle));
    m_driver.Unplug();
    EXPECT_EQ(1u, m_driver.DeviceCount()); // until enumerated again
    EXPECT_EQ(kSimNoDevice, m_driver.OpenByIndex(0, &handle));
    m_driver.Enumerate();
    EXPECT_EQ(0u, m_driver.DeviceCount());
    m_driver.Plug();
    const uint32_t first = Open();
    const uint32_t second = Open();
    EXPECT_NE(0u, first);
    EXPECT_NE(first, second);
    EXPECT_EQ(2u, m_driver.OpenHandleCount());
}

TEST_F(SimDriverTest, UnplugInvalidatesEveryHandle)
{
    const uint32_t handle = Open();
    int16_t volume = 0;
    m_driver.Unplug();
    EXPECT_EQ(kSimInvalidHandle, m_driver.GetVolume(handle, 1, 0, &volume));
    EXPECT_EQ(kSimInvalidHandle, m_driver.Close(handle));
    m_driver.Plug();
    EXPECT_EQ(kSimInvalidHandle, m_driver.GetVolume(handle, 1, 0, &volume)); // gone for good
}

TEST_F(SimDriverTest, PlugAndPlayPostsOnlyChangesToTheRegisteredWindow)
{
    m_driver.Unplug(); // nobody registered: nothing to post
    EXPECT_TRUE(m_driver.TakeSignals().posts.empty());
    m_driver.RegisterPnp(0x11, 0x22, 0x1234, 0x466);
    m_driver.Plug();
    m_driver.Plug();
    m_driver.Unplug();
    const SimSignals signals = m_driver.TakeSignals();
    ASSERT_EQ(2u, signals.posts.size());
    EXPECT_EQ(0x1234u, signals.posts[0].window);
    EXPECT_EQ(0x466u, signals.posts[0].message);
    EXPECT_EQ(1u, signals.posts[0].wParam);
    EXPECT_EQ(2u, signals.posts[1].wParam);
    EXPECT_EQ((std::vector<uintptr_t>{0x11, 0x22}), signals.events);
    m_driver.UnregisterPnp();
    m_driver.Plug();
    EXPECT_TRUE(m_driver.TakeSignals().posts.empty());
}

TEST_F(SimDriverTest, NotificationsQueuePerRegisteredHandleAndSetItsEventOnce)
{
    const uint32_t listening = Open();
    const uint32_t silent = Open();
    ASSERT_EQ(0u, m_driver.RegisterNotification(listening, 0xFFFFFFFF, 0x77));
    ASSERT_EQ(0u, m_driver.SetVolume(silent, 1, 2, -512));
    ASSERT_EQ(0u, m_driver.SetMute(silent, 0, 8, 5));
    m_driver.Notify(40);
    EXPECT_EQ((std::vector<uintptr_t>{0x77}), m_driver.TakeSignals().events);

    uint32_t category = 0;
    uint8_t data[64] = {};
    uint32_t size = 0;
    ASSERT_EQ(0u, m_driver.ReadNotification(listening, &category, data, sizeof data, &size));
    EXPECT_EQ(kSimCategoryVolume, category);
    ASSERT_EQ(8u, size);
    EXPECT_EQ(1u, U32(data, 0));
    EXPECT_EQ(2u, U32(data, 4));
    EXPECT_EQ((std::vector<uint32_t>{kSimCategoryMute, 40}), Drain(listening));
    EXPECT_EQ(kSimNoMoreItems,
              m_driver.ReadNotification(listening, &category, data, sizeof data, &size));
    EXPECT_EQ(kSimNoMoreItems,
              m_driver.ReadNotification(silent, &category, data, sizeof data, &size));
    int16_t volume = 0;
    uint32_t mute = 0;
    m_driver.GetVolume(listening, 1, 2, &volume);
    m_driver.GetMute(listening, 0, 8, &mute);
    EXPECT_EQ(-512, volume);
    EXPECT_EQ(1u, mute);
}

TEST_F(SimDriverTest, CategoryFilterAndUnregistering)
{
    const uint32_t handle = Open();
    m_driver.RegisterNotification(handle, 1u << kSimCategoryMute, 0x77);
    m_driver.ChangeVolume(true, 0, -256);
    m_driver.ChangeMute(true, 0, 1);
    EXPECT_EQ((std::vector<uint32_t>{kSimCategoryMute}), Drain(handle));
    m_driver.ChangeMute(true, 0, 0);
    m_driver.RegisterNotification(handle, 0, 0);
    m_driver.ChangeMute(true, 0, 1);
    EXPECT_TRUE(Drain(handle).empty());
    EXPECT_EQ(1u, m_driver.TakeSignals().events.size()); // one event to set, however many changes
}

TEST_F(SimDriverTest, FullQueueDropsTheOldestNotifications)
{
    const uint32_t handle = Open();
    m_driver.RegisterNotification(handle, 0xFFFFFFFF, 0);
    for (uint32_t i = 0; i < SimDriver::kQueueLimit + 10; ++i) {
        m_driver.Notify(i);
    }
    const std::vector<uint32_t> categories = Drain(handle);
    ASSERT_EQ(SimDriver::kQueueLimit, categories.size());
    EXPECT_EQ(10u, categories.front());
}

TEST_F(SimDriverTest, VolumesAreHeldInsideTheChannelRange)
{
    const uint32_t handle = Open();
    m_driver.m_device.inputs[4].minVolume = -100 * 256;
    m_driver.m_device.inputs[4].maxVolume = 6 * 256;
    int16_t volume = 0;
    m_driver.SetVolume(handle, 1, 4, -32768);
    m_driver.GetVolume(handle, 1, 4, &volume);
    EXPECT_EQ(-100 * 256, volume);
    m_driver.SetVolume(handle, 1, 4, 32767);
    m_driver.GetVolume(handle, 1, 4, &volume);
    EXPECT_EQ(6 * 256, volume);
    EXPECT_EQ(kSimInvalidParameter, m_driver.SetVolume(handle, 1, 9, 0));
    EXPECT_EQ(kSimInvalidParameter, m_driver.GetVolume(handle, 1, 0, nullptr));

    uint8_t record[16];
    ASSERT_EQ(0u, m_driver.GetVolumeMuteInfo(handle, 1, 4, record));
    EXPECT_EQ(-100 * 256, I16(record, 4));
    EXPECT_EQ(6 * 256, I16(record, 6));
    EXPECT_EQ(256, I16(record, 8));
}

TEST_F(SimDriverTest, AudioControlRequestsUseTheirByteLayouts)
{
    const uint32_t handle = Open();
    m_driver.RegisterNotification(handle, 0xFFFFFFFF, 0);
    const uint8_t gain[] = {2, 9};
    ASSERT_EQ(0u, m_driver.AudioControlSet(handle, 10, 1, 19, gain, 2, nullptr));
    uint8_t byte = 0;
    uint32_t transferred = 0;
    ASSERT_EQ(0u, m_driver.AudioControlGet(handle, 10, 1, 19, &byte, 1, &transferred));
    EXPECT_EQ(0x39, byte); // MIC1 step 3 in the high nibble, MIC2 step 9 in the low one
    EXPECT_EQ(1u, transferred);

    const uint8_t invert[] = {1, 0};
    ASSERT_EQ(0u, m_driver.AudioControlSet(handle, 10, 1, 17, invert, 2, nullptr));
    const uint8_t phantom[] = {1};
    ASSERT_EQ(0u, m_driver.AudioControlSet(handle, 10, 1, 16, phantom, 1, nullptr));
    m_driver.AudioControlGet(handle, 10, 1, 17, &byte, 1, nullptr);
    EXPECT_EQ(1, byte);
    m_driver.AudioControlGet(handle, 10, 1, 16, &byte, 1, nullptr);
    EXPECT_EQ(1, byte);

    m_driver.m_device.deviceVolume = {60, 80, 100, 0, 0, 0, 0, 1};
    const uint8_t level[] = {2, 90}; // GUITAR, above its scale top of 80
    ASSERT_EQ(0u, m_driver.AudioControlSet(handle, 10, 1, 20, level, 2, nullptr));
    uint8_t block[8] = {};
    ASSERT_EQ(0u, m_driver.AudioControlGet(handle, 10, 1, 20, block, 8, &transferred));
    EXPECT_EQ((std::vector<uint8_t>{60, 80, 100, 0, 0, 80, 0, 1}),
              std::vector<uint8_t>(block, block + 8));
    EXPECT_EQ((std::vector<uint32_t>(4, kSimCategoryAudioControl)), Drain(handle));

    EXPECT_EQ(kSimBufferTooSmall, m_driver.AudioControlGet(handle, 10, 1, 20, block, 7, nullptr));
    EXPECT_EQ(kSimInvalidParameter,
              m_driver.AudioControlSet(handle, 10, 1, 17, invert, 1, nullptr));
    const uint8_t badInput[] = {3, 4};
    EXPECT_EQ(kSimInvalidParameter,
              m_driver.AudioControlSet(handle, 10, 1, 19, badInput, 2, nullptr));
    const uint8_t badStep[] = {1, 16};
    EXPECT_EQ(kSimInvalidParameter,
              m_driver.AudioControlSet(handle, 10, 1, 19, badStep, 2, nullptr));
    EXPECT_EQ(kSimNotSupported, m_driver.AudioControlGet(handle, 11, 1, 20, block, 8, nullptr));
    EXPECT_EQ(kSimNotSupported, m_driver.AudioControlGet(handle, 10, 2, 20, block, 8, nullptr));
    EXPECT_EQ(kSimNotSupported, m_driver.AudioControlGet(handle, 10, 1, 18, block, 8, nullptr));
    EXPECT_TRUE(Drain(handle).empty()); // refused requests change nothing
}

TEST_F(SimDriverTest, RecordsCarryTheirFieldsAtTheirOffsets)
{
    const uint32_t handle = Open();
    m_driver.m_device.asioBufferSizes = {64, 128};
    uint8_t asio[SimDevice::kAsioInfoSize];
    ASSERT_EQ(0u, m_driver.GetAsioInfo(0, asio));
    EXPECT_EQ(48000u, U32(asio, 0));
    EXPECT_EQ(m_driver.m_device.asioReference, U32(asio, 4));
    EXPECT_EQ(256u, U32(asio, 28));
    EXPECT_EQ(2u, U32(asio, 32));
    EXPECT_EQ(64u, U32(asio, 36));
    EXPECT_EQ(128u, U32(asio, 40));
    EXPECT_EQ(0u, U32(asio, 44));

    std::vector<uint8_t> formats(32 * SimDevice::kStreamFormatSize);
    uint32_t count = 0;
    ASSERT_EQ(0u, m_driver.GetFormats(handle, 0, 32, formats.data(), &count));
    ASSERT_EQ(2u, count);
    EXPECT_EQ(4u, U32(formats.data(), SimDevice::kStreamFormatSize));      // id
    EXPECT_EQ(16u, U32(formats.data(), SimDevice::kStreamFormatSize + 4)); // bits
    EXPECT_EQ(10u, U32(formats.data(), SimDevice::kStreamFormatSize + 8)); // channels
    EXPECT_EQ(kSimBufferTooSmall, m_driver.GetFormats(handle, 0, 1, formats.data(), &count));
    EXPECT_EQ(2u, count);

    m_driver.m_device.product = L"Ünïcode";
    uint8_t properties[SimDevice::kPropertiesSize];
    ASSERT_EQ(0u, m_driver.GetProperties(handle, properties));
    EXPECT_EQ(0x1209u, U32(properties, 0));
    EXPECT_EQ(0x0102u, U32(properties, 8));
    EXPECT_EQ(u'K', I16(properties, 12));
    EXPECT_EQ(u'K', I16(properties, 268));
    EXPECT_EQ(0x00DC, I16(properties, 524));
    EXPECT_EQ(0, I16(properties, 524 + 2 * 7)); // terminated

    m_driver.m_device.driverFlags = 5;
    uint8_t info[SimDevice::kDriverInfoSize];
    ASSERT_EQ(0u, m_driver.GetDriverInfo(info));
    EXPECT_EQ(5u, U32(info, 8));
    EXPECT_EQ(59u, U32(info, 12));
    EXPECT_EQ(5u, U32(info, 20));

    // A later driver's longer records: 0xA5 bytes after each, so an array
    // of them has the longer stride.
    m_driver.m_recordExtra = 8;
    std::fill(formats.begin(), formats.end(), uint8_t{0});
    ASSERT_EQ(0u, m_driver.GetFormats(handle, 0, 32, formats.data(), &count));
    const size_t stride = SimDevice::kStreamFormatSize + 8;
    EXPECT_EQ(0xA5A5A5A5u, U32(formats.data(), stride - 4));
    EXPECT_EQ(4u, U32(formats.data(), stride));
    EXPECT_EQ(0xA5A5A5A5u, U32(formats.data(), 2 * stride - 4));
    EXPECT_EQ(0u, U32(formats.data(), 2 * stride));
}

TEST_F(SimDriverTest, BufferSizeChangesAreCheckedAndKeepTheLatencyDistance)
{
    const uint32_t reference = m_driver.m_device.asioReference;
    EXPECT_EQ(kSimInvalidParameter, m_driver.SetAsioBufferSize(0, reference, 100, 0));
    EXPECT_EQ(kSimInvalidParameter, m_driver.SetAsioBufferSize(0, reference + 1, 512, 0));
    ASSERT_EQ(0u, m_driver.SetAsioBufferSize(0, reference, 512, 0x10000));
    EXPECT_EQ(512u, m_driver.m_device.asioBufferSize);
    EXPECT_EQ(512u + 32, m_driver.m_device.asioInputLatency);
    EXPECT_EQ(0x10000u, m_driver.m_device.asioOptions);
    m_driver.Unplug();
    EXPECT_EQ(kSimNoDevice, m_driver.SetAsioBufferSize(0, reference, 512, 0));
}

TEST_F(SimDriverTest, LatencyBelowTheBufferSizeNeverWrapsAndTheCountMayExceedTheSlots)
{
    SimCommandInterpreter interpreter(m_driver);
    ASSERT_EQ(L"ok\n", interpreter.Execute(L"asio size 256; asio latency 100 300"));
    ASSERT_EQ(0u, m_driver.SetAsioBufferSize(0, m_driver.m_device.asioReference, 128, 0));
    EXPECT_EQ(0u, m_driver.m_device.asioInputLatency) << "held at 0, not wrapped";
    EXPECT_EQ(172u, m_driver.m_device.asioOutputLatency);
    ASSERT_EQ(0u, m_driver.SetAsioBufferSize(0, m_driver.m_device.asioReference, 2048, 0));
    EXPECT_EQ(1920u, m_driver.m_device.asioInputLatency);

    // A driver that supports more sizes than the record can list.
    ASSERT_EQ(L"ok\n", interpreter.Execute(L"asio sizes 64,128; asio count 41"));
    AsioInfo info;
    ASSERT_EQ(0u, m_driver.GetAsioInfo(0, reinterpret_cast<uint8_t*>(&info)));
    EXPECT_EQ(41u, info.bufferSizeCount);
    EXPECT_EQ(128u, info.bufferSizes[1]);
    EXPECT_EQ(0u, info.bufferSizes[AsioInfo::kBufferSizeSlots - 1]);
    ASSERT_EQ(L"ok\n", interpreter.Execute(L"asio count auto"));
    ASSERT_EQ(0u, m_driver.GetAsioInfo(0, reinterpret_cast<uint8_t*>(&info)));
    EXPECT_EQ(2u, info.bufferSizeCount);
}

TEST_F(SimDriverTest, OnlyTheOwnMajorVersionIsAccepted)
{
    m_driver.m_apiVersion = 0x00050008;
    EXPECT_TRUE(m_driver.CheckApiVersion(5, 9));
    EXPECT_FALSE(m_driver.CheckApiVersion(4, 0));
    m_driver.m_apiVersion = 0x00040002;
    EXPECT_FALSE(m_driver.CheckApiVersion(5, 9));
}

TEST_F(SimDriverTest, AnotherProcessTakesTheMachineStateAndReplaysItsEvents)
{
    SimCommandInterpreter(m_driver).Execute(
        L"api 5.8; unplug; volume in 3 -2560; asio sizes 64,128; fail "
        L"TUSBAUDIO_GetMute 0xEE000050 2; notify 7");
    m_driver.m_device.serialNumber = L"A;B"; // no text the command language could carry
    const std::vector<SimMachineEvent> events = m_driver.TakeMachineEvents();
    const std::vector<uint8_t> state = SimMachineState::Save(m_driver);

    SimDriver other;
    uint32_t handle = 0;
    other.Enumerate();
    other.OpenByIndex(0, &handle);
    other.RegisterNotification(handle, 0xFFFFFFFF, 42);
    other.RegisterPnp(0, 0, 7, 0x466);
    ASSERT_TRUE(SimMachineState::Load(state.data(), state.size(), other));
    EXPECT_EQ(other.m_apiVersion, 0x00050008u);
    EXPECT_FALSE(other.m_plugged);
    EXPECT_EQ(other.m_device.inputs[3].volume, -2560);
    EXPECT_EQ(other.m_device.serialNumber, L"A;B");
    EXPECT_EQ(other.m_device.asioBufferSizes, (std::vector<uint32_t>{64, 128}));
    EXPECT_EQ(other.m_injection.Describe(), m_driver.m_injection.Describe());
    // The events: the unplug drops the handle and posts removal, so the
    // notifications after it reach no one.
    ASSERT_EQ(events.size(), 4u); // unplug; categories 3, 6 and 7
    for (const SimMachineEvent& event : events)
        other.ApplyRemote(event);
    EXPECT_EQ(other.OpenHandleCount(), 0u);
    const SimSignals signals = other.TakeSignals();
    ASSERT_EQ(signals.posts.size(), 1u);
    EXPECT_EQ(signals.posts[0].wParam, 2u);
    EXPECT_TRUE(other.TakeMachineEvents().empty()) << "replayed events are not passed on";

    // A state cut short or from another layout changes nothing.
    for (const size_t size : {size_t{0}, size_t{4}, state.size() - 1}) {
        SimDriver fresh;
        EXPECT_FALSE(SimMachineState::Load(state.data(), size, fresh));
        EXPECT_EQ(fresh.m_apiVersion, 0x00050009u);
    }
}

} // namespace
