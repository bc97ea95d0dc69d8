#pragma once

#include <windows.h>

#include <atomic>
#include <vector>

// Shared by a worker thread and its owner so that the owner can give up on a
// thread that never comes back from a call (a driver that hangs) without
// waiting for it. Whichever side moves second learns what the first did: a
// thread that leaves first is waited for as usual; a thread given up on owns
// the handles and the library reference handed to it and releases them itself.
class ThreadHandOver {
public:
    ThreadHandOver() = default;
    ThreadHandOver(const ThreadHandOver&) = delete;
    ThreadHandOver& operator=(const ThreadHandOver&) = delete;
    // Closes the handles handed over.
    ~ThreadHandOver();

    // Thread side, once it touches its object no more. True when the owner
    // gave up on it: the object may be gone, and Library() is the thread's.
    bool ThreadLeaving();
    // Owner side. False when the thread is already leaving by itself: then
    // nothing was handed over and the thread must be waited for.
    bool Abandon(HMODULE library, std::vector<HANDLE> handles);

    HMODULE Library() const { return m_library; }

private:
    enum State { kRunning, kLeaving, kAbandoned };

    std::atomic<int> m_state = kRunning;
    HMODULE m_library = nullptr;
    std::vector<HANDLE> m_handles;
};
