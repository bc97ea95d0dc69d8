#include "device/wn/ThreadHandOver.h"

ThreadHandOver::~ThreadHandOver()
{
    for (const HANDLE handle : m_handles) {
        if (handle != nullptr) {
            ::CloseHandle(handle);
        }
    }
}

bool ThreadHandOver::ThreadLeaving()
{
    return m_state.exchange(kLeaving, std::memory_order_acq_rel) == kAbandoned;
}

bool ThreadHandOver::Abandon(HMODULE library, std::vector<HANDLE> handles)
{
    // Filled before the exchange publishes them to the thread.
    m_library = library;
    m_handles = std::move(handles);
    int expected = kRunning;
    if (m_state.compare_exchange_strong(expected, kAbandoned, std::memory_order_acq_rel)) {
        return true;
    }
    m_library = nullptr;
    m_handles.clear();
    return false;
}
