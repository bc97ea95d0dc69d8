// The settings window's texts, and records that do not keep to their
// layout: more sizes than slots, strings without a terminator.
#include "panel/SettingFormTexts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

AsioInfo Asio(uint32_t rate, uint32_t inputLatency, uint32_t outputLatency)
{
    AsioInfo info;
    info.sampleRate = rate;
    info.inputLatency = inputLatency;
    info.outputLatency = outputLatency;
    return info;
}

template <size_t N>
void Fill(DeviceProperties::DeviceChar (&field)[N], wchar_t ch)
{
    for (auto& unit : field)
        unit = static_cast<DeviceProperties::DeviceChar>(ch);
}

TEST(SettingFormTextsTest, LatenciesAreTruncatedToHundredthsOfAMillisecond)
{
    AsioInfo info = Asio(48000, 256, 1);
    info.active = 1;
    EXPECT_EQ(SettingFormTexts::AsioStatus(info),
              L"Input Latency:256 samples(5.33ms)\nOutput Latency:1 samples(0.02ms)\n"
              L"ASIO active(PCM mode)");
    info = Asio(44100, 256, 256);
    info.active = 1;
    info.mode = 1;
    EXPECT_EQ(SettingFormTexts::AsioStatus(info),
              L"Input Latency:256 samples(5.80ms)\nOutput Latency:256 samples(5.80ms)\n"
              L"ASIO active(DSD mode)");
    // A sample rate of 0 divides nothing.
    EXPECT_EQ(SettingFormTexts::AsioStatus(Asio(0, 256, 512)),
              L"Input Latency:256 samples(0.00ms)\nOutput Latency:512 samples(0.00ms)\n"
              L"ASIO not active");
    EXPECT_EQ(SettingFormTexts::SampleRate(0), L"0K HZ");
    EXPECT_EQ(SettingFormTexts::SampleRate(44100), L"44K HZ");
    EXPECT_EQ(SettingFormTexts::BufferSize(256), L"256 samples");
}

TEST(SettingFormTextsTest, DeviceAndDriverTextsFollowTheirFormats)
{
    DeviceProperties properties;
    properties.vendorId = 0x1209;
    properties.productId = 0x4B56;
    properties.releaseNumber = 0x0102;
    std::u16string manufacturer = u"KorVane";
    std::copy(manufacturer.begin(), manufacturer.end(), properties.manufacturer);
    properties.productName[0] = 'K';
    properties.serialNumber[0] = '7';
    EXPECT_EQ(SettingFormTexts::DeviceIdentity(properties),
              L"Manufacturer: KorVane\nProduct:      K\nVID/PID:      0x1209/0x4b56\n"
              L"Revision:     V1.02\nSerial No:    7\n");

    DriverInfo driver;
    driver.majorVersion = 5;
    driver.minorVersion = 12;
    driver.subVersion = 0;
    EXPECT_EQ(SettingFormTexts::DriverVersion(driver), L"Version 5.12.0   \nRelease Build\n");
    driver.flags = DriverInfo::kDebugBuildFlag | DriverInfo::kBuildMarkerFlag;
    EXPECT_EQ(SettingFormTexts::DriverVersion(driver), L"Version 5.12.0   ST \nDebug Build\n");

    StreamFormatRecord format;
    format.channelCount = 10;
    format.bitsPerSample = 24;
    EXPECT_EQ(SettingFormTexts::StreamFormat(format), L"10 chs 24 bits");
}

TEST(SettingFormTextsTest, HostileRecordsAreReadOnlyWithinTheirFields)
{
    // Only the sizes listed within the 40 slots: the count may claim more,
    // and the empty slots after the last size are no sizes of 0 samples.
    AsioInfo info;
    for (uint32_t i = 0; i < AsioInfo::kBufferSizeSlots; ++i)
        info.bufferSizes[i] = 32 * (i + 1);
    info.bufferSizeCount = 1000;
    EXPECT_EQ(SettingFormTexts::BufferSizes(info).size(), 40u);
    info.bufferSizeCount = 7;
    EXPECT_EQ(SettingFormTexts::BufferSizes(info).size(), 7u);
    std::fill(info.bufferSizes + 3, info.bufferSizes + 40, 0u);
    info.bufferSizeCount = 41;
    EXPECT_EQ(SettingFormTexts::BufferSizes(info), (std::vector<uint32_t>{32, 64, 96}));

    // Every text field full to its end, no terminator anywhere: each line
    // holds its own 128 characters and nothing of the next field.
    DeviceProperties properties;
    Fill(properties.serialNumber, L'S');
    Fill(properties.manufacturer, L'M');
    Fill(properties.productName, L'P');
    const std::wstring text = SettingFormTexts::DeviceIdentity(properties);
    EXPECT_NE(text.find(L"Manufacturer: " + std::wstring(128, L'M') + L"\n"), std::wstring::npos);
    EXPECT_NE(text.find(L"Product:      " + std::wstring(128, L'P') + L"\n"), std::wstring::npos);
    EXPECT_NE(text.find(L"Serial No:    " + std::wstring(128, L'S') + L"\n"), std::wstring::npos);
    // Five labels, three full fields, the VID/PID and revision values, five line feeds.
    EXPECT_EQ(text.size(), 5u * 14 + 3 * 128 + 13 + 5 + 5);
}

} // namespace
