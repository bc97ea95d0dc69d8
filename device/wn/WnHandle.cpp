#include "device/wn/WnHandle.h"

WnHandle::~WnHandle()
{
    // A virtual call from a destructor would not reach an override, so close directly.
    WnHandle::Close();
}

void WnHandle::Close()
{
    if (handle != nullptr) {
        ::CloseHandle(handle);
        handle = nullptr;
    }
}

void WnHandle::Reset(HANDLE owned)
{
    Close();
    handle = owned;
}
