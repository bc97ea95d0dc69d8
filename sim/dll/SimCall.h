#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

#include "sim/dll/SimRuntime.h"

class SimDriver;

// One call of an exported entry point: applies injected delays and failures,
// holds the library's lock while the call runs, and writes the journal line
//   NAME(ARG,ARG,...) = 0xSTATUS[ NAME=VALUE...][ (injected)]
// Numbers are decimal, Hex() values hexadecimal, window handles hexadecimal,
// other pointers "&" (given) or "0" (null), byte blocks [01 02], texts "...".
// Without an open journal nothing is formatted: a poll every 200 ms then
// costs the panel no more than the call itself.
class SimCall {
public:
    struct Hex {
        uint32_t value;
    };
    struct Bytes {
        const void* data;
        uint32_t size;
    };

    explicit SimCall(const wchar_t* entry);
    SimCall(const SimCall&) = delete;
    SimCall& operator=(const SimCall&) = delete;
    ~SimCall();

    template <typename... T>
    void Args(const T&... values)
    {
        if (m_journaled)
            (AddArg(values), ...);
    }
    // The status injected for this call, if any; the call must not run then.
    const std::optional<uint32_t>& Injected() const { return m_injected; }
    SimDriver& Driver();
    void Out(const wchar_t* name, int64_t value);
    void Out(const wchar_t* name, Bytes value);
    // Writes the journal line and returns `status`.
    uint32_t Finish(uint32_t status);

private:
    void AddArg(uint32_t value);
    void AddArg(int value);
    void AddArg(int16_t value);
    void AddArg(uint16_t value);
    void AddArg(uint8_t value);
    void AddArg(Hex value);
    void AddArg(Bytes value);
    void AddArg(HWND window);
    void AddArg(const wchar_t* text);
    void AddArg(wchar_t* buffer);
    void AddArg(const void* pointer);
    void Add(const std::wstring& text);

    std::wstring m_line;
    std::wstring m_outputs;
    bool m_firstArg = true;
    // Whether a journal was open when the call took the lock.
    bool m_journaled = false;
    std::optional<uint32_t> m_injected;
    std::optional<SimRuntime::Guard> m_lock;
    bool m_finished = false;
};
