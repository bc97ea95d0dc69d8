#include "sim/SimDriver.h"

#include <algorithm>
#include <cstring>

#include "sim/SimBytes.h"
#include "sim/SimNotification.h"
#include "sim/SimStatus.h"
#include "sim/SimText.h"

namespace {

constexpr uint8_t kEntity = 10;
constexpr uint8_t kRequestCurrent = 1;
constexpr uint8_t kSelectorPhantom = 16;
constexpr uint8_t kSelectorInvert = 17;
constexpr uint8_t kSelectorGain = 19;
constexpr uint8_t kSelectorDeviceVolume = 20;

std::vector<uint8_t> ChannelData(bool isInput, uint32_t channel)
{
    std::vector<uint8_t> data(8);
    SimBytes::PutU32(data.data(), 0, isInput ? 1 : 0);
    SimBytes::PutU32(data.data(), 4, channel);
    return data;
}

bool Passes(uint32_t categoryFilter, uint32_t category)
{
    return category < 32 ? ((categoryFilter >> category) & 1) != 0 : categoryFilter == 0xFFFFFFFF;
}

// What a longer record holds past the program's layout.
constexpr uint8_t kExtraRecordByte = 0xA5;

} // namespace

template <typename Record>
void SimDriver::StoreRecord(uint8_t* destination, const Record& record, size_t index) const
{
    uint8_t* const at = destination + index * (sizeof(Record) + m_recordExtra);
    SimBytes::Store(at, record);
    std::memset(at + sizeof(Record), kExtraRecordByte, m_recordExtra);
}

bool SimDriver::CheckApiVersion(uint32_t major, uint32_t /*minor*/) const
{
    // A library accepts every caller written for its own major version.
    return (m_apiVersion >> 16) == major;
}

uint32_t SimDriver::RegisterPnp(uintptr_t arrivalEvent, uintptr_t removalEvent, uintptr_t window,
                                uint32_t message)
{
    m_pnpArrivalEvent = arrivalEvent;
    m_pnpRemovalEvent = removalEvent;
    m_pnpWindow = window;
    m_pnpMessage = message;
    return 0;
}

void SimDriver::UnregisterPnp()
{
    RegisterPnp(0, 0, 0, 0);
}

uint32_t SimDriver::Enumerate()
{
    m_enumerated = m_plugged ? 1 : 0;
    return 0;
}

uint32_t SimDriver::OpenByIndex(uint32_t index, uint32_t* handle)
{
    if (handle == nullptr || index >= m_enumerated) {
        return kSimInvalidParameter;
    }
    if (!m_plugged) {
        return kSimNoDevice;
    }
    *handle = m_nextHandle++;
    m_handles[*handle] = SimOpenHandle{};
    return 0;
}

uint32_t SimDriver::Close(uint32_t handle)
{
    return m_handles.erase(handle) != 0 ? 0 : kSimInvalidHandle;
}

uint32_t SimDriver::GetProperties(uint32_t handle, uint8_t* record) const
{
    if (!IsOpen(handle)) {
        return kSimInvalidHandle;
    }
    if (record == nullptr) {
        return kSimInvalidParameter;
    }
    StoreRecord(record, m_device.PropertiesRecord());
    return 0;
}

uint32_t SimDriver::GetInstanceId(uint32_t handle, wchar_t* text, uint32_t capacity) const
{
    if (!IsOpen(handle)) {
        return kSimInvalidHandle;
    }
    const std::wstring id =
        SimText::Format("USB\\VID_%04X&PID_%04X\\", m_device.vendorId, m_device.productId) +
        m_device.serialNumber;
    return SimBytes::CopyText(id, text, capacity) ? 0 : kSimBufferTooSmall;
}

uint32_t SimDriver::RegisterNotification(uint32_t handle, uint32_t categoryFilter, uintptr_t event)
{
    const auto found = m_handles.find(handle);
    if (found == m_handles.end()) {
        return kSimInvalidHandle;
    }
    SimOpenHandle& open = found->second;
    open.categoryFilter = categoryFilter;
    open.event = categoryFilter != 0 ? event : 0;
    if (categoryFilter == 0) {
        open.queue.clear();
    }
    return 0;
}

uint32_t SimDriver::ReadNotification(uint32_t handle, uint32_t* category, uint8_t* data,
                                     uint32_t size, uint32_t* returned)
{
    const auto found = m_handles.find(handle);
    if (found == m_handles.end()) {
        return kSimInvalidHandle;
    }
    if (category == nullptr || (data == nullptr && size != 0)) {
        return kSimInvalidParameter;
    }
    std::deque<SimNotification>& queue = found->second.queue;
    if (queue.empty()) {
        return kSimNoMoreItems;
    }
    const SimNotification notification = std::move(queue.front());
    queue.pop_front();
    *category = notification.category;
    const uint32_t copied =
        std::min<uint32_t>(size, static_cast<uint32_t>(notification.data.size()));
    if (copied != 0) {
        std::memcpy(data, notification.data.data(), copied);
    }
    if (returned != nullptr) {
        *returned = copied;
    }
    return 0;
}

uint32_t SimDriver::GetSampleRates(uint32_t handle, uint32_t capacity, uint32_t* rates,
                                   uint32_t* count) const
{
    if (!IsOpen(handle)) {
        return kSimInvalidHandle;
    }
    if (count == nullptr) {
        return kSimInvalidParameter;
    }
    const uint32_t total = static_cast<uint32_t>(m_device.sampleRates.size());
    *count = total;
    if (capacity < total) {
        return kSimBufferTooSmall;
    }
    if (rates == nullptr && total != 0) {
        return kSimInvalidParameter;
    }
    std::copy(m_device.sampleRates.begin(), m_device.sampleRates.end(), rates);
    return 0;
}

uint32_t SimDriver::GetSampleRate(uint32_t handle, uint32_t* rate) const
{
    if (!IsOpen(handle)) {
        return kSimInvalidHandle;
    }
    if (rate == nullptr) {
        return kSimInvalidParameter;
    }
    *rate = m_device.sampleRate;
    return 0;
}

uint32_t SimDriver::SetSampleRate(uint32_t handle, uint32_t rate)
{
    if (!IsOpen(handle)) {
        return kSimInvalidHandle;
    }
    const auto& rates = m_device.sampleRates;
    if (std::find(rates.begin(), rates.end(), rate) == rates.end()) {
        return kSimInvalidParameter;
    }
    m_device.sampleRate = rate;
    Notify(kSimCategorySampleRate);
    return 0;
}

uint32_t SimDriver::GetFormats(uint32_t handle, uint32_t isInput, uint32_t capacity,
                               uint8_t* records, uint32_t* count)
{
    if (!IsOpen(handle)) {
        return kSimInvalidHandle;
    }
    if (count == nullptr) {
        return kSimInvalidParameter;
    }
    const std::vector<SimStreamFormat>& formats = m_device.Formats(isInput != 0);
    *count = static_cast<uint32_t>(formats.size());
    if (capacity < formats.size()) {
        return kSimBufferTooSmall;
    }
    if (records == nullptr && !formats.empty()) {
        return kSimInvalidParameter;
    }
    for (size_t i = 0; i < formats.size(); ++i) {
        StoreRecord(records, SimDevice::FormatRecord(formats[i]), i);
    }
    return 0;
}

uint32_t SimDriver::GetCurrentFormat(uint32_t handle, uint32_t isInput, uint8_t* record)
{
    if (!IsOpen(handle)) {
        return kSimInvalidHandle;
    }
    if (record == nullptr) {
        return kSimInvalidParameter;
    }
    const uint32_t id = m_device.CurrentFormat(isInput != 0);
    const std::vector<SimStreamFormat>& formats = m_device.Formats(isInput != 0);
    const auto found = std::find_if(formats.begin(), formats.end(),
                                    [id](const SimStreamFormat& f) { return f.id == id; });
    StoreRecord(record, SimDevice::FormatRecord(
                            found != formats.end() ? *found : SimStreamFormat{id, 0, 0}));
    return 0;
}

uint32_t SimDriver::SetCurrentFormat(uint32_t handle, uint32_t isInput, uint32_t id)
{
    if (!IsOpen(handle)) {
        return kSimInvalidHandle;
    }
    const std::vector<SimStreamFormat>& formats = m_device.Formats(isInput != 0);
    if (std::none_of(formats.begin(), formats.end(),
                     [id](const SimStreamFormat& f) { return f.id == id; })) {
        return kSimInvalidParameter;
    }
    m_device.CurrentFormat(isInput != 0) = id;
    Notify(kSimCategoryStreamFormat);
    return 0;
}

uint32_t SimDriver::GetVolumeMuteInfo(uint32_t handle, uint32_t isInput, uint32_t channel,
                                      uint8_t* record)
{
    if (!IsOpen(handle)) {
        return kSimInvalidHandle;
    }
    if (channel >= SimDevice::kChannels || record == nullptr) {
        return kSimInvalidParameter;
    }
    StoreRecord(record, SimDevice::VolumeMuteRecord(m_device.Channels(isInput != 0)[channel]));
    return 0;
}

uint32_t SimDriver::GetVolume(uint32_t handle, uint32_t isInput, uint32_t channel, int16_t* volume)
{
    if (!IsOpen(handle)) {
        return kSimInvalidHandle;
    }
    if (channel >= SimDevice::kChannels || volume == nullptr) {
        return kSimInvalidParameter;
    }
    *volume = m_device.Channels(isInput != 0)[channel].volume;
    return 0;
}

uint32_t SimDriver::SetVolume(uint32_t handle, uint32_t isInput, uint32_t channel, int16_t volume)
{
    if (!IsOpen(handle)) {
        return kSimInvalidHandle;
    }
    if (channel >= SimDevice::kChannels) {
        return kSimInvalidParameter;
    }
    ChangeVolume(isInput != 0, channel, volume);
    return 0;
}

uint32_t SimDriver::GetMute(uint32_t handle, uint32_t isInput, uint32_t channel, uint32_t* mute)
{
    if (!IsOpen(handle)) {
        return kSimInvalidHandle;
    }
    if (channel >= SimDevice::kChannels || mute == nullptr) {
        return kSimInvalidParameter;
    }
    *mute = m_device.Channels(isInput != 0)[channel].mute;
    return 0;
}

uint32_t SimDriver::SetMute(uint32_t handle, uint32_t isInput, uint32_t channel, uint32_t mute)
{
    if (!IsOpen(handle)) {
        return kSimInvalidHandle;
    }
    if (channel >= SimDevice::kChannels) {
        return kSimInvalidParameter;
    }
    ChangeMute(isInput != 0, channel, mute);
    return 0;
}

uint32_t SimDriver::AudioControlSet(uint32_t handle, uint8_t entity, uint8_t request,
                                    uint8_t selector, const uint8_t* parameters, uint32_t length,
                                    uint32_t* transferred)
{
    if (!IsOpen(handle)) {
        return kSimInvalidHandle;
    }
    if (entity != kEntity || request != kRequestCurrent) {
        return kSimNotSupported;
    }
    uint32_t expected = 0;
    switch (selector) {
    case kSelectorPhantom:
        expected = 1;
        break;
    case kSelectorInvert:
    case kSelectorGain:
    case kSelectorDeviceVolume:
        expected = 2;
        break;
    default:
        return kSimNotSupported;
    }
    if (parameters == nullptr || length != expected) {
        return kSimInvalidParameter;
    }
    switch (selector) {
    case kSelectorPhantom:
        m_device.phantomPower = parameters[0] != 0 ? 1 : 0;
        break;
    case kSelectorInvert:
        m_device.invert = parameters[0] != 0 ? 1 : 0;
        break;
    case kSelectorGain:
        if ((parameters[0] != 1 && parameters[0] != 2) || parameters[1] > 15) {
            return kSimInvalidParameter;
        }
        (parameters[0] == 1 ? m_device.mic1Gain : m_device.mic2Gain) = parameters[1];
        break;
    default: // device volume: fader index, then the level, held to the fader's scale
        if (parameters[0] > 3) {
            return kSimInvalidParameter;
        }
        m_device.deviceVolume[3 + parameters[0]] =
            std::min(parameters[1], m_device.DeviceVolumeTop(parameters[0]));
        break;
    }
    if (transferred != nullptr) {
        *transferred = length;
    }
    ChangeAudioControl(selector);
    return 0;
}

uint32_t SimDriver::AudioControlGet(uint32_t handle, uint8_t entity, uint8_t request,
                                    uint8_t selector, uint8_t* buffer, uint32_t length,
                                    uint32_t* transferred) const
{
    if (!IsOpen(handle)) {
        return kSimInvalidHandle;
    }
    if (entity != kEntity || request != kRequestCurrent) {
        return kSimNotSupported;
    }
    uint8_t value[8] = {};
    uint32_t size = 1;
    switch (selector) {
    case kSelectorPhantom:
        value[0] = m_device.phantomPower;
        break;
    case kSelectorInvert:
        value[0] = m_device.invert;
        break;
    case kSelectorGain:
        value[0] = static_cast<uint8_t>((m_device.mic1Gain << 4) | (m_device.mic2Gain & 0x0F));
        break;
    case kSelectorDeviceVolume:
        std::copy(m_device.deviceVolume.begin(), m_device.deviceVolume.end(), value);
        size = 8;
        break;
    default:
        return kSimNotSupported;
    }
    if (buffer == nullptr) {
        return kSimInvalidParameter;
    }
    if (length < size) {
        return kSimBufferTooSmall;
    }
    std::memcpy(buffer, value, size);
    if (transferred != nullptr) {
        *transferred = size;
    }
    return 0;
}

uint32_t SimDriver::GetDriverInfo(uint8_t* record) const
{
    if (record == nullptr) {
        return kSimInvalidParameter;
    }
    StoreRecord(record, m_device.DriverRecord(m_apiVersion));
    return 0;
}

uint32_t SimDriver::GetAsioInstanceCount(uint32_t* count) const
{
    if (count == nullptr) {
        return kSimInvalidParameter;
    }
    *count = m_plugged ? 1 : 0;
    return 0;
}

uint32_t SimDriver::GetAsioInfo(uint32_t instance, uint8_t* record) const
{
    if (record == nullptr || instance != 0) {
        return kSimInvalidParameter;
    }
    if (!m_plugged) {
        return kSimNoDevice;
    }
    StoreRecord(record, m_device.AsioRecord());
    return 0;
}

uint32_t SimDriver::SetAsioBufferSize(uint32_t instance, uint32_t reference, uint32_t size,
                                      uint32_t options)
{
    if (!m_plugged) {
        return kSimNoDevice;
    }
    const auto& sizes = m_device.asioBufferSizes;
    if (instance != 0 || reference != m_device.asioReference ||
        std::find(sizes.begin(), sizes.end(), size) == sizes.end()) {
        return kSimInvalidParameter;
    }
    // The latencies keep their distance to the buffer size.
    m_device.asioInputLatency =
        SimDevice::ShiftedLatency(m_device.asioInputLatency, m_device.asioBufferSize, size);
    m_device.asioOutputLatency =
        SimDevice::ShiftedLatency(m_device.asioOutputLatency, m_device.asioBufferSize, size);
    m_device.asioBufferSize = size;
    m_device.asioOptions = options;
    Notify(kSimCategoryAsio);
    return 0;
}

uint32_t SimDriver::GetUsbMode(uint32_t handle, uint32_t* mode) const
{
    if (!IsOpen(handle)) {
        return kSimInvalidHandle;
    }
    if (mode == nullptr) {
        return kSimInvalidParameter;
    }
    *mode = m_device.usbMode;
    return 0;
}

void SimDriver::Plug()
{
    if (!m_plugged) {
        m_plugged = true;
        Post(1, m_pnpArrivalEvent);
        m_machineEvents.push_back({SimMachineEvent::Kind::kPlug, 0, {}});
    }
}

void SimDriver::Unplug()
{
    if (m_plugged) {
        m_plugged = false;
        m_handles.clear(); // every handle of the device is gone with it
        Post(2, m_pnpRemovalEvent);
        m_machineEvents.push_back({SimMachineEvent::Kind::kUnplug, 0, {}});
    }
}

void SimDriver::ChangeVolume(bool isInput, uint32_t channel, int16_t volume)
{
    SimChannel& target = m_device.Channels(isInput)[channel];
    target.volume = std::max(target.minVolume, std::min(volume, target.maxVolume));
    Notify(kSimCategoryVolume, ChannelData(isInput, channel));
}

void SimDriver::ChangeMute(bool isInput, uint32_t channel, uint32_t mute)
{
    m_device.Channels(isInput)[channel].mute = mute != 0 ? 1 : 0;
    Notify(kSimCategoryMute, ChannelData(isInput, channel));
}

void SimDriver::ChangeAudioControl(uint8_t selector)
{
    Notify(kSimCategoryAudioControl, {kEntity, selector});
}

void SimDriver::Notify(uint32_t category, std::vector<uint8_t> data)
{
    Queue(category, data);
    if (data.size() > SimMachineEvent::kMaxData) {
        data.resize(SimMachineEvent::kMaxData);
    }
    m_machineEvents.push_back({SimMachineEvent::Kind::kNotify, category, std::move(data)});
}

std::vector<SimMachineEvent> SimDriver::TakeMachineEvents()
{
    std::vector<SimMachineEvent> taken;
    std::swap(taken, m_machineEvents);
    return taken;
}

void SimDriver::ApplyRemote(const SimMachineEvent& event)
{
    switch (event.kind) {
    case SimMachineEvent::Kind::kNotify:
        Queue(event.category, event.data);
        break;
    case SimMachineEvent::Kind::kPlug:
        Post(1, m_pnpArrivalEvent);
        break;
    case SimMachineEvent::Kind::kUnplug:
        m_handles.clear();
        Post(2, m_pnpRemovalEvent);
        break;
    }
}

void SimDriver::Queue(uint32_t category, const std::vector<uint8_t>& data)
{
    for (auto& [handle, open] : m_handles) {
        if (!Passes(open.categoryFilter, category)) {
            continue;
        }
        if (open.queue.size() >= kQueueLimit) {
            open.queue.pop_front(); // the oldest change is the least useful to a reader
        }
        open.queue.push_back(SimNotification{category, data});
        if (open.event != 0 && std::find(m_pending.events.begin(), m_pending.events.end(),
                                         open.event) == m_pending.events.end()) {
            m_pending.events.push_back(open.event);
        }
    }
}

SimSignals SimDriver::TakeSignals()
{
    SimSignals taken;
    std::swap(taken, m_pending);
    return taken;
}

void SimDriver::Post(uintptr_t wParam, uintptr_t event)
{
    if (m_pnpWindow != 0) {
        m_pending.posts.push_back(SimPost{m_pnpWindow, m_pnpMessage, wParam});
    }
    if (event != 0) {
        m_pending.events.push_back(event);
    }
}
