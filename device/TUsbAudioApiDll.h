#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "device/TUsbAudioEntryTable.h"

// The binding to the driver's API library, located through its COM class
// registration. Statuses: 0 ok, a Win32 error, or kStatusApiVersionRefused.
class TUsbAudioApiDll : public TUsbAudioEntryTable {
public:
    TUsbAudioApiDll() = default;
    TUsbAudioApiDll(const TUsbAudioApiDll&) = delete;
    TUsbAudioApiDll& operator=(const TUsbAudioApiDll&) = delete;
    virtual ~TUsbAudioApiDll();

    // Reads the library path from the registry and loads it.
    uint32_t LoadFromRegistry();
    // 1 when a library is already loaded, 2 when the file is missing.
    uint32_t Load(const std::wstring& path);
    // Frees the library and clears every entry and the version.
    void Unload();
    // Clears every entry and the version like Unload, but keeps the library
    // loaded and hands its reference to the caller, who frees it.
    HMODULE Release();

    HMODULE Module() const { return m_module; }
    // Major version in the high 16 bits, minor in the low 16 bits.
    uint32_t ApiVersion() const { return m_apiVersion; }

private:
    uint32_t ResolveEntries();

    HMODULE m_module = nullptr;
    uint32_t m_apiVersion = 0;
};
