#include "base/MessageLoopProxy.h"

#include <mutex>
#include <utility>

#include "base/MessageLoop.h"

namespace obase {

bool MessageLoopProxy::PostTask(StdClosure task)
{
    std::lock_guard guard(lock_);
    if (!loop_)
        return false;
    loop_->PostTask(std::move(task));
    return true;
}

bool MessageLoopProxy::PostDelayedTask(StdClosure task, TimeDelta delay)
{
    if (delay == TimeDelta())
        return PostTask(std::move(task));
    std::lock_guard guard(lock_);
    if (!loop_)
        return false;
    loop_->PostDelayedTask(std::move(task), delay);
    return true;
}

bool MessageLoopProxy::PostNonNestableTask(StdClosure task)
{
    std::lock_guard guard(lock_);
    if (!loop_)
        return false;
    loop_->PostNonNestableTask(std::move(task));
    return true;
}

bool MessageLoopProxy::PostNonNestableDelayedTask(StdClosure task, TimeDelta delay)
{
    std::lock_guard guard(lock_);
    if (!loop_)
        return false;
    loop_->PostNonNestableDelayedTask(std::move(task), delay);
    return true;
}

bool MessageLoopProxy::BelongsToCurrentThread()
{
    std::lock_guard guard(lock_);
    return loop_ && loop_ == MessageLoop::current();
}

void MessageLoopProxy::WillDestroyCurrentMessageLoop()
{
    std::lock_guard guard(lock_);
    loop_ = nullptr;
}

}  // namespace obase
