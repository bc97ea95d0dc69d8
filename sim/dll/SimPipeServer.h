#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <string_view>

// Serves control requests on a named pipe from a thread of its own. Each
// request is one UTF-16 message; the answer is sent back as one message.
// Every process using the interface serves an instance of the pipe, so a
// client reaches whichever is free. The same thread also runs a wake-up
// handler whenever a given event is set.
class SimPipeServer {
public:
    using Handler = std::function<std::wstring(std::wstring_view request)>;
    using WakeHandler = std::function<void()>;

    SimPipeServer() = default;
    SimPipeServer(const SimPipeServer&) = delete;
    SimPipeServer& operator=(const SimPipeServer&) = delete;
    ~SimPipeServer();

    // Returns once the pipe exists; false when it cannot be created (the
    // thread then only runs the wake-up handler). `wake` may be null.
    bool Start(const std::wstring& name, Handler requestHandler, HANDLE wake,
               WakeHandler wakeHandler);
    // Safe while the loader lock is held: the thread parks itself outside any
    // lock, closes its pipe, and is then ended without needing the loader.
    void Stop();

private:
    static DWORD WINAPI ThreadMain(void* parameter);
    void Serve(HANDLE pipe);
    // Waits for overlapped I/O or the stop event, running the wake-up
    // handler meanwhile; false when stopping or failed.
    bool Complete(HANDLE pipe, OVERLAPPED& overlapped, BOOL started, DWORD& transferred);
    // Waits for `event` or the stop event, running the wake-up handler
    // meanwhile; false when stopping.
    bool WaitFor(HANDLE event);

    Handler m_handler;
    HANDLE m_wake = nullptr;
    WakeHandler m_wakeHandler;
    std::wstring m_pipeName;
    HANDLE m_thread = nullptr;
    HANDLE m_stopEvent = nullptr;
    HANDLE m_readyEvent = nullptr;
    HANDLE m_parkedEvent = nullptr;
    bool m_created = false;
};
