#pragma once

#include <windows.h>

namespace obase {

// A critical section that spins briefly before blocking; the locks here are
// held for a few instructions only. Meets BasicLockable for std::lock_guard.
class Lock {
public:
    static constexpr DWORD kSpinCount = 2000;

    Lock();
    ~Lock();
    Lock(const Lock&) = delete;
    Lock& operator=(const Lock&) = delete;

    void lock();
    void unlock();

private:
    CRITICAL_SECTION m_section{};
};

} // namespace obase
