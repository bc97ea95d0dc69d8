#include "base/Lock.h"

namespace obase {

Lock::Lock()
{
    InitializeCriticalSectionAndSpinCount(&m_section, kSpinCount);
}

Lock::~Lock()
{
    DeleteCriticalSection(&m_section);
}

void Lock::lock()
{
    EnterCriticalSection(&m_section);
}

void Lock::unlock()
{
    LeaveCriticalSection(&m_section);
}

} // namespace obase
