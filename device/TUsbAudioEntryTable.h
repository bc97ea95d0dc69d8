#pragma once

#include <windows.h>

#include <cstdint>

#include "device/AsioInfo.h"
#include "device/DeviceProperties.h"
#include "device/DriverInfo.h"
#include "device/StreamFormatRecord.h"
#include "device/VolumeMuteInfo.h"

// One pointer per entry point of the USB audio driver's API library, in the
// library's order. Every pointer may be null; test it before each call.
// Handles are the library's u32 device handles; isInput is 1 for the
// recording direction and 0 for playback. The records the program reads are
// typed and handed over in a DriverRecordBuffer, with room for a driver
// that writes longer ones; records the program does not interpret are passed
// as untyped buffers.
struct TUsbAudioEntryTable {
    uint32_t(WINAPI* TUSBAUDIO_GetApiVersion)() = nullptr;
    uint32_t(WINAPI* TUSBAUDIO_CheckApiVersion)(uint32_t major, uint32_t minor) = nullptr;
    uint32_t(WINAPI* TUSBAUDIO_RegisterPnpNotification)(HANDLE arrivalEvent, HANDLE removalEvent,
                                                        HWND window, uint32_t message,
                                                        uint32_t flags) = nullptr;
    uint32_t(WINAPI* TUSBAUDIO_UnregisterPnpNotification)() = nullptr;
    uint32_t(WINAPI* TUSBAUDIO_EnumerateDevices)() = nullptr;
    uint32_t(WINAPI* TUSBAUDIO_GetDeviceCount)() = nullptr;
    uint32_t(WINAPI* TUSBAUDIO_OpenDeviceByIndex)(uint32_t index, uint32_t* handle) = nullptr;
    uint32_t(WINAPI* TUSBAUDIO_OpenDeviceByChannelIdString)(const wchar_t* channelId,
                                                            uint32_t* handle) = nullptr;
    uint32_t(WINAPI* TUSBAUDIO_CloseDevice)(uint32_t handle) = nullptr;
    uint32_t(WINAPI* TUSBAUDIO_GetDeviceProperties)(uint32_t handle,
                                                    DeviceProperties* properties) = nullptr;
    uint32_t(WINAPI* TUSBAUDIO_GetDeviceInstanceIdString)(uint32_t handle, wchar_t* text,
                                                          uint32_t capacity) = nullptr;
    uint32_t(WINAPI* TUSBAUDIO_GetDeviceContainerIdString)(uint32_t handle, wchar_t* text,
                                                           uint32_t capacity) = nullptr;
    uint32_t(WINAPI* TUSBAUDIO_GetChannelIndexForChannelIdString)(uint32_t handle,
                                                                  const wchar_t* channelId,
                                                                  uint32_t* index) = nullptr;
    uint32_t(WINAPI* TUSBAUDIO_GetChannelIdString)(uint32_t handle, uint32_t index, wchar_t* text,
                                                   uint32_t capacity) = nullptr;
    uint32_t(WINAPI* TUSBAUDIO_RegisterDeviceNotification)(uint32_t handle, uint32_t categoryFilter,
                                                           HANDLE event, uint32_t flags) = nullptr;
    uint32_t(WINAPI* TUSBAUDIO_ReadDeviceNotification)(uint32_t handle, uint32_t* category,
                                                       void* data, uint32_t dataSize,
                                                       uint32_t* bytesReturned) = nullptr;
    uint32_t(WINAPI* TUSBAUDIO_GetSupportedSampleRates)(uint32_t handle, uint32_t capacity,
                                                        uint32_t* rates, uint32_t* count) = nullptr;
    uint32_t(WINAPI* TUSBAUDIO_GetCurrentSampleRate)(uint32_t handle, uint32_t* rate) = nullptr;
    uint32_t(WINAPI* TUSBAUDIO_SetSampleRate)(uint32_t handle, uint32_t rate) = nullptr;
    uint32_t(WINAPI* TUSBAUDIO_GetSupportedClockSources)(uint32_t handle, uint32_t capacity,
                                                         void* sources, uint32_t* count) = nullptr;
    uint32_t(WINAPI* TUSBAUDIO_GetClockSourceStatus)(uint32_t handle, uint32_t sourceId,
                                                     uint32_t* status) = nullptr;
    uint32_t(WINAPI* TUSBAUDIO_GetCurrentClockSource)(uint32_t handle, void* source) = nullptr;
    uint32_t(WINAPI* TUSBAUDIO_SetCurrentClockSource)(uint32_t handle, uint32_t sourceId) = nullptr;
    uint32_t(WINAPI* TUSBAUDIO_GetSupportedStreamFormats)(uint32_t handle, uint32_t isInput,
                                                          uint32_t capacity,
                                                          StreamFormatRecord* formats,
                                                          uint32_t* count) = nullptr;
    uint32_t(WINAPI* TUSBAUDIO_GetCurrentStreamFormat)(uint32_t handle, uint32_t isInput,
                                                       StreamFormatRecord* format) = nullptr;
    uint32_t(WINAPI* TUSBAUDIO_SetCurrentStreamFormat)(uint32_t handle, uint32_t isInput,
                                                       uint32_t formatId) = nullptr;
    uint32_t(WINAPI* TUSBAUDIO_GetStreamFormatSelectionMode)(uint32_t handle,
                                                             uint32_t* mode) = nullptr;
    uint32_t(WINAPI* TUSBAUDIO_SetSoundDeviceProfile)(uint32_t handle,
                                                      uint32_t profileId) = nullptr;
    uint32_t(WINAPI* TUSBAUDIO_GetControlPanelOptions)(uint32_t handle, void* options) = nullptr;
    uint32_t(WINAPI* TUSBAUDIO_GetChannelProperties)(uint32_t handle, uint32_t isInput,
                                                     uint32_t capacity, void* properties,
                                                     uint32_t* count) = nullptr;
    uint32_t(WINAPI* TUSBAUDIO_GetChannelInfo)(uint32_t handle, uint32_t isInput, uint32_t capacity,
                                               void* info, uint32_t* count) = nullptr;
    uint32_t(WINAPI* TUSBAUDIO_GetVolumeMuteInfo)(uint32_t handle, uint32_t isInput,
                                                  uint32_t channel, VolumeMuteInfo* info) = nullptr;
    uint32_t(WINAPI* TUSBAUDIO_GetVolume)(uint32_t handle, uint32_t isInput, uint32_t channel,
                                          int16_t* volume) = nullptr;
    uint32_t(WINAPI* TUSBAUDIO_SetVolume)(uint32_t handle, uint32_t isInput, uint32_t channel,
                                          int16_t volume) = nullptr;
    uint32_t(WINAPI* TUSBAUDIO_GetMute)(uint32_t handle, uint32_t isInput, uint32_t channel,
                                        uint32_t* mute) = nullptr;
    uint32_t(WINAPI* TUSBAUDIO_SetMute)(uint32_t handle, uint32_t isInput, uint32_t channel,
                                        uint32_t mute) = nullptr;
    uint32_t(WINAPI* TUSBAUDIO_GetUsbConfigDescriptor)(uint32_t handle, void* buffer,
                                                       uint32_t bufferSize,
                                                       uint32_t* bytesReturned) = nullptr;
    uint32_t(WINAPI* TUSBAUDIO_GetUsbStringDescriptorString)(uint32_t handle, uint8_t index,
                                                             uint16_t languageId, wchar_t* text,
                                                             uint32_t capacity) = nullptr;
    uint32_t(WINAPI* TUSBAUDIO_AudioControlRequestSet)(uint32_t handle, uint8_t entityId,
                                                       uint8_t request, uint8_t selector,
                                                       uint8_t channel, const void* parameters,
                                                       uint32_t length, uint32_t* transferred,
                                                       uint32_t timeoutMs) = nullptr;
    uint32_t(WINAPI* TUSBAUDIO_AudioControlRequestGet)(uint32_t handle, uint8_t entityId,
                                                       uint8_t request, uint8_t selector,
                                                       uint8_t channel, void* buffer,
                                                       uint32_t length, uint32_t* transferred,
                                                       uint32_t timeoutMs) = nullptr;
    uint32_t(WINAPI* TUSBAUDIO_ClassVendorRequestOut)(uint32_t handle, uint32_t recipient,
                                                      uint32_t requestType, uint8_t request,
                                                      uint16_t value, uint16_t index,
                                                      const void* data, uint32_t length,
                                                      uint32_t* transferred,
                                                      uint32_t timeoutMs) = nullptr;
    uint32_t(WINAPI* TUSBAUDIO_ClassVendorRequestIn)(uint32_t handle, uint32_t recipient,
                                                     uint32_t requestType, uint8_t request,
                                                     uint16_t value, uint16_t index, void* data,
                                                     uint32_t length, uint32_t* transferred,
                                                     uint32_t timeoutMs) = nullptr;
    uint32_t(WINAPI* TUSBAUDIO_GetDriverInfo)(DriverInfo* info) = nullptr;
    uint32_t(WINAPI* TUSBAUDIO_GetASIOInstanceCount)(uint32_t* count) = nullptr;
    uint32_t(WINAPI* TUSBAUDIO_GetASIOInstanceDetails)(uint32_t instance, void* details) = nullptr;
    uint32_t(WINAPI* TUSBAUDIO_GetASIORelation)(uint32_t handle, uint32_t* instance) = nullptr;
    uint32_t(WINAPI* TUSBAUDIO_GetASIOInstanceAllowed)(uint32_t instance,
                                                       uint32_t* allowed) = nullptr;
    uint32_t(WINAPI* TUSBAUDIO_GetASIOInstanceInfo)(uint32_t instance, AsioInfo* info) = nullptr;
    uint32_t(WINAPI* TUSBAUDIO_SetASIOBufferPreferredSize)(uint32_t instance, uint32_t reference,
                                                           uint32_t sizeSamples,
                                                           uint32_t options) = nullptr;
    uint32_t(WINAPI* TUSBAUDIO_SetPreferredASIODevice)(uint32_t handle) = nullptr;
    uint32_t(WINAPI* TUSBAUDIO_ClearPreferredASIODevice)() = nullptr;
    uint32_t(WINAPI* TUSBAUDIO_GetDeviceUsbMode)(uint32_t handle, uint32_t* mode) = nullptr;
    uint32_t(WINAPI* TUSBAUDIO_GetClientInfo)(uint32_t capacity, void* clients,
                                              uint32_t* count) = nullptr;
    uint32_t(WINAPI* TUSBAUDIO_GetDeviceStreamingMode)(uint32_t handle, uint32_t* mode) = nullptr;
    uint32_t(WINAPI* TUSBAUDIO_SetDeviceStreamingMode)(uint32_t handle, uint32_t mode) = nullptr;
    uint32_t(WINAPI* TUSBAUDIO_LoadFirmwareImageFromBuffer)(const void* image,
                                                            uint32_t size) = nullptr;
    uint32_t(WINAPI* TUSBAUDIO_LoadFirmwareImageFromFile)(const wchar_t* path) = nullptr;
    uint32_t(WINAPI* TUSBAUDIO_GetFirmwareImageSize)(uint32_t* size) = nullptr;
    uint32_t(WINAPI* TUSBAUDIO_UnloadFirmwareImage)() = nullptr;
    uint32_t(WINAPI* TUSBAUDIO_GetFirmwareImage)(void* buffer, uint32_t size) = nullptr;
    uint32_t(WINAPI* TUSBAUDIO_StartDfuDownload)(uint32_t handle, uint32_t flags) = nullptr;
    uint32_t(WINAPI* TUSBAUDIO_StartDfuUpload)(uint32_t handle, uint32_t flags) = nullptr;
    uint32_t(WINAPI* TUSBAUDIO_StartDfuRevertToFactoryImage)(uint32_t handle,
                                                             uint32_t flags) = nullptr;
    uint32_t(WINAPI* TUSBAUDIO_GetDfuStatus)(uint32_t handle, uint32_t* bytesCurrent,
                                             uint32_t* bytesTotal, uint32_t* completion) = nullptr;
    uint32_t(WINAPI* TUSBAUDIO_EndDfuProc)(uint32_t handle) = nullptr;
    uint32_t(WINAPI* TUSBAUDIO_GetDspProperty)(uint32_t handle, uint32_t propertyId, void* buffer,
                                               uint32_t size, uint32_t* bytesReturned) = nullptr;
    uint32_t(WINAPI* TUSBAUDIO_SetDspProperty)(uint32_t handle, uint32_t propertyId,
                                               const void* data, uint32_t size) = nullptr;
    uint32_t(WINAPI* TUSBAUDIO_GetExtendedInfo)(uint32_t handle, void* info) = nullptr;
    uint32_t(WINAPI* TUSBAUDIO_SetHwChannelHiddenFlags)(uint32_t handle, uint32_t isInput,
                                                        uint32_t flags) = nullptr;
    uint32_t(WINAPI* TUSBAUDIO_GetCustomString)(uint32_t handle, uint32_t stringId, wchar_t* text,
                                                uint32_t capacity) = nullptr;
    uint32_t(WINAPI* TUSBAUDIO_QueryDriverStatistics)(void* statistics) = nullptr;
    uint32_t(WINAPI* TUSBAUDIO_ResetDriverStatistics)() = nullptr;
    uint32_t(WINAPI* TUSBAUDIO_QueryDeviceStatistics)(uint32_t handle, void* statistics) = nullptr;
    const wchar_t*(WINAPI* TUSBAUDIO_StatusCodeStringW)(uint32_t status) = nullptr;
    const char*(WINAPI* TUSBAUDIO_StatusCodeStringA)(uint32_t status) = nullptr;
};
