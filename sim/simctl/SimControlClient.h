#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

// Sends control requests to a running simulated driver over its pipe.
class SimControlClient {
public:
    static constexpr const wchar_t* kDefaultPipe = L"\\\\.\\pipe\\KvUsbAudioSim";

    explicit SimControlClient(std::wstring pipe = kDefaultPipe) : m_pipeName(std::move(pipe)) {}

    // 0 with the simulator's answer in `reply`, or the Win32 error that kept
    // the request from being delivered.
    uint32_t Send(std::wstring_view request, std::wstring& reply, uint32_t timeoutMs = 5000) const;

private:
    std::wstring m_pipeName;
};
