#include "device/wn/WnEvent.h"

uint32_t WnEvent::Create()
{
    Close();
    HANDLE event = ::CreateEventW(nullptr, m_manualReset != 0, FALSE, nullptr);
    if (event == nullptr) {
        const DWORD error = ::GetLastError();
        // Never report a failed creation as success, even without an error code.
        return error != 0 ? error : ERROR_INVALID_HANDLE;
    }
    Reset(event);
    return 0;
}

uint32_t WnEvent::Set()
{
    if (!IsValid()) {
        return ERROR_INVALID_HANDLE;
    }
    if (!::SetEvent(Get())) {
        const DWORD error = ::GetLastError();
        return error != 0 ? error : ERROR_INVALID_HANDLE;
    }
    return 0;
}
