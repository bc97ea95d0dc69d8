#include "panel/SettingFormTexts.h"

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <iterator>

namespace {

template <typename... Args>
std::wstring Format(const wchar_t* format, Args... args)
{
    wchar_t buffer[256] = {};
    const int written = std::swprintf(buffer, std::size(buffer), format, args...);
    return written > 0 ? std::wstring(buffer, static_cast<size_t>(written)) : std::wstring();
}

// A latency in samples as "%d samples(%d.%02dms)": truncated to whole
// microseconds, then to hundredths of a millisecond.
std::wstring Latency(uint32_t samples, uint32_t sampleRate)
{
    const uint64_t micros =
        sampleRate == 0 ? 0 : static_cast<uint64_t>(samples) * 1000000u / sampleRate;
    return Format(L"%d samples(%d.%02dms)", static_cast<int>(samples),
                  static_cast<int>(micros / 1000), static_cast<int>(micros % 1000 / 10));
}

} // namespace

std::wstring SettingFormTexts::SampleRate(uint32_t sampleRate)
{
    return Format(L"%dK HZ", static_cast<int>(sampleRate / 1000));
}

std::wstring SettingFormTexts::BufferSize(uint32_t samples)
{
    return Format(L"%d samples", static_cast<int>(samples));
}

std::wstring SettingFormTexts::StreamFormat(const StreamFormatRecord& format)
{
    return Format(L"%u chs %u bits", format.channelCount, format.bitsPerSample);
}

std::vector<uint32_t> SettingFormTexts::BufferSizes(const AsioInfo& info)
{
    std::vector<uint32_t> sizes;
    const uint32_t count = std::min(info.bufferSizeCount, AsioInfo::kBufferSizeSlots);
    std::copy_if(info.bufferSizes, info.bufferSizes + count, std::back_inserter(sizes),
                 [](uint32_t size) { return size != 0; });
    return sizes;
}

std::wstring SettingFormTexts::AsioStatus(const AsioInfo& info)
{
    std::wstring text = L"Input Latency:" + Latency(info.inputLatency, info.sampleRate) +
                        L"\nOutput Latency:" + Latency(info.outputLatency, info.sampleRate) + L"\n";
    if (info.active == 0)
        return text + L"ASIO not active";
    return text + ((info.mode & AsioInfo::kDsdModeBit) != 0 ? L"ASIO active(DSD mode)"
                                                            : L"ASIO active(PCM mode)");
}

std::wstring SettingFormTexts::FieldText(const DeviceProperties::DeviceChar* field, size_t capacity)
{
    std::wstring text;
    for (size_t i = 0; i < capacity && field[i] != 0; ++i)
        text += static_cast<wchar_t>(field[i]);
    return text;
}

std::wstring SettingFormTexts::DeviceIdentity(const DeviceProperties& properties)
{
    constexpr size_t kCapacity = DeviceProperties::kTextCapacity;
    return L"Manufacturer: " + FieldText(properties.manufacturer, kCapacity) + L"\n" +
           L"Product:      " + FieldText(properties.productName, kCapacity) + L"\n" +
           Format(L"VID/PID:      0x%04x/0x%04x\n", properties.vendorId, properties.productId) +
           Format(L"Revision:     V%x.%02x\n", properties.releaseNumber >> 8,
                  properties.releaseNumber & 0xFF) +
           L"Serial No:    " + FieldText(properties.serialNumber, kCapacity) + L"\n";
}

std::wstring SettingFormTexts::DriverVersion(const DriverInfo& info)
{
    std::wstring text =
        Format(L"Version %d.%d.%d  ", static_cast<int>(info.majorVersion),
               static_cast<int>(info.minorVersion), static_cast<int>(info.subVersion));
    if ((info.flags & DriverInfo::kBuildMarkerFlag) != 0)
        text += L" ST";
    text += L" \n";
    text += (info.flags & DriverInfo::kDebugBuildFlag) != 0 ? L"Debug Build\n" : L"Release Build\n";
    return text;
}
