#include "sim/SimEntryNames.h"

#include <algorithm>
#include <iterator>

namespace SimEntryNames {
namespace {

constexpr std::wstring_view kNames[] = {
    L"TUSBAUDIO_GetApiVersion",
    L"TUSBAUDIO_CheckApiVersion",
    L"TUSBAUDIO_RegisterPnpNotification",
    L"TUSBAUDIO_UnregisterPnpNotification",
    L"TUSBAUDIO_EnumerateDevices",
    L"TUSBAUDIO_GetDeviceCount",
    L"TUSBAUDIO_OpenDeviceByIndex",
    L"TUSBAUDIO_OpenDeviceByChannelIdString",
    L"TUSBAUDIO_CloseDevice",
    L"TUSBAUDIO_GetDeviceProperties",
    L"TUSBAUDIO_GetDeviceInstanceIdString",
    L"TUSBAUDIO_GetDeviceContainerIdString",
    L"TUSBAUDIO_GetChannelIndexForChannelIdString",
    L"TUSBAUDIO_GetChannelIdString",
    L"TUSBAUDIO_RegisterDeviceNotification",
    L"TUSBAUDIO_ReadDeviceNotification",
    L"TUSBAUDIO_GetSupportedSampleRates",
    L"TUSBAUDIO_GetCurrentSampleRate",
    L"TUSBAUDIO_SetSampleRate",
    L"TUSBAUDIO_GetSupportedClockSources",
    L"TUSBAUDIO_GetClockSourceStatus",
    L"TUSBAUDIO_GetCurrentClockSource",
    L"TUSBAUDIO_SetCurrentClockSource",
    L"TUSBAUDIO_GetSupportedStreamFormats",
    L"TUSBAUDIO_GetCurrentStreamFormat",
    L"TUSBAUDIO_SetCurrentStreamFormat",
    L"TUSBAUDIO_GetStreamFormatSelectionMode",
    L"TUSBAUDIO_SetSoundDeviceProfile",
    L"TUSBAUDIO_GetControlPanelOptions",
    L"TUSBAUDIO_GetChannelProperties",
    L"TUSBAUDIO_GetChannelInfo",
    L"TUSBAUDIO_GetVolumeMuteInfo",
    L"TUSBAUDIO_GetVolume",
    L"TUSBAUDIO_SetVolume",
    L"TUSBAUDIO_GetMute",
    L"TUSBAUDIO_SetMute",
    L"TUSBAUDIO_GetUsbConfigDescriptor",
    L"TUSBAUDIO_GetUsbStringDescriptorString",
    L"TUSBAUDIO_AudioControlRequestSet",
    L"TUSBAUDIO_AudioControlRequestGet",
    L"TUSBAUDIO_ClassVendorRequestOut",
    L"TUSBAUDIO_ClassVendorRequestIn",
    L"TUSBAUDIO_GetDriverInfo",
    L"TUSBAUDIO_GetASIOInstanceCount",
    L"TUSBAUDIO_GetASIOInstanceDetails",
    L"TUSBAUDIO_GetASIORelation",
    L"TUSBAUDIO_GetASIOInstanceAllowed",
    L"TUSBAUDIO_GetASIOInstanceInfo",
    L"TUSBAUDIO_SetASIOBufferPreferredSize",
    L"TUSBAUDIO_SetPreferredASIODevice",
    L"TUSBAUDIO_ClearPreferredASIODevice",
    L"TUSBAUDIO_GetDeviceUsbMode",
    L"TUSBAUDIO_GetClientInfo",
    L"TUSBAUDIO_GetDeviceStreamingMode",
    L"TUSBAUDIO_SetDeviceStreamingMode",
    L"TUSBAUDIO_LoadFirmwareImageFromBuffer",
    L"TUSBAUDIO_LoadFirmwareImageFromFile",
    L"TUSBAUDIO_GetFirmwareImageSize",
    L"TUSBAUDIO_UnloadFirmwareImage",
    L"TUSBAUDIO_GetFirmwareImage",
    L"TUSBAUDIO_StartDfuDownload",
    L"TUSBAUDIO_StartDfuUpload",
    L"TUSBAUDIO_StartDfuRevertToFactoryImage",
    L"TUSBAUDIO_GetDfuStatus",
    L"TUSBAUDIO_EndDfuProc",
    L"TUSBAUDIO_GetDspProperty",
    L"TUSBAUDIO_SetDspProperty",
    L"TUSBAUDIO_GetExtendedInfo",
    L"TUSBAUDIO_SetHwChannelHiddenFlags",
    L"TUSBAUDIO_GetCustomString",
    L"TUSBAUDIO_QueryDriverStatistics",
    L"TUSBAUDIO_ResetDriverStatistics",
    L"TUSBAUDIO_QueryDeviceStatistics",
    L"TUSBAUDIO_StatusCodeStringW",
    L"TUSBAUDIO_StatusCodeStringA",
};
static_assert(std::size(kNames) == 75);

} // namespace

bool IsEntryName(std::wstring_view name)
{
    return std::find(std::begin(kNames), std::end(kNames), name) != std::end(kNames);
}

} // namespace SimEntryNames
