#include "sim/SimCommandInterpreter.h"

#include <algorithm>
#include <limits>
#include <optional>

#include "device/DriverRecordBuffer.h"
#include "sim/SimDriver.h"
#include "sim/SimEntryNames.h"
#include "sim/SimNotification.h"
#include "sim/SimSignals.h"
#include "sim/SimText.h"

namespace {

constexpr std::wstring_view kSpace = L" \t\r";

std::wstring_view Trim(std::wstring_view text)
{
    const size_t first = text.find_first_not_of(kSpace);
    if (first == std::wstring_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(kSpace) - first + 1);
}

std::vector<std::wstring> Split(std::wstring_view text, std::wstring_view separators)
{
    std::vector<std::wstring> parts;
    size_t start = 0;
    while (start <= text.size()) {
        const size_t end = std::min(text.find_first_of(separators, start), text.size());
        const std::wstring_view part = Trim(text.substr(start, end - start));
        if (!part.empty()) {
            parts.emplace_back(part);
        }
        start = end + 1;
    }
    return parts;
}

template <typename T>
bool Parse(std::wstring_view text, T& value, int64_t minimum = std::numeric_limits<T>::min(),
           int64_t maximum = std::numeric_limits<T>::max())
{
    const std::optional<int64_t> parsed = SimText::ParseNumber(text);
    if (!parsed || *parsed < minimum || *parsed > maximum) {
        return false;
    }
    value = static_cast<T>(*parsed);
    return true;
}

bool ParseDirection(std::wstring_view text, bool& isInput)
{
    isInput = text == L"in";
    return isInput || text == L"out";
}

// "all" or one channel 0..8, as the range [first, last].
bool ParseChannels(std::wstring_view text, uint32_t& first, uint32_t& last)
{
    if (text == L"all") {
        first = 0;
        last = SimDevice::kChannels - 1;
        return true;
    }
    if (!Parse(text, first, 0, SimDevice::kChannels - 1)) {
        return false;
    }
    last = first;
    return true;
}

template <typename T>
bool ParseList(const std::vector<std::wstring>& words, size_t from, size_t limit,
               std::vector<T>& values)
{
    std::wstring joined;
    for (size_t i = from; i < words.size(); ++i) {
        joined += words[i] + L",";
    }
    std::vector<T> parsed;
    if (joined == L"none,") {
        values.clear();
        return true;
    }
    for (const std::wstring& item : Split(joined, L",")) {
        T value{};
        if (!Parse(item, value)) {
            return false;
        }
        parsed.push_back(value);
    }
    if (parsed.size() > limit) {
        return false;
    }
    values = std::move(parsed);
    return true;
}

std::wstring Usage(const std::vector<std::wstring>& words, const wchar_t* usage)
{
    std::wstring got;
    for (const std::wstring& word : words) {
        got += (got.empty() ? L"" : L" ") + word;
    }
    return L"usage: " + std::wstring(usage) + L" (got '" + got + L"')";
}

} // namespace

std::wstring SimCommandInterpreter::Execute(std::wstring_view request)
{
    m_output.clear();
    for (const std::wstring& line : Split(request, L"\n;")) {
        if (line[0] == L'#') {
            continue;
        }
        Command command;
        command.words = Split(line, kSpace);
        command.rest = std::wstring(Trim(std::wstring_view(line).substr(command.words[0].size())));
        const std::wstring error = Run(command);
        if (!error.empty()) {
            return L"error: " + error + L"\n";
        }
    }
    return L"ok\n" + m_output;
}

std::wstring SimCommandInterpreter::Run(const Command& command)
{
    const std::wstring& verb = command.words[0];
    const size_t count = command.words.size();
    if (verb == L"plug" && count == 1) {
        m_driver.Plug();
    } else if (verb == L"unplug" && count == 1) {
        m_driver.Unplug();
    } else if (verb == L"plugged") {
        uint32_t plugged = 0;
        if (count != 2 || !Parse(command.words[1], plugged, 0, 1)) {
            return Usage(command.words, L"plugged 0|1");
        }
        m_driver.m_plugged = plugged != 0;
    } else if (verb == L"api") {
        const std::vector<std::wstring> parts =
            count == 2 ? Split(command.words[1], L".") : std::vector<std::wstring>{};
        uint16_t major = 0;
        uint16_t minor = 0;
        if (parts.size() != 2 || !Parse(parts[0], major) || !Parse(parts[1], minor)) {
            return Usage(command.words, L"api MAJOR.MINOR");
        }
        m_driver.m_apiVersion = (static_cast<uint32_t>(major) << 16) | minor;
    } else if (verb == L"usbmode") {
        if (count != 2 || !Parse(command.words[1], m_driver.m_device.usbMode)) {
            return Usage(command.words, L"usbmode N");
        }
    } else if (verb == L"range" || verb == L"volume" || verb == L"mute") {
        return RunChannelCommand(command);
    } else if (verb == L"phantom" || verb == L"invert" || verb == L"gain" || verb == L"devvol" ||
               verb == L"devtop" || verb == L"lockout") {
        return RunEntityCommand(command);
    } else if (verb == L"asio") {
        return RunAsioCommand(command);
    } else if (verb == L"rate" || verb == L"rates" || verb == L"formats" || verb == L"format") {
        return RunFormatCommand(command);
    } else if (verb == L"vid" || verb == L"pid" || verb == L"release" || verb == L"serial" ||
               verb == L"manufacturer" || verb == L"product" || verb == L"driverinfo") {
        return RunPropertyCommand(command);
    } else if (verb == L"records") {
        // A later driver's longer records, up to the room the program leaves for them.
        if (count != 3 || command.words[1] != L"longer" ||
            !Parse(command.words[2], m_driver.m_recordExtra, 0,
                   static_cast<int64_t>(kDriverRecordHeadroom))) {
            return Usage(command.words, L"records longer BYTES(0..4096)");
        }
    } else if (verb == L"notify") {
        std::vector<uint32_t> categories;
        if (count < 2 || !ParseList(command.words, 1, 1024, categories)) {
            return Usage(command.words, L"notify CATEGORY [CATEGORY...]");
        }
        for (const uint32_t category : categories) {
            m_driver.Notify(category);
        }
    } else if (verb == L"fail" || verb == L"delay") {
        return RunInjectionCommand(command);
    } else if (verb == L"journal") {
        if (command.rest.empty()) {
            return Usage(command.words, L"journal PATH|off");
        }
        m_driver.m_journalPath = command.rest == L"off" ? std::wstring() : command.rest;
    } else if (verb == L"pipe") {
        if (command.rest.empty()) {
            return Usage(command.words, L"pipe NAME");
        }
        m_driver.m_pipeName = command.rest;
    } else if (verb == L"state" && count == 1) {
        m_output += DescribeState();
    } else {
        return L"unknown command '" + verb + L"'";
    }
    return {};
}

std::wstring SimCommandInterpreter::RunChannelCommand(const Command& command)
{
    const std::wstring& verb = command.words[0];
    bool isInput = false;
    uint32_t first = 0;
    uint32_t last = 0;
    const bool target = command.words.size() >= 3 && ParseDirection(command.words[1], isInput) &&
                        ParseChannels(command.words[2], first, last);
    auto& channels = m_driver.m_device.Channels(isInput);
    if (verb == L"range") {
        int16_t minimum = 0;
        int16_t maximum = 0;
        int16_t resolution = 0;
        if (!target || command.words.size() != 6 || !Parse(command.words[3], minimum) ||
            !Parse(command.words[4], maximum) || !Parse(command.words[5], resolution)) {
            return Usage(command.words, L"range in|out CHANNEL|all MIN MAX RESOLUTION");
        }
        if (minimum > maximum) {
            return L"range: MIN must not be above MAX";
        }
        // A device's volume always lies inside its range.
        for (uint32_t channel = first; channel <= last; ++channel) {
            auto& record = channels[channel];
            record.minVolume = minimum;
            record.maxVolume = maximum;
            record.resolution = resolution;
            record.volume = std::max(minimum, std::min(record.volume, maximum));
        }
        return {};
    }
    if (verb == L"volume") {
        int16_t volume = 0;
        if (!target || command.words.size() != 4 || !Parse(command.words[3], volume)) {
            return Usage(command.words, L"volume in|out CHANNEL|all VOLUME");
        }
        for (uint32_t channel = first; channel <= last; ++channel) {
            m_driver.ChangeVolume(isInput, channel, volume);
        }
        return {};
    }
    uint32_t mute = 0;
    if (!target || command.words.size() != 4 || !Parse(command.words[3], mute, 0, 1)) {
        return Usage(command.words, L"mute in|out CHANNEL|all 0|1");
    }
    for (uint32_t channel = first; channel <= last; ++channel) {
        m_driver.ChangeMute(isInput, channel, mute);
    }
    return {};
}

std::wstring SimCommandInterpreter::RunEntityCommand(const Command& command)
{
    const std::wstring& verb = command.words[0];
    SimDevice& device = m_driver.m_device;
    const size_t count = command.words.size();
    uint8_t selector = 20;
    if (verb == L"phantom" || verb == L"invert") {
        uint8_t on = 0;
        if (count != 2 || !Parse(command.words[1], on, 0, 1)) {
            return Usage(command.words, L"phantom|invert 0|1");
        }
        (verb == L"phantom" ? device.phantomPower : device.invert) = on;
        selector = verb == L"phantom" ? 16 : 17;
    } else if (verb == L"gain") {
        uint8_t input = 0;
        uint8_t step = 0;
        if (count != 3 || !Parse(command.words[1], input, 1, 2) ||
            !Parse(command.words[2], step, 0, 15)) {
            return Usage(command.words, L"gain 1|2 STEP(0..15)");
        }
        (input == 1 ? device.mic1Gain : device.mic2Gain) = step;
        selector = 19;
    } else if (verb == L"devvol" || verb == L"devtop") {
        const bool level = verb == L"devvol";
        uint8_t index = 0;
        uint8_t value = 0;
        if (count != 3 || !Parse(command.words[1], index, 0, level ? 3 : 2) ||
            !Parse(command.words[2], value)) {
            return Usage(command.words,
                         level ? L"devvol FADER(0..3) LEVEL" : L"devtop SCALE(0..2) TOP");
        }
        device.deviceVolume[level ? 3 + index : index] = value;
    } else {
        if (count != 2 || !Parse(command.words[1], device.deviceVolume[7])) {
            return Usage(command.words, L"lockout VALUE");
        }
    }
    m_driver.ChangeAudioControl(selector);
    return {};
}

std::wstring SimCommandInterpreter::RunAsioCommand(const Command& command)
{
    SimDevice& device = m_driver.m_device;
    const size_t count = command.words.size();
    const std::wstring what = count >= 2 ? command.words[1] : std::wstring();
    bool valid = false;
    if (what == L"active" || what == L"dsd") {
        uint32_t on = 0;
        valid = count == 3 && Parse(command.words[2], on, 0, 1);
        if (valid && what == L"active") {
            device.asioActive = on;
        } else if (valid) {
            device.asioMode = (device.asioMode & ~1u) | on;
        }
    } else if (what == L"options") {
        valid = count == 3 && Parse(command.words[2], device.asioOptions);
    } else if (what == L"size") {
        valid = count == 3 && Parse(command.words[2], device.asioBufferSize);
    } else if (what == L"reference") {
        valid = count == 3 && Parse(command.words[2], device.asioReference);
    } else if (what == L"count") {
        uint32_t reported = 0;
        valid = count == 3 && (command.words[2] == L"auto" || Parse(command.words[2], reported));
        if (valid) {
            device.asioSizeCount =
                command.words[2] == L"auto" ? std::optional<uint32_t>() : std::optional(reported);
        }
    } else if (what == L"sizes") {
        valid = count >= 3 &&
                ParseList(command.words, 2, SimDevice::kAsioSizeSlots, device.asioBufferSizes);
    } else if (what == L"latency") {
        valid = count == 4 && Parse(command.words[2], device.asioInputLatency) &&
                Parse(command.words[3], device.asioOutputLatency);
    }
    if (!valid) {
        return Usage(command.words,
                     L"asio active|dsd 0|1, asio options|size|reference N, asio sizes N,N..., "
                     L"asio count N|auto, asio latency IN OUT");
    }
    m_driver.Notify(kSimCategoryAsio);
    return {};
}

std::wstring SimCommandInterpreter::RunFormatCommand(const Command& command)
{
    const std::wstring& verb = command.words[0];
    SimDevice& device = m_driver.m_device;
    const size_t count = command.words.size();
    if (verb == L"rate") {
        if (count != 2 || !Parse(command.words[1], device.sampleRate)) {
            return Usage(command.words, L"rate HZ");
        }
        m_driver.Notify(kSimCategorySampleRate);
        return {};
    }
    if (verb == L"rates") {
        if (count < 2 || !ParseList(command.words, 1, 64, device.sampleRates)) {
            return Usage(command.words, L"rates HZ,HZ...");
        }
        m_driver.Notify(kSimCategorySampleRate);
        return {};
    }
    bool isInput = false;
    if (count < 3 || !ParseDirection(command.words[1], isInput)) {
        return Usage(command.words, L"formats in|out ID:BITS:CHANNELS,... or format in|out ID");
    }
    if (verb == L"format") {
        if (count != 3 || !Parse(command.words[2], device.CurrentFormat(isInput))) {
            return Usage(command.words, L"format in|out ID");
        }
        m_driver.Notify(kSimCategoryStreamFormat);
        return {};
    }
    std::wstring joined;
    for (size_t i = 2; i < count; ++i) {
        joined += command.words[i] + L",";
    }
    std::vector<SimStreamFormat> formats;
    for (const std::wstring& item : Split(joined == L"none," ? std::wstring() : joined, L",")) {
        const std::vector<std::wstring> fields = Split(item, L":");
        SimStreamFormat format;
        if (fields.size() != 3 || !Parse(fields[0], format.id) ||
            !Parse(fields[1], format.bitsPerSample) || !Parse(fields[2], format.channels) ||
            formats.size() == SimDevice::kMaxStreamFormats) {
            return Usage(command.words, L"formats in|out ID:BITS:CHANNELS,... (at most 32)");
        }
        formats.push_back(format);
    }
    device.Formats(isInput) = std::move(formats);
    m_driver.Notify(kSimCategoryStreamFormat);
    return {};
}

std::wstring SimCommandInterpreter::RunPropertyCommand(const Command& command)
{
    const std::wstring& verb = command.words[0];
    SimDevice& device = m_driver.m_device;
    const size_t count = command.words.size();
    if (verb == L"serial" || verb == L"manufacturer" || verb == L"product") {
        if (command.rest.size() > 127) {
            return Usage(command.words,
                         L"serial|manufacturer|product TEXT (at most 127 characters)");
        }
        (verb == L"serial"         ? device.serialNumber
         : verb == L"manufacturer" ? device.manufacturer
                                   : device.product) = command.rest;
        return {};
    }
    if (verb == L"driverinfo") {
        if (count != 5 || !Parse(command.words[1], device.driverMajor) ||
            !Parse(command.words[2], device.driverMinor) ||
            !Parse(command.words[3], device.driverSub) ||
            !Parse(command.words[4], device.driverFlags)) {
            return Usage(command.words, L"driverinfo MAJOR MINOR SUB FLAGS");
        }
        return {};
    }
    uint32_t& field = verb == L"vid"   ? device.vendorId
                      : verb == L"pid" ? device.productId
                                       : device.releaseNumber;
    if (count != 2 || !Parse(command.words[1], field)) {
        return Usage(command.words, L"vid|pid|release N");
    }
    return {};
}

std::wstring SimCommandInterpreter::RunInjectionCommand(const Command& command)
{
    const bool failure = command.words[0] == L"fail";
    const size_t count = command.words.size();
    uint32_t value = 0;
    uint32_t times = SimInjection::kAlways;
    if ((count != 3 && count != 4) || !Parse(command.words[2], value) ||
        (count == 4 && !Parse(command.words[3], times))) {
        return Usage(command.words,
                     failure ? L"fail ENTRY STATUS [COUNT]" : L"delay ENTRY MILLISECONDS [COUNT]");
    }
    const bool signals = !failure && command.words[1] == kSimSignalsDelay;
    if (!signals && !SimEntryNames::IsEntryName(command.words[1])) {
        return L"no entry point named '" + command.words[1] + L"'";
    }
    if (failure) {
        m_driver.m_injection.SetFailure(command.words[1], value, times);
    } else {
        m_driver.m_injection.SetDelay(command.words[1], value, times);
    }
    return {};
}

std::wstring SimCommandInterpreter::DescribeState() const
{
    using SimText::Format;
    const SimDevice& device = m_driver.m_device;
    std::wstring text =
        Format("api %u.%u\nusbmode %u\nplugged %d\n", m_driver.m_apiVersion >> 16,
               m_driver.m_apiVersion & 0xFFFF, device.usbMode, m_driver.m_plugged ? 1 : 0);
    for (const bool isInput : {true, false}) {
        const char* direction = isInput ? "in" : "out";
        const auto& channels = isInput ? device.inputs : device.outputs;
        for (uint32_t i = 0; i < SimDevice::kChannels; ++i) {
            const SimChannel& c = channels[i];
            text += Format("range %s %u %d %d %d\nvolume %s %u %d\nmute %s %u %u\n", direction, i,
                           c.minVolume, c.maxVolume, c.resolution, direction, i, c.volume,
                           direction, i, c.mute);
        }
    }
    text += Format("phantom %u\ninvert %u\ngain 1 %u\ngain 2 %u\n", device.phantomPower,
                   device.invert, device.mic1Gain, device.mic2Gain);
    for (int i = 0; i < 3; ++i) {
        text += Format("devtop %d %u\n", i, device.deviceVolume[i]);
    }
    for (int i = 0; i < 4; ++i) {
        text += Format("devvol %d %u\n", i, device.deviceVolume[3 + i]);
    }
    text += Format("lockout %u\n", device.deviceVolume[7]);
    const auto list = [](const std::vector<uint32_t>& values) {
        std::wstring joined;
        for (const uint32_t value : values) {
            joined += (joined.empty() ? L"" : L",") + std::to_wstring(value);
        }
        return joined.empty() ? std::wstring(L"none") : joined;
    };
    text += L"rates " + list(device.sampleRates) + Format("\nrate %u\n", device.sampleRate);
    for (const bool isInput : {true, false}) {
        const auto& formats = isInput ? device.inputFormats : device.outputFormats;
        std::wstring joined;
        for (const SimStreamFormat& f : formats) {
            joined += (joined.empty() ? L"" : L",") +
                      Format("%u:%u:%u", f.id, f.bitsPerSample, f.channels);
        }
        text += Format("formats %s ", isInput ? "in" : "out") +
                (joined.empty() ? L"none" : joined) + L"\n";
        text += Format("format %s %u\n", isInput ? "in" : "out",
                       isInput ? device.inputFormat : device.outputFormat);
    }
    text +=
        Format("asio reference %u\nasio active %u\nasio dsd %u\nasio options 0x%08X\n",
               device.asioReference, device.asioActive, device.asioMode & 1, device.asioOptions);
    text += L"asio sizes " + list(device.asioBufferSizes) + L"\n";
    if (device.asioSizeCount) {
        text += Format("asio count %u\n", *device.asioSizeCount);
    }
    text += Format("asio size %u\nasio latency %u %u\n", device.asioBufferSize,
                   device.asioInputLatency, device.asioOutputLatency);
    text += Format("vid 0x%04X\npid 0x%04X\nrelease 0x%04X\n", device.vendorId, device.productId,
                   device.releaseNumber);
    text += L"serial " + device.serialNumber + L"\nmanufacturer " + device.manufacturer +
            L"\nproduct " + device.product + L"\n";
    text += Format("driverinfo %u %u %u 0x%X\n", device.driverMajor, device.driverMinor,
                   device.driverSub, device.driverFlags);
    text += Format("records longer %u\n", m_driver.m_recordExtra);
    text += m_driver.m_injection.Describe();
    text += Format("# open handles %u\n", static_cast<unsigned>(m_driver.OpenHandleCount()));
    return text;
}
