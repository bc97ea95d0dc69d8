#include "device/TUsbAudioApiDll.h"

#include <iterator>
#include <type_traits>

#include "device/DeviceStatus.h"

namespace {

const wchar_t* const kRegistryPath[] = {
    L"CLSID",
    L"{D47F9B6B-E6C3-46FA-858F-E692150E9166}",
    L"InprocServer32",
};
constexpr DWORD kPathCapacity = 260;

constexpr uint32_t kRequiredMajor = 5;
constexpr uint32_t kRequiredMinor = 9;

constexpr uint32_t Version(uint32_t major, uint32_t minor)
{
    return (major << 16) | minor;
}

// One entry point: its exported name and how to store what GetProcAddress found.
struct EntrySlot {
    const char* name;
    void (*assign)(TUsbAudioEntryTable& table, FARPROC address);
};

template <auto Member>
void AssignEntry(TUsbAudioEntryTable& table, FARPROC address)
{
    using Pointer = std::remove_reference_t<decltype(table.*Member)>;
    // Going through the generic function pointer type keeps the cast well-formed for every
    // signature.
    table.*Member = reinterpret_cast<Pointer>(reinterpret_cast<void (*)()>(address));
}

#define KV_ENTRY(entry)                                     \
    EntrySlot                                               \
    {                                                       \
#entry, &AssignEntry < &TUsbAudioEntryTable::entry> \
    }

const EntrySlot kVersionEntries[] = {
    KV_ENTRY(TUSBAUDIO_GetApiVersion),
    KV_ENTRY(TUSBAUDIO_CheckApiVersion),
};

// Entries that need API major version 5, in the library's order.
const EntrySlot kBaseEntries[] = {
    KV_ENTRY(TUSBAUDIO_RegisterPnpNotification),
    KV_ENTRY(TUSBAUDIO_UnregisterPnpNotification),
    KV_ENTRY(TUSBAUDIO_EnumerateDevices),
    KV_ENTRY(TUSBAUDIO_GetDeviceCount),
    KV_ENTRY(TUSBAUDIO_OpenDeviceByIndex),
    KV_ENTRY(TUSBAUDIO_OpenDeviceByChannelIdString),
    KV_ENTRY(TUSBAUDIO_CloseDevice),
    KV_ENTRY(TUSBAUDIO_GetDeviceProperties),
    KV_ENTRY(TUSBAUDIO_GetDeviceInstanceIdString),
    KV_ENTRY(TUSBAUDIO_GetDeviceContainerIdString),
    KV_ENTRY(TUSBAUDIO_GetChannelIndexForChannelIdString),
    KV_ENTRY(TUSBAUDIO_GetChannelIdString),
    KV_ENTRY(TUSBAUDIO_RegisterDeviceNotification),
    KV_ENTRY(TUSBAUDIO_ReadDeviceNotification),
    KV_ENTRY(TUSBAUDIO_GetSupportedSampleRates),
    KV_ENTRY(TUSBAUDIO_GetCurrentSampleRate),
    KV_ENTRY(TUSBAUDIO_SetSampleRate),
    KV_ENTRY(TUSBAUDIO_GetSupportedClockSources),
    KV_ENTRY(TUSBAUDIO_GetClockSourceStatus),
    KV_ENTRY(TUSBAUDIO_GetCurrentClockSource),
    KV_ENTRY(TUSBAUDIO_SetCurrentClockSource),
    KV_ENTRY(TUSBAUDIO_GetSupportedStreamFormats),
    KV_ENTRY(TUSBAUDIO_GetCurrentStreamFormat),
    KV_ENTRY(TUSBAUDIO_SetCurrentStreamFormat),
    KV_ENTRY(TUSBAUDIO_GetStreamFormatSelectionMode),
    KV_ENTRY(TUSBAUDIO_GetChannelProperties),
    KV_ENTRY(TUSBAUDIO_GetChannelInfo),
    KV_ENTRY(TUSBAUDIO_GetVolumeMuteInfo),
    KV_ENTRY(TUSBAUDIO_GetVolume),
    KV_ENTRY(TUSBAUDIO_SetVolume),
    KV_ENTRY(TUSBAUDIO_GetMute),
    KV_ENTRY(TUSBAUDIO_SetMute),
    KV_ENTRY(TUSBAUDIO_GetUsbConfigDescriptor),
    KV_ENTRY(TUSBAUDIO_GetUsbStringDescriptorString),
    KV_ENTRY(TUSBAUDIO_AudioControlRequestSet),
    KV_ENTRY(TUSBAUDIO_AudioControlRequestGet),
    KV_ENTRY(TUSBAUDIO_ClassVendorRequestOut),
    KV_ENTRY(TUSBAUDIO_ClassVendorRequestIn),
    KV_ENTRY(TUSBAUDIO_GetDriverInfo),
    KV_ENTRY(TUSBAUDIO_GetASIOInstanceInfo),
    KV_ENTRY(TUSBAUDIO_SetASIOBufferPreferredSize),
    KV_ENTRY(TUSBAUDIO_GetDeviceUsbMode),
    KV_ENTRY(TUSBAUDIO_GetClientInfo),
    KV_ENTRY(TUSBAUDIO_GetDeviceStreamingMode),
    KV_ENTRY(TUSBAUDIO_SetDeviceStreamingMode),
    KV_ENTRY(TUSBAUDIO_LoadFirmwareImageFromBuffer),
    KV_ENTRY(TUSBAUDIO_LoadFirmwareImageFromFile),
    KV_ENTRY(TUSBAUDIO_GetFirmwareImageSize),
    KV_ENTRY(TUSBAUDIO_UnloadFirmwareImage),
    KV_ENTRY(TUSBAUDIO_GetFirmwareImage),
    KV_ENTRY(TUSBAUDIO_StartDfuDownload),
    KV_ENTRY(TUSBAUDIO_StartDfuUpload),
    KV_ENTRY(TUSBAUDIO_StartDfuRevertToFactoryImage),
    KV_ENTRY(TUSBAUDIO_GetDfuStatus),
    KV_ENTRY(TUSBAUDIO_EndDfuProc),
    KV_ENTRY(TUSBAUDIO_GetDspProperty),
    KV_ENTRY(TUSBAUDIO_SetDspProperty),
    KV_ENTRY(TUSBAUDIO_QueryDriverStatistics),
    KV_ENTRY(TUSBAUDIO_ResetDriverStatistics),
    KV_ENTRY(TUSBAUDIO_StatusCodeStringW),
    KV_ENTRY(TUSBAUDIO_StatusCodeStringA),
};

const EntrySlot kEntries51[] = {
    KV_ENTRY(TUSBAUDIO_SetPreferredASIODevice),
    KV_ENTRY(TUSBAUDIO_ClearPreferredASIODevice),
};
const EntrySlot kEntries52[] = {KV_ENTRY(TUSBAUDIO_QueryDeviceStatistics)};
const EntrySlot kEntries54[] = {KV_ENTRY(TUSBAUDIO_GetControlPanelOptions)};
const EntrySlot kEntries55[] = {KV_ENTRY(TUSBAUDIO_GetExtendedInfo)};
const EntrySlot kEntries56[] = {KV_ENTRY(TUSBAUDIO_SetSoundDeviceProfile)};
const EntrySlot kEntries57[] = {KV_ENTRY(TUSBAUDIO_SetHwChannelHiddenFlags)};
const EntrySlot kEntries58[] = {KV_ENTRY(TUSBAUDIO_GetCustomString)};
const EntrySlot kEntries59[] = {
    KV_ENTRY(TUSBAUDIO_GetASIOInstanceCount),
    KV_ENTRY(TUSBAUDIO_GetASIOInstanceDetails),
    KV_ENTRY(TUSBAUDIO_GetASIORelation),
    KV_ENTRY(TUSBAUDIO_GetASIOInstanceAllowed),
};

#undef KV_ENTRY

struct EntryGroup {
    uint32_t minimumVersion;
    const EntrySlot* first;
    const EntrySlot* last;
};

template <size_t N>
constexpr EntryGroup Group(uint32_t minimumVersion, const EntrySlot (&entries)[N])
{
    return EntryGroup{minimumVersion, std::begin(entries), std::end(entries)};
}

const EntryGroup kGatedGroups[] = {
    Group(Version(5, 1), kEntries51), Group(Version(5, 2), kEntries52),
    Group(Version(5, 4), kEntries54), Group(Version(5, 5), kEntries55),
    Group(Version(5, 6), kEntries56), Group(Version(5, 7), kEntries57),
    Group(Version(5, 8), kEntries58), Group(Version(5, 9), kEntries59),
};

// Looks every slot up in order; stops at the first lookup that fails with an error.
uint32_t ResolveRange(HMODULE module, TUsbAudioEntryTable& table, const EntrySlot* first,
                      const EntrySlot* last)
{
    for (const EntrySlot* slot = first; slot != last; ++slot) {
        ::SetLastError(0);
        const FARPROC address = ::GetProcAddress(module, slot->name);
        if (address == nullptr) {
            const DWORD error = ::GetLastError();
            if (error != 0) {
                return error;
            }
        }
        slot->assign(table, address);
    }
    return 0;
}

// Opens one registry key below `parent`; the wrapper closes it on every path.
class RegistryKey {
public:
    RegistryKey() = default;
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;
    ~RegistryKey()
    {
        if (m_key != nullptr) {
            ::RegCloseKey(m_key);
        }
    }
    LSTATUS Open(HKEY parent, const wchar_t* name)
    {
        return ::RegOpenKeyExW(parent, name, 0, KEY_READ, &m_key);
    }
    HKEY Get() const { return m_key; }

private:
    HKEY m_key = nullptr;
};

} // namespace

TUsbAudioApiDll::~TUsbAudioApiDll()
{
    Unload();
}

uint32_t TUsbAudioApiDll::LoadFromRegistry()
{
    RegistryKey keys[std::size(kRegistryPath)];
    HKEY parent = HKEY_CLASSES_ROOT;
    for (size_t i = 0; i < std::size(kRegistryPath); ++i) {
        const LSTATUS status = keys[i].Open(parent, kRegistryPath[i]);
        if (status != ERROR_SUCCESS) {
            return static_cast<uint32_t>(status);
        }
        parent = keys[i].Get();
    }

    // One spare character so that a value filling the whole buffer can still be terminated.
    wchar_t path[kPathCapacity + 1] = {};
    DWORD type = 0;
    DWORD size = kPathCapacity * sizeof(wchar_t);
    const LSTATUS status =
        ::RegQueryValueExW(parent, nullptr, nullptr, &type, reinterpret_cast<BYTE*>(path), &size);
    if (status != ERROR_SUCCESS) {
        return static_cast<uint32_t>(status);
    }
    if (type != REG_SZ && type != REG_EXPAND_SZ) {
        return ERROR_BAD_FORMAT;
    }
    const DWORD length = size / sizeof(wchar_t);
    if (length >= kPathCapacity && path[kPathCapacity - 1] != L'\0') {
        return ERROR_BUFFER_OVERFLOW;
    }
    path[length] = L'\0';
    return Load(path);
}

uint32_t TUsbAudioApiDll::Load(const std::wstring& path)
{
    if (m_module != nullptr) {
        return 1;
    }
    if (::GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
        const DWORD error = ::GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) {
            return ERROR_FILE_NOT_FOUND;
        }
    }
    m_module = ::LoadLibraryW(path.c_str());
    if (m_module == nullptr) {
        const DWORD error = ::GetLastError();
        return error != 0 ? error : ERROR_MOD_NOT_FOUND;
    }
    const uint32_t status = ResolveEntries();
    if (status != 0 && status != kStatusApiVersionRefused) {
        Unload();
    }
    return status;
}

uint32_t TUsbAudioApiDll::ResolveEntries()
{
    uint32_t status =
        ResolveRange(m_module, *this, std::begin(kVersionEntries), std::end(kVersionEntries));
    if (status != 0) {
        return status;
    }
    m_apiVersion = TUSBAUDIO_GetApiVersion != nullptr ? TUSBAUDIO_GetApiVersion() : 0;
    if (TUSBAUDIO_CheckApiVersion == nullptr ||
        TUSBAUDIO_CheckApiVersion(kRequiredMajor, kRequiredMinor) == 0) {
        // The module stays loaded: the caller reports the mismatch and ends.
        return kStatusApiVersionRefused;
    }
    if ((m_apiVersion >> 16) < kRequiredMajor) {
        return 0;
    }
    status = ResolveRange(m_module, *this, std::begin(kBaseEntries), std::end(kBaseEntries));
    for (const EntryGroup& group : kGatedGroups) {
        if (status != 0 || m_apiVersion < group.minimumVersion) {
            break;
        }
        status = ResolveRange(m_module, *this, group.first, group.last);
    }
    return status;
}

void TUsbAudioApiDll::Unload()
{
    if (m_module != nullptr) {
        ::FreeLibrary(m_module);
        m_module = nullptr;
    }
    static_cast<TUsbAudioEntryTable&>(*this) = TUsbAudioEntryTable{};
    m_apiVersion = 0;
}

HMODULE TUsbAudioApiDll::Release()
{
    const HMODULE module = m_module;
    m_module = nullptr;
    Unload();
    return module;
}
