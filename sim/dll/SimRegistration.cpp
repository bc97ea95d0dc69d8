// Self-registration: the driver's API library is found through the default
// value of its class's InprocServer32 key, read through HKEY_CLASSES_ROOT.
// The key is written there directly (on Windows that needs an elevated
// regsvr32), because per-user classes are not merged into it everywhere.
#include <windows.h>

#include <string>

namespace {

const wchar_t kClassKey[] = L"CLSID\\{D47F9B6B-E6C3-46FA-858F-E692150E9166}";

HMODULE ThisModule()
{
    HMODULE module = nullptr;
    ::GetModuleHandleExW(
        GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
        reinterpret_cast<LPCWSTR>(&ThisModule), &module);
    return module;
}

HRESULT ToResult(LSTATUS status)
{
    return status == ERROR_SUCCESS ? S_OK : HRESULT_FROM_WIN32(static_cast<unsigned long>(status));
}

} // namespace

extern "C" HRESULT WINAPI DllRegisterServer()
{
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            ::GetModuleFileNameW(ThisModule(), path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) {
            return HRESULT_FROM_WIN32(::GetLastError());
        }
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    HKEY key = nullptr;
    const std::wstring serverKey = std::wstring(kClassKey) + L"\\InprocServer32";
    LSTATUS status = ::RegCreateKeyExW(HKEY_CLASSES_ROOT, serverKey.c_str(), 0, nullptr, 0,
                                       KEY_WRITE, nullptr, &key, nullptr);
    if (status != ERROR_SUCCESS) {
        return ToResult(status);
    }
    status = ::RegSetValueExW(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(path.c_str()),
                              static_cast<DWORD>((path.size() + 1) * sizeof(wchar_t)));
    ::RegCloseKey(key);
    return ToResult(status);
}

extern "C" HRESULT WINAPI DllUnregisterServer()
{
    const LSTATUS status = ::RegDeleteTreeW(HKEY_CLASSES_ROOT, kClassKey);
    return status == ERROR_FILE_NOT_FOUND ? S_OK : ToResult(status);
}
