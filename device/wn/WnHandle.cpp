#include "device/wn/WnHandle.h"

WnHandle::~WnHandle()
{
    // A virtual call from a destructor would not reach an override, so close directly.
    WnHandle::Close();
}

void WnHandle::Close()
{
    if (m_handle != nullptr) {
        ::CloseHandle(m_handle);
        m_handle = nullptr;
    }
}

void WnHandle::Reset(HANDLE owned)
{
    Close();
    m_handle = owned;
}

HANDLE WnHandle::Release()
{
    const HANDLE handle = m_handle;
    m_handle = nullptr;
    return handle;
}
