#include "tests/sim/ClassesRootOverride.h"

#include <atomic>

#include "sim/SimText.h"

namespace {

const wchar_t kServerKey[] = L"CLSID\\{D47F9B6B-E6C3-46FA-858F-E692150E9166}\\InprocServer32";
std::atomic<unsigned> overrides = 0;

} // namespace

ClassesRootOverride::ClassesRootOverride()
{
    m_keyPath = L"Software\\KorVaneTests\\" +
                SimText::Format("%lu-%u", ::GetCurrentProcessId(), overrides.fetch_add(1));
    if (::RegCreateKeyExW(HKEY_CURRENT_USER, m_keyPath.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                          KEY_ALL_ACCESS, nullptr, &m_root, nullptr) != ERROR_SUCCESS) {
        m_root = nullptr;
        return;
    }
    if (::RegOverridePredefKey(HKEY_CLASSES_ROOT, m_root) != ERROR_SUCCESS) {
        ::RegCloseKey(m_root);
        m_root = nullptr;
    }
}

ClassesRootOverride::~ClassesRootOverride()
{
    if (m_root != nullptr) {
        ::RegOverridePredefKey(HKEY_CLASSES_ROOT, nullptr);
        ::RegCloseKey(m_root);
        ::RegDeleteTreeW(HKEY_CURRENT_USER, m_keyPath.c_str());
    }
}

LSTATUS ClassesRootOverride::RegisterLibrary(const std::wstring& path)
{
    return RegisterValue(REG_SZ, path.c_str(),
                         static_cast<DWORD>((path.size() + 1) * sizeof(wchar_t)));
}

LSTATUS ClassesRootOverride::RegisterValue(DWORD type, const void* data, DWORD bytes)
{
    HKEY key = nullptr;
    LSTATUS status = ::RegCreateKeyExW(HKEY_CLASSES_ROOT, kServerKey, 0, nullptr,
                                       REG_OPTION_NON_VOLATILE, KEY_WRITE, nullptr, &key, nullptr);
    if (status == ERROR_SUCCESS) {
        status = ::RegSetValueExW(key, nullptr, 0, type, static_cast<const BYTE*>(data), bytes);
        ::RegCloseKey(key);
    }
    return status;
}

std::wstring ClassesRootOverride::RegisteredLibrary() const
{
    wchar_t value[1024] = {};
    DWORD bytes = sizeof(value) - sizeof(wchar_t);
    if (::RegGetValueW(HKEY_CLASSES_ROOT, kServerKey, nullptr, RRF_RT_REG_SZ, nullptr, value,
                       &bytes) != ERROR_SUCCESS) {
        return {};
    }
    return value;
}
