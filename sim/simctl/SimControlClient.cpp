#include "sim/simctl/SimControlClient.h"

#include <windows.h>

#include <cstring>
#include <vector>

namespace {

// Closes the pipe on every path.
class PipeHandle {
public:
    explicit PipeHandle(HANDLE opened) : m_handle(opened) {}
    PipeHandle(const PipeHandle&) = delete;
    PipeHandle& operator=(const PipeHandle&) = delete;
    ~PipeHandle()
    {
        if (m_handle != INVALID_HANDLE_VALUE) {
            ::CloseHandle(m_handle);
        }
    }
    HANDLE Get() const { return m_handle; }

private:
    HANDLE m_handle = INVALID_HANDLE_VALUE;
};

} // namespace

uint32_t SimControlClient::Send(std::wstring_view request, std::wstring& reply,
                                uint32_t timeoutMs) const
{
    const ULONGLONG deadline = ::GetTickCount64() + timeoutMs;
    HANDLE opened = INVALID_HANDLE_VALUE;
    for (;;) {
        opened = ::CreateFileW(m_pipeName.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                               OPEN_EXISTING, 0, nullptr);
        if (opened != INVALID_HANDLE_VALUE) {
            break;
        }
        const DWORD error = ::GetLastError();
        const ULONGLONG now = ::GetTickCount64();
        if (error != ERROR_PIPE_BUSY || now >= deadline) {
            return error;
        }
        ::WaitNamedPipeW(m_pipeName.c_str(), static_cast<DWORD>(deadline - now));
    }
    const PipeHandle pipe(opened);
    DWORD mode = PIPE_READMODE_MESSAGE;
    if (!::SetNamedPipeHandleState(pipe.Get(), &mode, nullptr, nullptr)) {
        return ::GetLastError();
    }
    DWORD written = 0;
    if (!::WriteFile(pipe.Get(), request.data(),
                     static_cast<DWORD>(request.size() * sizeof(wchar_t)), &written, nullptr)) {
        return ::GetLastError();
    }
    std::string bytes;
    std::vector<char> buffer(64 * 1024);
    for (;;) {
        DWORD read = 0;
        const BOOL done = ::ReadFile(pipe.Get(), buffer.data(), static_cast<DWORD>(buffer.size()),
                                     &read, nullptr);
        bytes.append(buffer.data(), read);
        if (done) {
            break;
        }
        const DWORD error = ::GetLastError();
        if (error != ERROR_MORE_DATA) {
            return error;
        }
    }
    reply.assign(bytes.size() / sizeof(wchar_t), L'\0');
    std::memcpy(reply.data(), bytes.data(), reply.size() * sizeof(wchar_t));
    return 0;
}
