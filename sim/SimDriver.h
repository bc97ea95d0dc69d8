#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "sim/SimDevice.h"
#include "sim/SimInjection.h"
#include "sim/SimMachineEvent.h"
#include "sim/SimOpenHandle.h"
#include "sim/SimSignals.h"

// The simulated driver: plug state, enumeration, open handles with their
// notification queues, and the API operations on the device model. Not
// thread-safe: the library serialises every call and control request.
// Window and event handles are opaque numbers here.
//
// One interface serves every process that uses it: the API version, the
// plug state, the device and the injected faults are the machine's (shared
// by the library), while handles, registrations, the journal and the pipe
// belong to this process. Changes that other processes must hear of are
// collected as machine events and replayed there with ApplyRemote.
class SimDriver {
public:
    static constexpr size_t kQueueLimit = 256;

    // Configuration and state the control channel may change directly.
    uint32_t m_apiVersion = 0x00050009;
    bool m_plugged = true;
    SimDevice m_device;
    SimInjection m_injection;
    std::wstring m_journalPath;
    // How many bytes longer than the program's layouts the driver's records
    // are (a later driver's): it writes them after each record it fills.
    uint32_t m_recordExtra = 0;
    std::wstring m_pipeName = L"\\\\.\\pipe\\KvUsbAudioSim";

    bool CheckApiVersion(uint32_t major, uint32_t minor) const;
    uint32_t RegisterPnp(uintptr_t arrivalEvent, uintptr_t removalEvent, uintptr_t window,
                         uint32_t message);
    void UnregisterPnp();
    uint32_t Enumerate();
    uint32_t DeviceCount() const { return m_enumerated; }
    uint32_t OpenByIndex(uint32_t index, uint32_t* handle);
    uint32_t Close(uint32_t handle);
    uint32_t GetProperties(uint32_t handle, uint8_t* record) const;
    uint32_t GetInstanceId(uint32_t handle, wchar_t* text, uint32_t capacity) const;
    uint32_t RegisterNotification(uint32_t handle, uint32_t categoryFilter, uintptr_t event);
    uint32_t ReadNotification(uint32_t handle, uint32_t* category, uint8_t* data, uint32_t size,
                              uint32_t* returned);
    uint32_t GetSampleRates(uint32_t handle, uint32_t capacity, uint32_t* rates,
                            uint32_t* count) const;
    uint32_t GetSampleRate(uint32_t handle, uint32_t* rate) const;
    uint32_t SetSampleRate(uint32_t handle, uint32_t rate);
    uint32_t GetFormats(uint32_t handle, uint32_t isInput, uint32_t capacity, uint8_t* records,
                        uint32_t* count);
    uint32_t GetCurrentFormat(uint32_t handle, uint32_t isInput, uint8_t* record);
    uint32_t SetCurrentFormat(uint32_t handle, uint32_t isInput, uint32_t id);
    uint32_t GetVolumeMuteInfo(uint32_t handle, uint32_t isInput, uint32_t channel,
                               uint8_t* record);
    uint32_t GetVolume(uint32_t handle, uint32_t isInput, uint32_t channel, int16_t* volume);
    uint32_t SetVolume(uint32_t handle, uint32_t isInput, uint32_t channel, int16_t volume);
    uint32_t GetMute(uint32_t handle, uint32_t isInput, uint32_t channel, uint32_t* mute);
    uint32_t SetMute(uint32_t handle, uint32_t isInput, uint32_t channel, uint32_t mute);
    uint32_t AudioControlSet(uint32_t handle, uint8_t entity, uint8_t request, uint8_t selector,
                             const uint8_t* parameters, uint32_t length, uint32_t* transferred);
    uint32_t AudioControlGet(uint32_t handle, uint8_t entity, uint8_t request, uint8_t selector,
                             uint8_t* buffer, uint32_t length, uint32_t* transferred) const;
    uint32_t GetDriverInfo(uint8_t* record) const;
    uint32_t GetAsioInstanceCount(uint32_t* count) const;
    uint32_t GetAsioInfo(uint32_t instance, uint8_t* record) const;
    uint32_t SetAsioBufferSize(uint32_t instance, uint32_t reference, uint32_t size,
                               uint32_t options);
    uint32_t GetUsbMode(uint32_t handle, uint32_t* mode) const;

    // Changes made on the device itself; they notify like changes through the API.
    void Plug();
    void Unplug();
    void ChangeVolume(bool isInput, uint32_t channel, int16_t volume);
    void ChangeMute(bool isInput, uint32_t channel, uint32_t mute);
    void ChangeAudioControl(uint8_t selector);
    void Notify(uint32_t category, std::vector<uint8_t> data = {});

    // The machine events since the last call.
    std::vector<SimMachineEvent> TakeMachineEvents();
    // An event of another process: notifies this process's handles, or
    // posts plug and play (the plug state itself is already the machine's).
    void ApplyRemote(const SimMachineEvent& event);

    size_t OpenHandleCount() const { return m_handles.size(); }
    // The events to set and messages to post since the last call.
    SimSignals TakeSignals();

private:
    bool IsOpen(uint32_t handle) const { return m_handles.count(handle) != 0; }
    // Writes record `index` of what the caller is handed, at the driver's
    // own record length.
    template <typename Record>
    void StoreRecord(uint8_t* destination, const Record& record, size_t index = 0) const;
    void Post(uintptr_t wParam, uintptr_t event);
    void Queue(uint32_t category, const std::vector<uint8_t>& data);

    uint32_t m_enumerated = 0;
    uint32_t m_nextHandle = 1;
    std::map<uint32_t, SimOpenHandle> m_handles;
    uintptr_t m_pnpWindow = 0;
    uint32_t m_pnpMessage = 0;
    uintptr_t m_pnpArrivalEvent = 0;
    uintptr_t m_pnpRemovalEvent = 0;
    SimSignals m_pending;
    std::vector<SimMachineEvent> m_machineEvents;
};
