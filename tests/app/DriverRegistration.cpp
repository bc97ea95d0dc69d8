#include "tests/app/DriverRegistration.h"

namespace {

const wchar_t kClassKey[] = L"CLSID\\{D47F9B6B-E6C3-46FA-858F-E692150E9166}";
const wchar_t kServerKey[] = L"CLSID\\{D47F9B6B-E6C3-46FA-858F-E692150E9166}\\InprocServer32";

} // namespace

DriverRegistration::DriverRegistration()
{
    wchar_t path[MAX_PATH] = {};
    DWORD bytes = sizeof(path);
    if (::RegGetValueW(HKEY_CLASSES_ROOT, kServerKey, nullptr, RRF_RT_REG_SZ, nullptr, path,
                       &bytes) == ERROR_SUCCESS)
        m_saved = path;
}

DriverRegistration::~DriverRegistration()
{
    if (m_saved)
        Register(*m_saved);
    else
        Unregister();
}

bool DriverRegistration::Register(const std::wstring& libraryPath)
{
    const DWORD bytes = static_cast<DWORD>((libraryPath.size() + 1) * sizeof(wchar_t));
    return ::RegSetKeyValueW(HKEY_CLASSES_ROOT, kServerKey, nullptr, REG_SZ, libraryPath.c_str(),
                             bytes) == ERROR_SUCCESS;
}

void DriverRegistration::Unregister()
{
    ::RegDeleteTreeW(HKEY_CLASSES_ROOT, kClassKey);
    ::RegDeleteKeyW(HKEY_CLASSES_ROOT, kClassKey);
}
