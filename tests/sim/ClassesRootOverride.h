#pragma once

#include <windows.h>

#include <string>

// Redirects HKEY_CLASSES_ROOT of this process to an empty private key for
// the lifetime of the object, so that tests can register the driver library
// without touching the machine's registration or each other.
class ClassesRootOverride {
public:
    ClassesRootOverride();
    ClassesRootOverride(const ClassesRootOverride&) = delete;
    ClassesRootOverride& operator=(const ClassesRootOverride&) = delete;
    ~ClassesRootOverride();

    bool Active() const { return m_root != nullptr; }
    // Writes the default value of the driver class's InprocServer32 key.
    LSTATUS RegisterLibrary(const std::wstring& path);
    LSTATUS RegisterValue(DWORD type, const void* data, DWORD bytes);
    // Reads that value back as a string; empty when it is absent.
    std::wstring RegisteredLibrary() const;

private:
    std::wstring m_keyPath;
    HKEY m_root = nullptr;
};
