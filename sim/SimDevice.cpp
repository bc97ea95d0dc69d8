#include "sim/SimDevice.h"

#include <algorithm>
#include <cstring>

#include "sim/SimBytes.h"

using SimBytes::PutU16;
using SimBytes::PutU32;

void SimDevice::WriteVolumeMuteInfo(const SimChannel& channel, uint8_t* record) const
{
    std::memset(record, 0, kVolumeMuteInfoSize);
    PutU32(record, 0, 3); // volume and mute controls present
    PutU16(record, 4, static_cast<uint16_t>(channel.minVolume));
    PutU16(record, 6, static_cast<uint16_t>(channel.maxVolume));
    PutU16(record, 8, static_cast<uint16_t>(channel.resolution));
}

void SimDevice::WriteAsioInfo(uint8_t* record) const
{
    std::memset(record, 0, kAsioInfoSize);
    PutU32(record, 0, sampleRate);
    PutU32(record, 4, asioReference);
    PutU32(record, 8, asioActive);
    PutU32(record, 12, asioMode);
    PutU32(record, 16, asioOptions);
    PutU32(record, 20, asioInputLatency);
    PutU32(record, 24, asioOutputLatency);
    PutU32(record, 28, asioBufferSize);
    const size_t count = std::min(asioBufferSizes.size(), kAsioSizeSlots);
    PutU32(record, 32, static_cast<uint32_t>(count));
    for (size_t i = 0; i < count; ++i) {
        PutU32(record, 36 + 4 * i, asioBufferSizes[i]);
    }
}

void SimDevice::WriteStreamFormat(const SimStreamFormat& format, uint8_t* record)
{
    std::memset(record, 0, kStreamFormatSize);
    PutU32(record, 0, format.id);
    PutU32(record, 4, format.bitsPerSample);
    PutU32(record, 8, format.channels);
}

void SimDevice::WriteProperties(uint8_t* record) const
{
    std::memset(record, 0, kPropertiesSize);
    PutU32(record, 0, vendorId);
    PutU32(record, 4, productId);
    PutU32(record, 8, releaseNumber);
    SimBytes::PutText(record, 12, serialNumber, 128);
    SimBytes::PutText(record, 268, manufacturer, 128);
    SimBytes::PutText(record, 524, product, 128);
}

void SimDevice::WriteDriverInfo(uint32_t apiVersion, uint8_t* record) const
{
    std::memset(record, 0, kDriverInfoSize);
    PutU32(record, 0, apiVersion >> 16);
    PutU32(record, 4, apiVersion & 0xFFFF);
    PutU32(record, 8, driverMajor);
    PutU32(record, 12, driverMinor);
    PutU32(record, 16, driverSub);
    PutU32(record, 20, driverFlags);
}
