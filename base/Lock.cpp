#include "base/Lock.h"

namespace obase {

Lock::Lock()
{
    InitializeCriticalSectionAndSpinCount(&section_, kSpinCount);
}

Lock::~Lock()
{
    DeleteCriticalSection(&section_);
}

void Lock::lock()
{
    EnterCriticalSection(&section_);
}

void Lock::unlock()
{
    LeaveCriticalSection(&section_);
}

}  // namespace obase
