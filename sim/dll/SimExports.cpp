// The 75 entry points of the simulated driver library. Entry points the
// control panel never calls answer kSimNotSupported without touching their
// arguments; every call is journaled.
#include <windows.h>

#include <type_traits>

#include "device/TUsbAudioEntryTable.h"
#include "sim/SimDevice.h"
#include "sim/SimDriver.h"
#include "sim/SimStatus.h"
#include "sim/dll/SimCall.h"

namespace {

using Hex = SimCall::Hex;
using Bytes = SimCall::Bytes;

uint8_t* Record(void* record)
{
    return static_cast<uint8_t*>(record);
}

template <typename... T>
uint32_t NotSupported(const wchar_t* entry, const T&... arguments)
{
    SimCall call(entry);
    call.Args(arguments...);
    return call.Finish(kSimNotSupported);
}

} // namespace

extern "C" {

uint32_t WINAPI TUSBAUDIO_GetApiVersion()
{
    SimCall call(L"TUSBAUDIO_GetApiVersion");
    return call.Finish(call.Driver().m_apiVersion);
}

uint32_t WINAPI TUSBAUDIO_CheckApiVersion(uint32_t major, uint32_t minor)
{
    SimCall call(L"TUSBAUDIO_CheckApiVersion");
    call.Args(major, minor);
    return call.Finish(call.Driver().CheckApiVersion(major, minor) ? 1 : 0);
}

uint32_t WINAPI TUSBAUDIO_RegisterPnpNotification(HANDLE arrivalEvent, HANDLE removalEvent,
                                                  HWND window, uint32_t message, uint32_t flags)
{
    SimCall call(L"TUSBAUDIO_RegisterPnpNotification");
    call.Args(static_cast<const void*>(arrivalEvent), static_cast<const void*>(removalEvent),
              window, Hex{message}, flags);
    if (call.Injected()) {
        return call.Finish(0);
    }
    return call.Finish(call.Driver().RegisterPnp(reinterpret_cast<uintptr_t>(arrivalEvent),
                                                 reinterpret_cast<uintptr_t>(removalEvent),
                                                 reinterpret_cast<uintptr_t>(window), message));
}

uint32_t WINAPI TUSBAUDIO_UnregisterPnpNotification()
{
    SimCall call(L"TUSBAUDIO_UnregisterPnpNotification");
    if (!call.Injected()) {
        call.Driver().UnregisterPnp();
    }
    return call.Finish(0);
}

uint32_t WINAPI TUSBAUDIO_EnumerateDevices()
{
    SimCall call(L"TUSBAUDIO_EnumerateDevices");
    return call.Finish(call.Injected() ? 0 : call.Driver().Enumerate());
}

uint32_t WINAPI TUSBAUDIO_GetDeviceCount()
{
    SimCall call(L"TUSBAUDIO_GetDeviceCount");
    return call.Finish(call.Driver().DeviceCount());
}

uint32_t WINAPI TUSBAUDIO_OpenDeviceByIndex(uint32_t index, uint32_t* handle)
{
    SimCall call(L"TUSBAUDIO_OpenDeviceByIndex");
    call.Args(index, static_cast<const void*>(handle));
    if (call.Injected()) {
        return call.Finish(0);
    }
    const uint32_t status = call.Driver().OpenByIndex(index, handle);
    if (status == 0) {
        call.Out(L"handle", *handle);
    }
    return call.Finish(status);
}

uint32_t WINAPI TUSBAUDIO_OpenDeviceByChannelIdString(const wchar_t* channelId, uint32_t* handle)
{
    return NotSupported(L"TUSBAUDIO_OpenDeviceByChannelIdString", channelId,
                        static_cast<const void*>(handle));
}

uint32_t WINAPI TUSBAUDIO_CloseDevice(uint32_t handle)
{
    SimCall call(L"TUSBAUDIO_CloseDevice");
    call.Args(handle);
    return call.Finish(call.Injected() ? 0 : call.Driver().Close(handle));
}

uint32_t WINAPI TUSBAUDIO_GetDeviceProperties(uint32_t handle, DeviceProperties* properties)
{
    SimCall call(L"TUSBAUDIO_GetDeviceProperties");
    call.Args(handle, static_cast<const void*>(properties));
    return call.Finish(call.Injected() ? 0
                                       : call.Driver().GetProperties(handle, Record(properties)));
}

uint32_t WINAPI TUSBAUDIO_GetDeviceInstanceIdString(uint32_t handle, wchar_t* text,
                                                    uint32_t capacity)
{
    SimCall call(L"TUSBAUDIO_GetDeviceInstanceIdString");
    call.Args(handle, text, capacity);
    return call.Finish(call.Injected() ? 0 : call.Driver().GetInstanceId(handle, text, capacity));
}

uint32_t WINAPI TUSBAUDIO_GetDeviceContainerIdString(uint32_t handle, wchar_t* text,
                                                     uint32_t capacity)
{
    return NotSupported(L"TUSBAUDIO_GetDeviceContainerIdString", handle, text, capacity);
}

uint32_t WINAPI TUSBAUDIO_GetChannelIndexForChannelIdString(uint32_t handle,
                                                            const wchar_t* channelId,
                                                            uint32_t* index)
{
    return NotSupported(L"TUSBAUDIO_GetChannelIndexForChannelIdString", handle, channelId,
                        static_cast<const void*>(index));
}

uint32_t WINAPI TUSBAUDIO_GetChannelIdString(uint32_t handle, uint32_t index, wchar_t* text,
                                             uint32_t capacity)
{
    return NotSupported(L"TUSBAUDIO_GetChannelIdString", handle, index, text, capacity);
}

uint32_t WINAPI TUSBAUDIO_RegisterDeviceNotification(uint32_t handle, uint32_t categoryFilter,
                                                     HANDLE event, uint32_t flags)
{
    SimCall call(L"TUSBAUDIO_RegisterDeviceNotification");
    call.Args(handle, Hex{categoryFilter}, static_cast<const void*>(event), flags);
    if (call.Injected()) {
        return call.Finish(0);
    }
    return call.Finish(call.Driver().RegisterNotification(handle, categoryFilter,
                                                          reinterpret_cast<uintptr_t>(event)));
}

uint32_t WINAPI TUSBAUDIO_ReadDeviceNotification(uint32_t handle, uint32_t* category, void* data,
                                                 uint32_t dataSize, uint32_t* bytesReturned)
{
    SimCall call(L"TUSBAUDIO_ReadDeviceNotification");
    call.Args(handle, static_cast<const void*>(category), static_cast<const void*>(data), dataSize,
              static_cast<const void*>(bytesReturned));
    if (call.Injected()) {
        return call.Finish(0);
    }
    const uint32_t status =
        call.Driver().ReadNotification(handle, category, Record(data), dataSize, bytesReturned);
    if (status == 0) {
        call.Out(L"category", *category);
    }
    return call.Finish(status);
}

uint32_t WINAPI TUSBAUDIO_GetSupportedSampleRates(uint32_t handle, uint32_t capacity,
                                                  uint32_t* rates, uint32_t* count)
{
    SimCall call(L"TUSBAUDIO_GetSupportedSampleRates");
    call.Args(handle, capacity, static_cast<const void*>(rates), static_cast<const void*>(count));
    return call.Finish(
        call.Injected() ? 0 : call.Driver().GetSampleRates(handle, capacity, rates, count));
}

uint32_t WINAPI TUSBAUDIO_GetCurrentSampleRate(uint32_t handle, uint32_t* rate)
{
    SimCall call(L"TUSBAUDIO_GetCurrentSampleRate");
    call.Args(handle, static_cast<const void*>(rate));
    return call.Finish(call.Injected() ? 0 : call.Driver().GetSampleRate(handle, rate));
}

uint32_t WINAPI TUSBAUDIO_SetSampleRate(uint32_t handle, uint32_t rate)
{
    SimCall call(L"TUSBAUDIO_SetSampleRate");
    call.Args(handle, rate);
    return call.Finish(call.Injected() ? 0 : call.Driver().SetSampleRate(handle, rate));
}

uint32_t WINAPI TUSBAUDIO_GetSupportedClockSources(uint32_t handle, uint32_t capacity,
                                                   void* sources, uint32_t* count)
{
    return NotSupported(L"TUSBAUDIO_GetSupportedClockSources", handle, capacity,
                        static_cast<const void*>(sources), static_cast<const void*>(count));
}

uint32_t WINAPI TUSBAUDIO_GetClockSourceStatus(uint32_t handle, uint32_t sourceId, uint32_t* status)
{
    return NotSupported(L"TUSBAUDIO_GetClockSourceStatus", handle, sourceId,
                        static_cast<const void*>(status));
}

uint32_t WINAPI TUSBAUDIO_GetCurrentClockSource(uint32_t handle, void* source)
{
    return NotSupported(L"TUSBAUDIO_GetCurrentClockSource", handle,
                        static_cast<const void*>(source));
}

uint32_t WINAPI TUSBAUDIO_SetCurrentClockSource(uint32_t handle, uint32_t sourceId)
{
    return NotSupported(L"TUSBAUDIO_SetCurrentClockSource", handle, sourceId);
}

uint32_t WINAPI TUSBAUDIO_GetSupportedStreamFormats(uint32_t handle, uint32_t isInput,
                                                    uint32_t capacity, StreamFormatRecord* formats,
                                                    uint32_t* count)
{
    SimCall call(L"TUSBAUDIO_GetSupportedStreamFormats");
    call.Args(handle, isInput, capacity, static_cast<const void*>(formats),
              static_cast<const void*>(count));
    if (call.Injected()) {
        return call.Finish(0);
    }
    const uint32_t status =
        call.Driver().GetFormats(handle, isInput, capacity, Record(formats), count);
    if (status == 0) {
        call.Out(L"count", *count);
    }
    return call.Finish(status);
}

uint32_t WINAPI TUSBAUDIO_GetCurrentStreamFormat(uint32_t handle, uint32_t isInput,
                                                 StreamFormatRecord* format)
{
    SimCall call(L"TUSBAUDIO_GetCurrentStreamFormat");
    call.Args(handle, isInput, static_cast<const void*>(format));
    return call.Finish(
        call.Injected() ? 0 : call.Driver().GetCurrentFormat(handle, isInput, Record(format)));
}

uint32_t WINAPI TUSBAUDIO_SetCurrentStreamFormat(uint32_t handle, uint32_t isInput,
                                                 uint32_t formatId)
{
    SimCall call(L"TUSBAUDIO_SetCurrentStreamFormat");
    call.Args(handle, isInput, formatId);
    return call.Finish(call.Injected() ? 0
                                       : call.Driver().SetCurrentFormat(handle, isInput, formatId));
}

uint32_t WINAPI TUSBAUDIO_GetStreamFormatSelectionMode(uint32_t handle, uint32_t* mode)
{
    return NotSupported(L"TUSBAUDIO_GetStreamFormatSelectionMode", handle,
                        static_cast<const void*>(mode));
}

uint32_t WINAPI TUSBAUDIO_SetSoundDeviceProfile(uint32_t handle, uint32_t profileId)
{
    return NotSupported(L"TUSBAUDIO_SetSoundDeviceProfile", handle, profileId);
}

uint32_t WINAPI TUSBAUDIO_GetControlPanelOptions(uint32_t handle, void* options)
{
    return NotSupported(L"TUSBAUDIO_GetControlPanelOptions", handle,
                        static_cast<const void*>(options));
}

uint32_t WINAPI TUSBAUDIO_GetChannelProperties(uint32_t handle, uint32_t isInput, uint32_t capacity,
                                               void* properties, uint32_t* count)
{
    return NotSupported(L"TUSBAUDIO_GetChannelProperties", handle, isInput, capacity,
                        static_cast<const void*>(properties), static_cast<const void*>(count));
}

uint32_t WINAPI TUSBAUDIO_GetChannelInfo(uint32_t handle, uint32_t isInput, uint32_t capacity,
                                         void* info, uint32_t* count)
{
    return NotSupported(L"TUSBAUDIO_GetChannelInfo", handle, isInput, capacity,
                        static_cast<const void*>(info), static_cast<const void*>(count));
}

uint32_t WINAPI TUSBAUDIO_GetVolumeMuteInfo(uint32_t handle, uint32_t isInput, uint32_t channel,
                                            VolumeMuteInfo* info)
{
    SimCall call(L"TUSBAUDIO_GetVolumeMuteInfo");
    call.Args(handle, isInput, channel, static_cast<const void*>(info));
    return call.Finish(call.Injected()
                           ? 0
                           : call.Driver().GetVolumeMuteInfo(handle, isInput, channel,
                                                             reinterpret_cast<uint8_t*>(info)));
}

uint32_t WINAPI TUSBAUDIO_GetVolume(uint32_t handle, uint32_t isInput, uint32_t channel,
                                    int16_t* volume)
{
    SimCall call(L"TUSBAUDIO_GetVolume");
    call.Args(handle, isInput, channel, static_cast<const void*>(volume));
    if (call.Injected()) {
        return call.Finish(0);
    }
    const uint32_t status = call.Driver().GetVolume(handle, isInput, channel, volume);
    if (status == 0) {
        call.Out(L"volume", *volume);
    }
    return call.Finish(status);
}

uint32_t WINAPI TUSBAUDIO_SetVolume(uint32_t handle, uint32_t isInput, uint32_t channel,
                                    int16_t volume)
{
    SimCall call(L"TUSBAUDIO_SetVolume");
    call.Args(handle, isInput, channel, volume);
    return call.Finish(call.Injected() ? 0
                                       : call.Driver().SetVolume(handle, isInput, channel, volume));
}

uint32_t WINAPI TUSBAUDIO_GetMute(uint32_t handle, uint32_t isInput, uint32_t channel,
                                  uint32_t* mute)
{
    SimCall call(L"TUSBAUDIO_GetMute");
    call.Args(handle, isInput, channel, static_cast<const void*>(mute));
    if (call.Injected()) {
        return call.Finish(0);
    }
    const uint32_t status = call.Driver().GetMute(handle, isInput, channel, mute);
    if (status == 0) {
        call.Out(L"mute", *mute);
    }
    return call.Finish(status);
}

uint32_t WINAPI TUSBAUDIO_SetMute(uint32_t handle, uint32_t isInput, uint32_t channel,
                                  uint32_t mute)
{
    SimCall call(L"TUSBAUDIO_SetMute");
    call.Args(handle, isInput, channel, mute);
    return call.Finish(call.Injected() ? 0 : call.Driver().SetMute(handle, isInput, channel, mute));
}

uint32_t WINAPI TUSBAUDIO_GetUsbConfigDescriptor(uint32_t handle, void* buffer, uint32_t bufferSize,
                                                 uint32_t* bytesReturned)
{
    return NotSupported(L"TUSBAUDIO_GetUsbConfigDescriptor", handle,
                        static_cast<const void*>(buffer), bufferSize,
                        static_cast<const void*>(bytesReturned));
}

uint32_t WINAPI TUSBAUDIO_GetUsbStringDescriptorString(uint32_t handle, uint8_t index,
                                                       uint16_t languageId, wchar_t* text,
                                                       uint32_t capacity)
{
    return NotSupported(L"TUSBAUDIO_GetUsbStringDescriptorString", handle, index, languageId, text,
                        capacity);
}

uint32_t WINAPI TUSBAUDIO_AudioControlRequestSet(uint32_t handle, uint8_t entityId, uint8_t request,
                                                 uint8_t selector, uint8_t channel,
                                                 const void* parameters, uint32_t length,
                                                 uint32_t* transferred, uint32_t timeoutMs)
{
    SimCall call(L"TUSBAUDIO_AudioControlRequestSet");
    // Lengths beyond a small block are shown as a pointer only.
    call.Args(handle, entityId, request, selector, channel,
              length <= 64 ? Bytes{parameters, length} : Bytes{parameters, 0}, length,
              static_cast<const void*>(transferred), timeoutMs);
    if (call.Injected()) {
        return call.Finish(0);
    }
    (void)channel;
    return call.Finish(call.Driver().AudioControlSet(handle, entityId, request, selector,
                                                     static_cast<const uint8_t*>(parameters),
                                                     length, transferred));
}

uint32_t WINAPI TUSBAUDIO_AudioControlRequestGet(uint32_t handle, uint8_t entityId, uint8_t request,
                                                 uint8_t selector, uint8_t channel, void* buffer,
                                                 uint32_t length, uint32_t* transferred,
                                                 uint32_t timeoutMs)
{
    SimCall call(L"TUSBAUDIO_AudioControlRequestGet");
    call.Args(handle, entityId, request, selector, channel, static_cast<const void*>(buffer),
              length, static_cast<const void*>(transferred), timeoutMs);
    if (call.Injected()) {
        return call.Finish(0);
    }
    uint32_t size = 0;
    const uint32_t status = call.Driver().AudioControlGet(handle, entityId, request, selector,
                                                          Record(buffer), length, &size);
    if (status == 0) {
        if (transferred != nullptr) {
            *transferred = size;
        }
        call.Out(L"data", Bytes{buffer, size});
    }
    return call.Finish(status);
}

uint32_t WINAPI TUSBAUDIO_ClassVendorRequestOut(uint32_t handle, uint32_t recipient,
                                                uint32_t requestType, uint8_t request,
                                                uint16_t value, uint16_t index, const void* data,
                                                uint32_t length, uint32_t* transferred,
                                                uint32_t timeoutMs)
{
    return NotSupported(L"TUSBAUDIO_ClassVendorRequestOut", handle, recipient, requestType, request,
                        value, index, data, length, static_cast<const void*>(transferred),
                        timeoutMs);
}

uint32_t WINAPI TUSBAUDIO_ClassVendorRequestIn(uint32_t handle, uint32_t recipient,
                                               uint32_t requestType, uint8_t request,
                                               uint16_t value, uint16_t index, void* data,
                                               uint32_t length, uint32_t* transferred,
                                               uint32_t timeoutMs)
{
    return NotSupported(L"TUSBAUDIO_ClassVendorRequestIn", handle, recipient, requestType, request,
                        value, index, static_cast<const void*>(data), length,
                        static_cast<const void*>(transferred), timeoutMs);
}

uint32_t WINAPI TUSBAUDIO_GetDriverInfo(DriverInfo* info)
{
    SimCall call(L"TUSBAUDIO_GetDriverInfo");
    call.Args(static_cast<const void*>(info));
    return call.Finish(call.Injected() ? 0 : call.Driver().GetDriverInfo(Record(info)));
}

uint32_t WINAPI TUSBAUDIO_GetASIOInstanceCount(uint32_t* count)
{
    SimCall call(L"TUSBAUDIO_GetASIOInstanceCount");
    call.Args(static_cast<const void*>(count));
    return call.Finish(call.Injected() ? 0 : call.Driver().GetAsioInstanceCount(count));
}

uint32_t WINAPI TUSBAUDIO_GetASIOInstanceDetails(uint32_t instance, void* details)
{
    return NotSupported(L"TUSBAUDIO_GetASIOInstanceDetails", instance,
                        static_cast<const void*>(details));
}

uint32_t WINAPI TUSBAUDIO_GetASIORelation(uint32_t handle, uint32_t* instance)
{
    return NotSupported(L"TUSBAUDIO_GetASIORelation", handle, static_cast<const void*>(instance));
}

uint32_t WINAPI TUSBAUDIO_GetASIOInstanceAllowed(uint32_t instance, uint32_t* allowed)
{
    return NotSupported(L"TUSBAUDIO_GetASIOInstanceAllowed", instance,
                        static_cast<const void*>(allowed));
}

uint32_t WINAPI TUSBAUDIO_GetASIOInstanceInfo(uint32_t instance, AsioInfo* info)
{
    SimCall call(L"TUSBAUDIO_GetASIOInstanceInfo");
    call.Args(instance, static_cast<const void*>(info));
    return call.Finish(call.Injected() ? 0 : call.Driver().GetAsioInfo(instance, Record(info)));
}

uint32_t WINAPI TUSBAUDIO_SetASIOBufferPreferredSize(uint32_t instance, uint32_t reference,
                                                     uint32_t sizeSamples, uint32_t options)
{
    SimCall call(L"TUSBAUDIO_SetASIOBufferPreferredSize");
    call.Args(instance, reference, sizeSamples, Hex{options});
    return call.Finish(call.Injected() ? 0
                                       : call.Driver().SetAsioBufferSize(instance, reference,
                                                                         sizeSamples, options));
}

uint32_t WINAPI TUSBAUDIO_SetPreferredASIODevice(uint32_t handle)
{
    return NotSupported(L"TUSBAUDIO_SetPreferredASIODevice", handle);
}

uint32_t WINAPI TUSBAUDIO_ClearPreferredASIODevice()
{
    return NotSupported(L"TUSBAUDIO_ClearPreferredASIODevice");
}

uint32_t WINAPI TUSBAUDIO_GetDeviceUsbMode(uint32_t handle, uint32_t* mode)
{
    SimCall call(L"TUSBAUDIO_GetDeviceUsbMode");
    call.Args(handle, static_cast<const void*>(mode));
    if (call.Injected()) {
        return call.Finish(0);
    }
    const uint32_t status = call.Driver().GetUsbMode(handle, mode);
    if (status == 0) {
        call.Out(L"mode", *mode);
    }
    return call.Finish(status);
}

uint32_t WINAPI TUSBAUDIO_GetClientInfo(uint32_t capacity, void* clients, uint32_t* count)
{
    return NotSupported(L"TUSBAUDIO_GetClientInfo", capacity, static_cast<const void*>(clients),
                        static_cast<const void*>(count));
}

uint32_t WINAPI TUSBAUDIO_GetDeviceStreamingMode(uint32_t handle, uint32_t* mode)
{
    return NotSupported(L"TUSBAUDIO_GetDeviceStreamingMode", handle,
                        static_cast<const void*>(mode));
}

uint32_t WINAPI TUSBAUDIO_SetDeviceStreamingMode(uint32_t handle, uint32_t mode)
{
    return NotSupported(L"TUSBAUDIO_SetDeviceStreamingMode", handle, mode);
}

uint32_t WINAPI TUSBAUDIO_LoadFirmwareImageFromBuffer(const void* image, uint32_t size)
{
    return NotSupported(L"TUSBAUDIO_LoadFirmwareImageFromBuffer", image, size);
}

uint32_t WINAPI TUSBAUDIO_LoadFirmwareImageFromFile(const wchar_t* path)
{
    return NotSupported(L"TUSBAUDIO_LoadFirmwareImageFromFile", path);
}

uint32_t WINAPI TUSBAUDIO_GetFirmwareImageSize(uint32_t* size)
{
    return NotSupported(L"TUSBAUDIO_GetFirmwareImageSize", static_cast<const void*>(size));
}

uint32_t WINAPI TUSBAUDIO_UnloadFirmwareImage()
{
    return NotSupported(L"TUSBAUDIO_UnloadFirmwareImage");
}

uint32_t WINAPI TUSBAUDIO_GetFirmwareImage(void* buffer, uint32_t size)
{
    return NotSupported(L"TUSBAUDIO_GetFirmwareImage", static_cast<const void*>(buffer), size);
}

uint32_t WINAPI TUSBAUDIO_StartDfuDownload(uint32_t handle, uint32_t flags)
{
    return NotSupported(L"TUSBAUDIO_StartDfuDownload", handle, flags);
}

uint32_t WINAPI TUSBAUDIO_StartDfuUpload(uint32_t handle, uint32_t flags)
{
    return NotSupported(L"TUSBAUDIO_StartDfuUpload", handle, flags);
}

uint32_t WINAPI TUSBAUDIO_StartDfuRevertToFactoryImage(uint32_t handle, uint32_t flags)
{
    return NotSupported(L"TUSBAUDIO_StartDfuRevertToFactoryImage", handle, flags);
}

uint32_t WINAPI TUSBAUDIO_GetDfuStatus(uint32_t handle, uint32_t* bytesCurrent,
                                       uint32_t* bytesTotal, uint32_t* completion)
{
    return NotSupported(L"TUSBAUDIO_GetDfuStatus", handle, static_cast<const void*>(bytesCurrent),
                        static_cast<const void*>(bytesTotal), static_cast<const void*>(completion));
}

uint32_t WINAPI TUSBAUDIO_EndDfuProc(uint32_t handle)
{
    return NotSupported(L"TUSBAUDIO_EndDfuProc", handle);
}

uint32_t WINAPI TUSBAUDIO_GetDspProperty(uint32_t handle, uint32_t propertyId, void* buffer,
                                         uint32_t size, uint32_t* bytesReturned)
{
    return NotSupported(L"TUSBAUDIO_GetDspProperty", handle, propertyId,
                        static_cast<const void*>(buffer), size,
                        static_cast<const void*>(bytesReturned));
}

uint32_t WINAPI TUSBAUDIO_SetDspProperty(uint32_t handle, uint32_t propertyId, const void* data,
                                         uint32_t size)
{
    return NotSupported(L"TUSBAUDIO_SetDspProperty", handle, propertyId, data, size);
}

uint32_t WINAPI TUSBAUDIO_GetExtendedInfo(uint32_t handle, void* info)
{
    return NotSupported(L"TUSBAUDIO_GetExtendedInfo", handle, static_cast<const void*>(info));
}

uint32_t WINAPI TUSBAUDIO_SetHwChannelHiddenFlags(uint32_t handle, uint32_t isInput, uint32_t flags)
{
    return NotSupported(L"TUSBAUDIO_SetHwChannelHiddenFlags", handle, isInput, flags);
}

uint32_t WINAPI TUSBAUDIO_GetCustomString(uint32_t handle, uint32_t stringId, wchar_t* text,
                                          uint32_t capacity)
{
    return NotSupported(L"TUSBAUDIO_GetCustomString", handle, stringId, text, capacity);
}

uint32_t WINAPI TUSBAUDIO_QueryDriverStatistics(void* statistics)
{
    return NotSupported(L"TUSBAUDIO_QueryDriverStatistics", static_cast<const void*>(statistics));
}

uint32_t WINAPI TUSBAUDIO_ResetDriverStatistics()
{
    return NotSupported(L"TUSBAUDIO_ResetDriverStatistics");
}

uint32_t WINAPI TUSBAUDIO_QueryDeviceStatistics(uint32_t handle, void* statistics)
{
    return NotSupported(L"TUSBAUDIO_QueryDeviceStatistics", handle,
                        static_cast<const void*>(statistics));
}

const wchar_t* WINAPI TUSBAUDIO_StatusCodeStringW(uint32_t status)
{
    SimCall call(L"TUSBAUDIO_StatusCodeStringW");
    call.Args(Hex{status});
    call.Finish(0);
    switch (status) {
    case 0:
        return L"success";
    case kSimInvalidHandle:
        return L"invalid handle";
    case kSimInvalidParameter:
        return L"invalid parameter";
    case kSimNoDevice:
        return L"no device";
    case kSimNotSupported:
        return L"not supported";
    case kSimBufferTooSmall:
        return L"buffer too small";
    case kSimNoMoreItems:
        return L"no more items";
    default:
        return L"error";
    }
}

const char* WINAPI TUSBAUDIO_StatusCodeStringA(uint32_t status)
{
    SimCall call(L"TUSBAUDIO_StatusCodeStringA");
    call.Args(Hex{status});
    call.Finish(0);
    switch (status) {
    case 0:
        return "success";
    case kSimInvalidHandle:
        return "invalid handle";
    case kSimInvalidParameter:
        return "invalid parameter";
    case kSimNoDevice:
        return "no device";
    case kSimNotSupported:
        return "not supported";
    case kSimBufferTooSmall:
        return "buffer too small";
    case kSimNoMoreItems:
        return "no more items";
    default:
        return "error";
    }
}

} // extern "C"

// Every export has exactly the type the binding calls it through.
#define KV_SAME_TYPE(entry) \
    static_assert(std::is_same_v<decltype(&::entry), decltype(TUsbAudioEntryTable::entry)>, #entry)
KV_SAME_TYPE(TUSBAUDIO_GetApiVersion);
KV_SAME_TYPE(TUSBAUDIO_CheckApiVersion);
KV_SAME_TYPE(TUSBAUDIO_RegisterPnpNotification);
KV_SAME_TYPE(TUSBAUDIO_UnregisterPnpNotification);
KV_SAME_TYPE(TUSBAUDIO_EnumerateDevices);
KV_SAME_TYPE(TUSBAUDIO_GetDeviceCount);
KV_SAME_TYPE(TUSBAUDIO_OpenDeviceByIndex);
KV_SAME_TYPE(TUSBAUDIO_OpenDeviceByChannelIdString);
KV_SAME_TYPE(TUSBAUDIO_CloseDevice);
KV_SAME_TYPE(TUSBAUDIO_GetDeviceProperties);
KV_SAME_TYPE(TUSBAUDIO_GetDeviceInstanceIdString);
KV_SAME_TYPE(TUSBAUDIO_GetDeviceContainerIdString);
KV_SAME_TYPE(TUSBAUDIO_GetChannelIndexForChannelIdString);
KV_SAME_TYPE(TUSBAUDIO_GetChannelIdString);
KV_SAME_TYPE(TUSBAUDIO_RegisterDeviceNotification);
KV_SAME_TYPE(TUSBAUDIO_ReadDeviceNotification);
KV_SAME_TYPE(TUSBAUDIO_GetSupportedSampleRates);
KV_SAME_TYPE(TUSBAUDIO_GetCurrentSampleRate);
KV_SAME_TYPE(TUSBAUDIO_SetSampleRate);
KV_SAME_TYPE(TUSBAUDIO_GetSupportedClockSources);
KV_SAME_TYPE(TUSBAUDIO_GetClockSourceStatus);
KV_SAME_TYPE(TUSBAUDIO_GetCurrentClockSource);
KV_SAME_TYPE(TUSBAUDIO_SetCurrentClockSource);
KV_SAME_TYPE(TUSBAUDIO_GetSupportedStreamFormats);
KV_SAME_TYPE(TUSBAUDIO_GetCurrentStreamFormat);
KV_SAME_TYPE(TUSBAUDIO_SetCurrentStreamFormat);
KV_SAME_TYPE(TUSBAUDIO_GetStreamFormatSelectionMode);
KV_SAME_TYPE(TUSBAUDIO_SetSoundDeviceProfile);
KV_SAME_TYPE(TUSBAUDIO_GetControlPanelOptions);
KV_SAME_TYPE(TUSBAUDIO_GetChannelProperties);
KV_SAME_TYPE(TUSBAUDIO_GetChannelInfo);
KV_SAME_TYPE(TUSBAUDIO_GetVolumeMuteInfo);
KV_SAME_TYPE(TUSBAUDIO_GetVolume);
KV_SAME_TYPE(TUSBAUDIO_SetVolume);
KV_SAME_TYPE(TUSBAUDIO_GetMute);
KV_SAME_TYPE(TUSBAUDIO_SetMute);
KV_SAME_TYPE(TUSBAUDIO_GetUsbConfigDescriptor);
KV_SAME_TYPE(TUSBAUDIO_GetUsbStringDescriptorString);
KV_SAME_TYPE(TUSBAUDIO_AudioControlRequestSet);
KV_SAME_TYPE(TUSBAUDIO_AudioControlRequestGet);
KV_SAME_TYPE(TUSBAUDIO_ClassVendorRequestOut);
KV_SAME_TYPE(TUSBAUDIO_ClassVendorRequestIn);
KV_SAME_TYPE(TUSBAUDIO_GetDriverInfo);
KV_SAME_TYPE(TUSBAUDIO_GetASIOInstanceCount);
KV_SAME_TYPE(TUSBAUDIO_GetASIOInstanceDetails);
KV_SAME_TYPE(TUSBAUDIO_GetASIORelation);
KV_SAME_TYPE(TUSBAUDIO_GetASIOInstanceAllowed);
KV_SAME_TYPE(TUSBAUDIO_GetASIOInstanceInfo);
KV_SAME_TYPE(TUSBAUDIO_SetASIOBufferPreferredSize);
KV_SAME_TYPE(TUSBAUDIO_SetPreferredASIODevice);
KV_SAME_TYPE(TUSBAUDIO_ClearPreferredASIODevice);
KV_SAME_TYPE(TUSBAUDIO_GetDeviceUsbMode);
KV_SAME_TYPE(TUSBAUDIO_GetClientInfo);
KV_SAME_TYPE(TUSBAUDIO_GetDeviceStreamingMode);
KV_SAME_TYPE(TUSBAUDIO_SetDeviceStreamingMode);
KV_SAME_TYPE(TUSBAUDIO_LoadFirmwareImageFromBuffer);
KV_SAME_TYPE(TUSBAUDIO_LoadFirmwareImageFromFile);
KV_SAME_TYPE(TUSBAUDIO_GetFirmwareImageSize);
KV_SAME_TYPE(TUSBAUDIO_UnloadFirmwareImage);
KV_SAME_TYPE(TUSBAUDIO_GetFirmwareImage);
KV_SAME_TYPE(TUSBAUDIO_StartDfuDownload);
KV_SAME_TYPE(TUSBAUDIO_StartDfuUpload);
KV_SAME_TYPE(TUSBAUDIO_StartDfuRevertToFactoryImage);
KV_SAME_TYPE(TUSBAUDIO_GetDfuStatus);
KV_SAME_TYPE(TUSBAUDIO_EndDfuProc);
KV_SAME_TYPE(TUSBAUDIO_GetDspProperty);
KV_SAME_TYPE(TUSBAUDIO_SetDspProperty);
KV_SAME_TYPE(TUSBAUDIO_GetExtendedInfo);
KV_SAME_TYPE(TUSBAUDIO_SetHwChannelHiddenFlags);
KV_SAME_TYPE(TUSBAUDIO_GetCustomString);
KV_SAME_TYPE(TUSBAUDIO_QueryDriverStatistics);
KV_SAME_TYPE(TUSBAUDIO_ResetDriverStatistics);
KV_SAME_TYPE(TUSBAUDIO_QueryDeviceStatistics);
KV_SAME_TYPE(TUSBAUDIO_StatusCodeStringW);
KV_SAME_TYPE(TUSBAUDIO_StatusCodeStringA);
#undef KV_SAME_TYPE
