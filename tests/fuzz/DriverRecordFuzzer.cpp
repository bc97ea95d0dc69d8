// The driver's records as the panel reads them: the ASIO record, stream
// formats, device properties, driver information and volume ranges, filled
// with arbitrary bytes. The first byte picks the record. Every text must be
// read within its record and give back the numbers it was made from.
#include "tests/fuzz/FuzzCheck.h"
#include "device/VolumeScale.h"
#include "panel/SettingFormTexts.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <vector>

namespace {

using fuzz::Check;

template <typename Record>
Record Fill(const uint8_t* data, size_t size)
{
    Record record;
    std::memcpy(&record, data, std::min(size, sizeof(Record)));
    return record;
}

void CheckAsio(const AsioInfo& info)
{
    const std::vector<uint32_t> sizes = SettingFormTexts::BufferSizes(info);
    const uint32_t slots = std::min(info.bufferSizeCount, AsioInfo::kBufferSizeSlots);
    Check(sizes.size() ==
          static_cast<size_t>(std::count_if(info.bufferSizes, info.bufferSizes + slots,
                                            [](uint32_t size) { return size != 0; })));
    size_t listed = 0;
    for (uint32_t i = 0; i < slots; ++i) {
        if (info.bufferSizes[i] == 0)
            continue;
        Check(sizes[listed++] == info.bufferSizes[i]);
        int samples = -1;
        Check(std::swscanf(SettingFormTexts::BufferSize(info.bufferSizes[i]).c_str(), L"%d samples",
                           &samples) == 1 &&
              samples == static_cast<int>(info.bufferSizes[i]));
    }
    int kilohertz = -1;
    Check(std::swscanf(SettingFormTexts::SampleRate(info.sampleRate).c_str(), L"%dK HZ",
                       &kilohertz) == 1 &&
          kilohertz == static_cast<int>(info.sampleRate / 1000));

    const std::wstring status = SettingFormTexts::AsioStatus(info);
    int input = -1;
    int output = -1;
    int whole = 0;
    int hundredths = 0;
    Check(std::swscanf(status.c_str(), L"Input Latency:%d samples(%d.%dms)", &input, &whole,
                       &hundredths) == 3 &&
          input == static_cast<int>(info.inputLatency) && hundredths >= 0 && hundredths < 100);
    const size_t second = status.find(L"\nOutput Latency:");
    Check(second != std::wstring::npos &&
          std::swscanf(status.c_str() + second + 1, L"Output Latency:%d samples", &output) == 1 &&
          output == static_cast<int>(info.outputLatency));
    const wchar_t* state = info.active == 0       ? L"ASIO not active"
                           : (info.mode & 1) != 0 ? L"ASIO active(DSD mode)"
                                                  : L"ASIO active(PCM mode)";
    Check(status.ends_with(state));
}

void CheckFormat(const StreamFormatRecord& format)
{
    unsigned channels = 0;
    unsigned bits = 0;
    Check(std::swscanf(SettingFormTexts::StreamFormat(format).c_str(), L"%u chs %u bits", &channels,
                       &bits) == 2 &&
          channels == format.channelCount && bits == format.bitsPerSample);
}

void CheckField(const DeviceProperties::DeviceChar* field, const std::wstring& identity)
{
    const std::wstring text = SettingFormTexts::FieldText(field, DeviceProperties::kTextCapacity);
    Check(text.size() <= DeviceProperties::kTextCapacity);
    Check(text.find(L'\0') == std::wstring::npos);
    for (size_t i = 0; i < text.size(); ++i)
        Check(text[i] == static_cast<wchar_t>(field[i]));
    Check(text.size() == DeviceProperties::kTextCapacity || field[text.size()] == 0);
    Check(identity.find(text + L"\n") != std::wstring::npos);
}

void CheckProperties(const DeviceProperties& properties)
{
    const std::wstring identity = SettingFormTexts::DeviceIdentity(properties);
    CheckField(properties.manufacturer, identity);
    CheckField(properties.productName, identity);
    CheckField(properties.serialNumber, identity);
    const size_t ids = identity.find(L"VID/PID:");
    unsigned vendor = 0;
    unsigned product = 0;
    Check(ids != std::wstring::npos &&
          std::swscanf(identity.c_str() + ids, L"VID/PID: 0x%x/0x%x", &vendor, &product) == 2 &&
          vendor == properties.vendorId && product == properties.productId);
}

void CheckDriver(const DriverInfo& info)
{
    const std::wstring text = SettingFormTexts::DriverVersion(info);
    int major = -1;
    int minor = -1;
    int sub = -1;
    Check(std::swscanf(text.c_str(), L"Version %d.%d.%d", &major, &minor, &sub) == 3 &&
          major == static_cast<int>(info.majorVersion) &&
          minor == static_cast<int>(info.minorVersion) && sub == static_cast<int>(info.subVersion));
    Check((text.find(L" ST") != std::wstring::npos) ==
          ((info.flags & DriverInfo::kBuildMarkerFlag) != 0));
    Check(text.ends_with((info.flags & DriverInfo::kDebugBuildFlag) != 0 ? L"Debug Build\n"
                                                                         : L"Release Build\n"));
}

// A range record, then a fader position and a driver volume.
void CheckVolumeRange(const uint8_t* data, size_t size)
{
    const VolumeMuteInfo range = Fill<VolumeMuteInfo>(data, size);
    double position = 0;
    int16_t volume = 0;
    if (size > sizeof(VolumeMuteInfo))
        std::memcpy(&position, data + sizeof(VolumeMuteInfo),
                    std::min(size - sizeof(VolumeMuteInfo), sizeof(position)));
    if (size > sizeof(VolumeMuteInfo) + sizeof(position))
        std::memcpy(&volume, data + sizeof(VolumeMuteInfo) + sizeof(position),
                    std::min(size - sizeof(VolumeMuteInfo) - sizeof(position), sizeof(volume)));

    const double shown = VolumeScale::VolumeToPosition(volume, range);
    Check(shown >= 0.0 && shown <= VolumeScale::kTop);
    const int16_t sent = VolumeScale::PositionToVolume(position, range);
    if (!VolumeScale::IsUsable(range)) {
        Check(sent == 0);
        return;
    }
    Check(sent <= std::max<int>(range.maxVolume, 0));
    // A fader rests where the device put it: quantising twice changes nothing.
    const double rested = VolumeScale::VolumeToPosition(sent, range);
    Check(rested >= 0.0 && rested <= VolumeScale::kTop);
    const double again =
        VolumeScale::VolumeToPosition(VolumeScale::PositionToVolume(rested, range), range);
    Check(again == rested);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const uint8_t kind = data[0];
    ++data;
    --size;
    switch (kind % 5) {
    case 0:
        CheckAsio(Fill<AsioInfo>(data, size));
        break;
    case 1:
        CheckFormat(Fill<StreamFormatRecord>(data, size));
        break;
    case 2:
        CheckProperties(Fill<DeviceProperties>(data, size));
        break;
    case 3:
        CheckDriver(Fill<DriverInfo>(data, size));
        break;
    default:
        CheckVolumeRange(data, size);
        break;
    }
    return 0;
}
