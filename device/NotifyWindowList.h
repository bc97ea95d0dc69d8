#pragma once

#include <windows.h>

#include <cstddef>
#include <vector>

#include "base/Lock.h"

// The windows that receive device notifications, in order of registration.
// The UI thread changes the list while the monitor thread reads it, so every
// access is locked and the monitor posts from a copy.
class NotifyWindowList {
public:
    void Append(HWND window);
    // Removes the first entry equal to `window`; false when there is none.
    bool Remove(HWND window);
    std::vector<HWND> Snapshot() const;
    size_t Size() const;

private:
    mutable obase::Lock m_lock;
    std::vector<HWND> m_windows;
};
