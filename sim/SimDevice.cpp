#include "sim/SimDevice.h"

#include <algorithm>
#include <limits>

#include "sim/SimBytes.h"

namespace {

template <size_t N>
void PutText(DeviceProperties::DeviceChar (&field)[N], const std::wstring& text)
{
    const std::vector<uint16_t> units = SimBytes::Utf16Units(text);
    // The last unit always stays 0, so the field is terminated.
    for (size_t i = 0; i + 1 < N && i < units.size(); ++i) {
        field[i] = static_cast<DeviceProperties::DeviceChar>(units[i]);
    }
}

} // namespace

VolumeMuteInfo SimDevice::VolumeMuteRecord(const SimChannel& channel)
{
    VolumeMuteInfo record;
    record.flags = 3; // volume and mute controls present
    record.minVolume = channel.minVolume;
    record.maxVolume = channel.maxVolume;
    record.resolution = channel.resolution;
    return record;
}

AsioInfo SimDevice::AsioRecord() const
{
    AsioInfo record;
    record.sampleRate = sampleRate;
    record.bufferReference = asioReference;
    record.active = asioActive;
    record.mode = asioMode;
    record.options = asioOptions;
    record.inputLatency = asioInputLatency;
    record.outputLatency = asioOutputLatency;
    record.bufferSize = asioBufferSize;
    const size_t listed = std::min<size_t>(asioBufferSizes.size(), AsioInfo::kBufferSizeSlots);
    record.bufferSizeCount = asioSizeCount.value_or(static_cast<uint32_t>(listed));
    std::copy_n(asioBufferSizes.begin(), listed, record.bufferSizes);
    return record;
}

StreamFormatRecord SimDevice::FormatRecord(const SimStreamFormat& format)
{
    StreamFormatRecord record;
    record.formatId = format.id;
    record.bitsPerSample = format.bitsPerSample;
    record.channelCount = format.channels;
    return record;
}

DeviceProperties SimDevice::PropertiesRecord() const
{
    DeviceProperties record;
    record.vendorId = vendorId;
    record.productId = productId;
    record.releaseNumber = releaseNumber;
    PutText(record.serialNumber, serialNumber);
    PutText(record.manufacturer, manufacturer);
    PutText(record.productName, product);
    return record;
}

DriverInfo SimDevice::DriverRecord(uint32_t apiVersion) const
{
    DriverInfo record;
    record.apiMajorVersion = apiVersion >> 16;
    record.apiMinorVersion = apiVersion & 0xFFFF;
    record.majorVersion = driverMajor;
    record.minorVersion = driverMinor;
    record.subVersion = driverSub;
    record.flags = driverFlags;
    return record;
}

uint32_t SimDevice::ShiftedLatency(uint32_t latency, uint32_t oldSize, uint32_t newSize)
{
    const int64_t shifted = int64_t{latency} - int64_t{oldSize} + int64_t{newSize};
    return static_cast<uint32_t>(
        std::clamp<int64_t>(shifted, 0, std::numeric_limits<uint32_t>::max()));
}
