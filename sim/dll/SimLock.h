#pragma once

#include <windows.h>

// The library's lock. A slim lock never makes a kernel object, so the
// stand-in driver adds no handle to its host when calls from several threads
// meet (the C++ library's mutex makes an event then and keeps it).
// Meets BasicLockable for std::unique_lock.
class SimLock {
public:
    SimLock() = default;
    SimLock(const SimLock&) = delete;
    SimLock& operator=(const SimLock&) = delete;

    void lock() { ::AcquireSRWLockExclusive(&m_lock); }
    void unlock() { ::ReleaseSRWLockExclusive(&m_lock); }

private:
    SRWLOCK m_lock = SRWLOCK_INIT;
};
