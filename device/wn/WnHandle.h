#pragma once

#include <windows.h>

// Owns one Win32 handle and closes it when replaced or destroyed.
class WnHandle {
public:
    WnHandle() = default;
    explicit WnHandle(HANDLE owned) : m_handle(owned) {}
    WnHandle(const WnHandle&) = delete;
    WnHandle& operator=(const WnHandle&) = delete;
    virtual ~WnHandle();

    virtual void Close();

    HANDLE Get() const { return m_handle; }
    bool IsValid() const { return m_handle != nullptr; }
    // Closes the held handle first, then takes ownership of `owned`.
    void Reset(HANDLE owned);
    // Gives up ownership without closing: the caller closes the handle returned.
    HANDLE Release();

private:
    HANDLE m_handle = nullptr;
};
