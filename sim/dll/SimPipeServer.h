#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <string_view>

// Serves control requests on a named pipe from a thread of its own. Each
// request is one UTF-16 message; the answer is sent back as one message.
class SimPipeServer {
public:
    using Handler = std::function<std::wstring(std::wstring_view request)>;

    SimPipeServer() = default;
    SimPipeServer(const SimPipeServer&) = delete;
    SimPipeServer& operator=(const SimPipeServer&) = delete;
    ~SimPipeServer();

    // Returns once the pipe exists; false when it cannot be created (for
    // example because another process serves the same name).
    bool Start(const std::wstring& name, Handler requestHandler);
    // Safe while the loader lock is held: the thread parks itself outside any
    // lock, closes its pipe, and is then ended without needing the loader.
    void Stop();

private:
    static DWORD WINAPI ThreadMain(void* parameter);
    void Serve(HANDLE pipe);
    // Waits for overlapped I/O or the stop event; false when stopping or failed.
    bool Complete(HANDLE pipe, OVERLAPPED& overlapped, BOOL started, DWORD& transferred);

    Handler m_handler;
    std::wstring m_pipeName;
    HANDLE m_thread = nullptr;
    HANDLE m_stopEvent = nullptr;
    HANDLE m_readyEvent = nullptr;
    HANDLE m_parkedEvent = nullptr;
    bool m_created = false;
};
