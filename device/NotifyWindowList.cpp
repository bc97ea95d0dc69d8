#include "device/NotifyWindowList.h"

#include <algorithm>
#include <mutex>

void NotifyWindowList::Append(HWND window)
{
    const std::lock_guard guard(m_lock);
    m_windows.push_back(window);
}

bool NotifyWindowList::Remove(HWND window)
{
    const std::lock_guard guard(m_lock);
    const auto found = std::find(m_windows.begin(), m_windows.end(), window);
    if (found == m_windows.end()) {
        return false;
    }
    m_windows.erase(found);
    return true;
}

std::vector<HWND> NotifyWindowList::Snapshot() const
{
    const std::lock_guard guard(m_lock);
    return m_windows;
}

size_t NotifyWindowList::Size() const
{
    const std::lock_guard guard(m_lock);
    return m_windows.size();
}
