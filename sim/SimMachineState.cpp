#include "sim/SimMachineState.h"

#include <optional>
#include <string>

#include "sim/SimDriver.h"

namespace {

constexpr uint32_t kLayout = 1;

class Writer {
public:
    void U32(uint32_t value)
    {
        for (int shift = 0; shift < 32; shift += 8) {
            m_bytes.push_back(static_cast<uint8_t>(value >> shift));
        }
    }
    void Text(const std::wstring& text)
    {
        U32(static_cast<uint32_t>(text.size()));
        for (const wchar_t c : text) {
            U32(static_cast<uint32_t>(c));
        }
    }
    void List(const std::vector<uint32_t>& values)
    {
        U32(static_cast<uint32_t>(values.size()));
        for (const uint32_t value : values) {
            U32(value);
        }
    }
    std::vector<uint8_t> Take() { return std::move(m_bytes); }

private:
    std::vector<uint8_t> m_bytes;
};

// Reads what Writer wrote; once anything is missing every read fails.
class Reader {
public:
    Reader(const uint8_t* bytes, size_t size) : m_bytes(bytes), m_size(size) {}

    bool Ok() const { return m_ok; }
    bool AtEnd() const { return m_at == m_size; }
    uint32_t U32()
    {
        if (!m_ok || m_size - m_at < 4) {
            m_ok = false;
            return 0;
        }
        uint32_t value = 0;
        for (int i = 3; i >= 0; --i) {
            value = (value << 8) | m_bytes[m_at + static_cast<size_t>(i)];
        }
        m_at += 4;
        return value;
    }
    // A count that the remaining bytes can hold, each item `itemSize` long.
    uint32_t Count(size_t itemSize)
    {
        const uint32_t count = U32();
        if (m_ok && count > (m_size - m_at) / itemSize) {
            m_ok = false;
        }
        return m_ok ? count : 0;
    }
    std::wstring Text()
    {
        std::wstring text(Count(4), L'\0');
        for (wchar_t& c : text) {
            c = static_cast<wchar_t>(U32());
        }
        return text;
    }
    std::vector<uint32_t> List()
    {
        std::vector<uint32_t> values(Count(4));
        for (uint32_t& value : values) {
            value = U32();
        }
        return values;
    }

private:
    const uint8_t* m_bytes;
    size_t m_size;
    size_t m_at = 0;
    bool m_ok = true;
};

void SaveChannel(Writer& out, const SimChannel& channel)
{
    out.U32(static_cast<uint16_t>(channel.volume));
    out.U32(channel.mute);
    out.U32(static_cast<uint16_t>(channel.minVolume));
    out.U32(static_cast<uint16_t>(channel.maxVolume));
    out.U32(static_cast<uint16_t>(channel.resolution));
}

void LoadChannel(Reader& in, SimChannel& channel)
{
    channel.volume = static_cast<int16_t>(in.U32());
    channel.mute = in.U32();
    channel.minVolume = static_cast<int16_t>(in.U32());
    channel.maxVolume = static_cast<int16_t>(in.U32());
    channel.resolution = static_cast<int16_t>(in.U32());
}

void SaveFormats(Writer& out, const std::vector<SimStreamFormat>& formats)
{
    out.U32(static_cast<uint32_t>(formats.size()));
    for (const SimStreamFormat& format : formats) {
        out.U32(format.id);
        out.U32(format.bitsPerSample);
        out.U32(format.channels);
    }
}

std::vector<SimStreamFormat> LoadFormats(Reader& in)
{
    std::vector<SimStreamFormat> formats(in.Count(12));
    for (SimStreamFormat& format : formats) {
        format.id = in.U32();
        format.bitsPerSample = in.U32();
        format.channels = in.U32();
    }
    return formats;
}

} // namespace

std::vector<uint8_t> SimMachineState::Save(const SimDriver& driver)
{
    Writer out;
    const SimDevice& device = driver.m_device;
    out.U32(kLayout);
    out.U32(driver.m_apiVersion);
    out.U32(driver.m_plugged ? 1 : 0);
    out.U32(device.usbMode);
    for (const auto* channels : {&device.inputs, &device.outputs}) {
        for (const SimChannel& channel : *channels) {
            SaveChannel(out, channel);
        }
    }
    for (const uint8_t byte :
         {device.phantomPower, device.invert, device.mic1Gain, device.mic2Gain}) {
        out.U32(byte);
    }
    for (const uint8_t byte : device.deviceVolume) {
        out.U32(byte);
    }
    out.U32(device.sampleRate);
    out.List(device.sampleRates);
    for (const uint32_t value :
         {device.asioReference, device.asioActive, device.asioMode, device.asioOptions,
          device.asioBufferSize, device.asioInputLatency, device.asioOutputLatency}) {
        out.U32(value);
    }
    out.List(device.asioBufferSizes);
    out.U32(device.asioSizeCount ? 1 : 0);
    out.U32(device.asioSizeCount.value_or(0));
    SaveFormats(out, device.inputFormats);
    SaveFormats(out, device.outputFormats);
    for (const uint32_t value : {device.inputFormat, device.outputFormat, device.vendorId,
                                 device.productId, device.releaseNumber}) {
        out.U32(value);
    }
    out.Text(device.serialNumber);
    out.Text(device.manufacturer);
    out.Text(device.product);
    for (const uint32_t value :
         {device.driverMajor, device.driverMinor, device.driverSub, device.driverFlags}) {
        out.U32(value);
    }
    const std::vector<SimInjection::SavedRule> rules = driver.m_injection.Save();
    out.U32(static_cast<uint32_t>(rules.size()));
    for (const SimInjection::SavedRule& rule : rules) {
        out.U32(rule.failure ? 1 : 0);
        out.Text(rule.entry);
        out.U32(rule.value);
        out.U32(rule.remaining);
    }
    return out.Take();
}

bool SimMachineState::Load(const uint8_t* bytes, size_t size, SimDriver& driver)
{
    Reader in(bytes, size);
    if (in.U32() != kLayout) {
        return false;
    }
    const uint32_t apiVersion = in.U32();
    const bool plugged = in.U32() != 0;
    SimDevice device;
    device.usbMode = in.U32();
    for (auto* channels : {&device.inputs, &device.outputs}) {
        for (SimChannel& channel : *channels) {
            LoadChannel(in, channel);
        }
    }
    for (uint8_t* byte :
         {&device.phantomPower, &device.invert, &device.mic1Gain, &device.mic2Gain}) {
        *byte = static_cast<uint8_t>(in.U32());
    }
    for (uint8_t& byte : device.deviceVolume) {
        byte = static_cast<uint8_t>(in.U32());
    }
    device.sampleRate = in.U32();
    device.sampleRates = in.List();
    for (uint32_t* value :
         {&device.asioReference, &device.asioActive, &device.asioMode, &device.asioOptions,
          &device.asioBufferSize, &device.asioInputLatency, &device.asioOutputLatency}) {
        *value = in.U32();
    }
    device.asioBufferSizes = in.List();
    const bool counted = in.U32() != 0;
    const uint32_t count = in.U32();
    device.asioSizeCount = counted ? std::optional<uint32_t>(count) : std::nullopt;
    device.inputFormats = LoadFormats(in);
    device.outputFormats = LoadFormats(in);
    for (uint32_t* value : {&device.inputFormat, &device.outputFormat, &device.vendorId,
                            &device.productId, &device.releaseNumber}) {
        *value = in.U32();
    }
    device.serialNumber = in.Text();
    device.manufacturer = in.Text();
    device.product = in.Text();
    for (uint32_t* value :
         {&device.driverMajor, &device.driverMinor, &device.driverSub, &device.driverFlags}) {
        *value = in.U32();
    }
    std::vector<SimInjection::SavedRule> rules(in.Count(16));
    for (SimInjection::SavedRule& rule : rules) {
        rule.failure = in.U32() != 0;
        rule.entry = in.Text();
        rule.value = in.U32();
        rule.remaining = in.U32();
    }
    // The records the driver builds have room for only so many entries.
    if (!in.Ok() || !in.AtEnd() || device.asioBufferSizes.size() > SimDevice::kAsioSizeSlots ||
        device.inputFormats.size() > SimDevice::kMaxStreamFormats ||
        device.outputFormats.size() > SimDevice::kMaxStreamFormats) {
        return false;
    }
    driver.m_apiVersion = apiVersion;
    driver.m_plugged = plugged;
    driver.m_device = std::move(device);
    driver.m_injection.Restore(rules);
    return true;
}
