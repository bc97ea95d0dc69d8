#pragma once

#include "device/AsioInfo.h"
#include "device/DeviceProperties.h"
#include "device/DriverInfo.h"
#include "device/StreamFormatRecord.h"

#include <cstdint>
#include <string>
#include <vector>

// The texts the settings window shows, from the driver's records. Records
// come from outside the program: counts are clamped to their slots and
// strings are read only within their fields.
class SettingFormTexts {
public:
    // "48K HZ": whole kilohertz.
    static std::wstring SampleRate(uint32_t sampleRate);
    // "256 samples".
    static std::wstring BufferSize(uint32_t samples);
    // "10 chs 24 bits".
    static std::wstring StreamFormat(const StreamFormatRecord& format);
    // The buffer sizes the record really lists: the non-zero ones among the
    // first N of its 40 slots. A count beyond the sizes listed would
    // otherwise offer sizes of 0 samples.
    static std::vector<uint32_t> BufferSizes(const AsioInfo& info);
    // Both latencies in samples and milliseconds, then the ASIO state.
    static std::wstring AsioStatus(const AsioInfo& info);
    // Manufacturer, product, VID/PID, revision and serial number lines.
    static std::wstring DeviceIdentity(const DeviceProperties& properties);
    // "Version 1.2.3   \nRelease Build\n", with " ST" for the build marker.
    static std::wstring DriverVersion(const DriverInfo& info);
    // A text field up to its first terminator or its end, whichever is first.
    static std::wstring FieldText(const DeviceProperties::DeviceChar* field, size_t capacity);
};
