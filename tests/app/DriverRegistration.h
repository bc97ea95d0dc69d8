#pragma once

#include <windows.h>

#include <optional>
#include <string>

// The driver library's registration in the machine's HKEY_CLASSES_ROOT, which
// a started program reads. The registration found at construction is put
// back at destruction.
class DriverRegistration {
public:
    DriverRegistration();
    ~DriverRegistration();
    DriverRegistration(const DriverRegistration&) = delete;
    DriverRegistration& operator=(const DriverRegistration&) = delete;

    bool Register(const std::wstring& libraryPath);
    void Unregister();

private:
    std::optional<std::wstring> m_saved;
};
