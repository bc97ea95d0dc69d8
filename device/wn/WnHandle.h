#pragma once

#include <windows.h>

// Owns one Win32 handle and closes it when replaced or destroyed.
class WnHandle {
public:
    WnHandle() = default;
    explicit WnHandle(HANDLE owned) : handle(owned) {}
    WnHandle(const WnHandle&) = delete;
    WnHandle& operator=(const WnHandle&) = delete;
    virtual ~WnHandle();

    virtual void Close();

    HANDLE Get() const { return handle; }
    bool IsValid() const { return handle != nullptr; }
    // Closes the held handle first, then takes ownership of `owned`.
    void Reset(HANDLE owned);

private:
    HANDLE handle = nullptr;
};
