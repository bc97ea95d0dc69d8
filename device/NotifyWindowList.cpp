#include "device/NotifyWindowList.h"

#include <algorithm>

void NotifyWindowList::Append(HWND window)
{
    const std::lock_guard lock(mutex);
    windows.push_back(window);
}

bool NotifyWindowList::Remove(HWND window)
{
    const std::lock_guard lock(mutex);
    const auto found = std::find(windows.begin(), windows.end(), window);
    if (found == windows.end()) {
        return false;
    }
    windows.erase(found);
    return true;
}

std::vector<HWND> NotifyWindowList::Snapshot() const
{
    const std::lock_guard lock(mutex);
    return windows;
}

size_t NotifyWindowList::Size() const
{
    const std::lock_guard lock(mutex);
    return windows.size();
}
