#include "base/MessageLoopProxy.h"

#include <mutex>
#include <utility>

#include "base/MessageLoop.h"

namespace obase {

bool MessageLoopProxy::PostTask(StdClosure task)
{
    std::lock_guard guard(m_lock);
    if (!m_loop)
        return false;
    m_loop->PostTask(std::move(task));
    return true;
}

bool MessageLoopProxy::PostDelayedTask(StdClosure task, TimeDelta delay)
{
    if (delay == TimeDelta())
        return PostTask(std::move(task));
    std::lock_guard guard(m_lock);
    if (!m_loop)
        return false;
    m_loop->PostDelayedTask(std::move(task), delay);
    return true;
}

bool MessageLoopProxy::PostNonNestableTask(StdClosure task)
{
    std::lock_guard guard(m_lock);
    if (!m_loop)
        return false;
    m_loop->PostNonNestableTask(std::move(task));
    return true;
}

bool MessageLoopProxy::PostNonNestableDelayedTask(StdClosure task, TimeDelta delay)
{
    std::lock_guard guard(m_lock);
    if (!m_loop)
        return false;
    m_loop->PostNonNestableDelayedTask(std::move(task), delay);
    return true;
}

bool MessageLoopProxy::BelongsToCurrentThread()
{
    std::lock_guard guard(m_lock);
    return m_loop && m_loop == MessageLoop::current();
}

void MessageLoopProxy::WillDestroyCurrentMessageLoop()
{
    std::lock_guard guard(m_lock);
    m_loop = nullptr;
}

} // namespace obase
