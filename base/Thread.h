#pragma once

#include <atomic>
#include <cstdint>

#include <windows.h>

namespace obase {

// An OS thread that calls Run. Priorities: 1 lowest, 2 below normal,
// 3 highest, 4 time critical, any other value from 1 up below normal; values
// below 1 keep the default.
class Thread {
public:
    explicit Thread(int32_t priority = 0) : m_priority(priority) {}
    // Waits for the thread to end.
    virtual ~Thread();
    Thread(const Thread&) = delete;
    Thread& operator=(const Thread&) = delete;

    virtual void Run() = 0;

    // Creates the OS thread; false when it could not be created or one is
    // still open.
    bool Start();

    uint32_t thread_id() const { return m_threadId; }
    int32_t priority() const { return m_priority; }

protected:
    // Waits without limit for the thread to end (terminating it if the wait
    // fails) and closes its handle.
    void Join();
    void SetThreadId(uint32_t threadId) { m_threadId = threadId; }

private:
    static unsigned __stdcall ThreadMain(void* param);

    std::atomic<uint32_t> m_threadId = 0;
    HANDLE m_handle = nullptr;
    int32_t m_priority = 0;
};

} // namespace obase
