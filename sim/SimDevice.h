#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "device/AsioInfo.h"
#include "device/DeviceProperties.h"
#include "device/DriverInfo.h"
#include "device/StreamFormatRecord.h"
#include "device/VolumeMuteInfo.h"
#include "sim/SimChannel.h"
#include "sim/SimStreamFormat.h"

// The state of the simulated interface itself, and the records the driver
// builds from it.
struct SimDevice {
    static constexpr uint32_t kChannels = 9;
    // The records are the ones the panel reads (device/), so both sides agree on them.
    static constexpr size_t kVolumeMuteInfoSize = sizeof(VolumeMuteInfo);
    static constexpr size_t kAsioInfoSize = sizeof(AsioInfo);
    static constexpr size_t kAsioSizeSlots = AsioInfo::kBufferSizeSlots;
    static constexpr size_t kStreamFormatSize = sizeof(StreamFormatRecord);
    static constexpr size_t kMaxStreamFormats = StreamFormatRecord::kMaxPerDirection;
    static constexpr size_t kPropertiesSize = sizeof(DeviceProperties);
    static constexpr size_t kDriverInfoSize = sizeof(DriverInfo);

    uint32_t usbMode = 0;
    std::array<SimChannel, kChannels> inputs{};
    std::array<SimChannel, kChannels> outputs{};

    // Audio-control entity 10.
    uint8_t phantomPower = 0;
    uint8_t invert = 0;
    uint8_t mic1Gain = 3; // 4-bit pre-amp steps
    uint8_t mic2Gain = 3;
    // Scale tops of MIC1/MIC2, GUITAR, HP; levels of MIC1, MIC2, GUITAR, HP; lock-out.
    std::array<uint8_t, 8> deviceVolume{100, 100, 100, 50, 50, 50, 70, 0};

    uint32_t sampleRate = 48000;
    std::vector<uint32_t> sampleRates{44100, 48000, 88200, 96000, 176400, 192000};

    uint32_t asioReference = 1; // handed back with a buffer-size change
    uint32_t asioActive = 1;
    uint32_t asioMode = 0;    // bit 0: DSD
    uint32_t asioOptions = 0; // bit 16: safe mode
    uint32_t asioBufferSize = 256;
    uint32_t asioInputLatency = 256 + 32;
    uint32_t asioOutputLatency = 256 + 48;
    std::vector<uint32_t> asioBufferSizes{32, 64, 128, 256, 512, 1024, 2048};
    // The count reported instead of the list's length, which cannot exceed the
    // record's slots: a driver may report more sizes than it can list.
    std::optional<uint32_t> asioSizeCount;

    std::vector<SimStreamFormat> inputFormats{{1, 24, 10}, {2, 16, 10}};
    std::vector<SimStreamFormat> outputFormats{{3, 24, 10}, {4, 16, 10}};
    uint32_t inputFormat = 1;
    uint32_t outputFormat = 3;

    uint32_t vendorId = 0x1209;
    uint32_t productId = 0x4B56;
    uint32_t releaseNumber = 0x0102;
    std::wstring serialNumber = L"KV0000001";
    std::wstring manufacturer = L"KorVane";
    std::wstring product = L"KorVane USB Audio";

    uint32_t driverMajor = 5;
    uint32_t driverMinor = 59;
    uint32_t driverSub = 0;
    uint32_t driverFlags = 0;

    std::array<SimChannel, kChannels>& Channels(bool isInput) { return isInput ? inputs : outputs; }
    std::vector<SimStreamFormat>& Formats(bool isInput)
    {
        return isInput ? inputFormats : outputFormats;
    }
    uint32_t& CurrentFormat(bool isInput) { return isInput ? inputFormat : outputFormat; }
    // The top of the scale of device fader 0..3.
    uint8_t DeviceVolumeTop(uint32_t fader) const
    {
        return deviceVolume[fader < 2 ? 0 : fader - 1];
    }

    static VolumeMuteInfo VolumeMuteRecord(const SimChannel& channel);
    AsioInfo AsioRecord() const;
    static StreamFormatRecord FormatRecord(const SimStreamFormat& format);
    DeviceProperties PropertiesRecord() const;
    DriverInfo DriverRecord(uint32_t apiVersion) const;
    // Keeps a latency's distance to the buffer size across a size change,
    // without wrapping when the latency is below the old size.
    static uint32_t ShiftedLatency(uint32_t latency, uint32_t oldSize, uint32_t newSize);
};
