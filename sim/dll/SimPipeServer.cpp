#include "sim/dll/SimPipeServer.h"

#include <cstring>
#include <vector>

namespace {

constexpr DWORD kBufferBytes = 64 * 1024;
constexpr size_t kMaxRequestBytes = 1024 * 1024;
constexpr DWORD kStopping = ERROR_OPERATION_ABORTED;
constexpr DWORD kParkTimeoutMs = 5000;
// The thread only moves requests between the pipe and the interpreter; a
// small stack keeps the stand-in driver's share of the host's memory small.
constexpr SIZE_T kStackBytes = 256 * 1024;

} // namespace

SimPipeServer::~SimPipeServer()
{
    Stop();
}

bool SimPipeServer::Start(const std::wstring& name, Handler requestHandler, HANDLE wake,
                          WakeHandler wakeHandler)
{
    m_handler = std::move(requestHandler);
    m_wake = wake;
    m_wakeHandler = std::move(wakeHandler);
    m_pipeName = name;
    m_stopEvent = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    m_readyEvent = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    m_parkedEvent = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (m_stopEvent == nullptr || m_readyEvent == nullptr || m_parkedEvent == nullptr) {
        Stop();
        return false;
    }
    m_thread = ::CreateThread(nullptr, kStackBytes, &ThreadMain, this,
                              STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr);
    if (m_thread == nullptr) {
        Stop();
        return false;
    }
    ::WaitForSingleObject(m_readyEvent, INFINITE);
    return m_created;
}

void SimPipeServer::Stop()
{
    if (m_thread != nullptr) {
        ::SetEvent(m_stopEvent);
        // Ending a thread normally needs the loader lock, which the library's
        // unload holds; a parked thread holds nothing and can be ended directly.
        if (::WaitForSingleObject(m_thread, 0) == WAIT_TIMEOUT) {
            ::WaitForSingleObject(m_parkedEvent, kParkTimeoutMs);
            ::TerminateThread(m_thread, 0);
            ::WaitForSingleObject(m_thread, kParkTimeoutMs);
        }
        ::CloseHandle(m_thread);
        m_thread = nullptr;
    }
    for (HANDLE* event : {&m_stopEvent, &m_readyEvent, &m_parkedEvent}) {
        if (*event != nullptr) {
            ::CloseHandle(*event);
            *event = nullptr;
        }
    }
}

DWORD WINAPI SimPipeServer::ThreadMain(void* parameter)
{
    auto* server = static_cast<SimPipeServer*>(parameter);
    // One instance per process: every process using the interface answers
    // for it, so the pipe lasts as long as any of them.
    const HANDLE pipe = ::CreateNamedPipeW(
        server->m_pipeName.c_str(), PIPE_ACCESS_DUPLEX | FILE_FLAG_OVERLAPPED,
        PIPE_TYPE_MESSAGE | PIPE_READMODE_MESSAGE | PIPE_WAIT | PIPE_REJECT_REMOTE_CLIENTS,
        PIPE_UNLIMITED_INSTANCES, kBufferBytes, kBufferBytes, 0, nullptr);
    server->m_created = pipe != INVALID_HANDLE_VALUE;
    ::SetEvent(server->m_readyEvent);
    if (pipe != INVALID_HANDLE_VALUE) {
        server->Serve(pipe);
        ::CloseHandle(pipe);
    } else {
        while (server->WaitFor(nullptr)) {
        }
    }
    ::SetEvent(server->m_parkedEvent);
    ::Sleep(INFINITE);
    return 0;
}

bool SimPipeServer::Complete(HANDLE pipe, OVERLAPPED& overlapped, BOOL started, DWORD& transferred)
{
    transferred = 0;
    if (!started) {
        const DWORD error = ::GetLastError();
        if (error != ERROR_IO_PENDING && error != ERROR_MORE_DATA) {
            ::SetLastError(error);
            return false;
        }
    }
    if (!WaitFor(overlapped.hEvent)) {
        ::CancelIo(pipe);
        ::GetOverlappedResult(pipe, &overlapped, &transferred, TRUE);
        ::SetLastError(kStopping);
        return false;
    }
    return ::GetOverlappedResult(pipe, &overlapped, &transferred, FALSE) != FALSE;
}

bool SimPipeServer::WaitFor(HANDLE event)
{
    HANDLE waits[3] = {m_stopEvent};
    DWORD count = 1;
    const DWORD eventIndex = event != nullptr ? count : MAXDWORD;
    if (event != nullptr) {
        waits[count++] = event;
    }
    const DWORD wakeIndex = m_wake != nullptr ? count : MAXDWORD;
    if (m_wake != nullptr) {
        waits[count++] = m_wake;
    }
    for (;;) {
        const DWORD result = ::WaitForMultipleObjects(count, waits, FALSE, INFINITE);
        if (result == WAIT_OBJECT_0 + wakeIndex) {
            m_wakeHandler();
            continue;
        }
        return result == WAIT_OBJECT_0 + eventIndex;
    }
}

void SimPipeServer::Serve(HANDLE pipe)
{
    const HANDLE io = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::vector<char> buffer(kBufferBytes);
    bool stopping = io == nullptr;
    while (!stopping) {
        OVERLAPPED overlapped{};
        overlapped.hEvent = io;
        DWORD transferred = 0;
        const BOOL connected = ::ConnectNamedPipe(pipe, &overlapped);
        if (!connected && ::GetLastError() != ERROR_PIPE_CONNECTED &&
            !Complete(pipe, overlapped, connected, transferred)) {
            stopping = ::GetLastError() == kStopping;
            ::DisconnectNamedPipe(pipe);
            // A client that came and went is no reason to spin.
            stopping = stopping || ::WaitForSingleObject(m_stopEvent, 10) == WAIT_OBJECT_0;
            continue;
        }
        // Requests on this connection until the client goes away.
        for (;;) {
            std::string bytes;
            bool read = false;
            for (;;) {
                overlapped = OVERLAPPED{};
                overlapped.hEvent = io;
                const BOOL started =
                    ::ReadFile(pipe, buffer.data(), kBufferBytes, nullptr, &overlapped);
                read = Complete(pipe, overlapped, started, transferred);
                const DWORD error = read ? 0 : ::GetLastError();
                bytes.append(buffer.data(), transferred);
                if (error == ERROR_MORE_DATA && bytes.size() < kMaxRequestBytes) {
                    continue;
                }
                stopping = error == kStopping;
                break;
            }
            if (!read) {
                break;
            }
            std::wstring request(bytes.size() / sizeof(wchar_t), L'\0');
            std::memcpy(request.data(), bytes.data(), request.size() * sizeof(wchar_t));
            const std::wstring reply = m_handler(request);
            overlapped = OVERLAPPED{};
            overlapped.hEvent = io;
            const BOOL started =
                ::WriteFile(pipe, reply.data(), static_cast<DWORD>(reply.size() * sizeof(wchar_t)),
                            nullptr, &overlapped);
            if (!Complete(pipe, overlapped, started, transferred)) {
                stopping = ::GetLastError() == kStopping;
                break;
            }
        }
        ::DisconnectNamedPipe(pipe);
    }
    if (io != nullptr) {
        ::CloseHandle(io);
    }
}
