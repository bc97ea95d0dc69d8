#pragma once

#include "base/Lock.h"
#include "base/StdClosure.h"
#include "base/TimeDelta.h"

namespace obase {

class MessageLoop;

// A thread-safe, shared handle to a message loop that outlives it: posting
// answers false, and drops the task, once the loop is gone. The loop holds a
// reference until it dies, so the last reference always goes after the loop.
class MessageLoopProxy {
public:
    MessageLoopProxy(const MessageLoopProxy&) = delete;
    MessageLoopProxy& operator=(const MessageLoopProxy&) = delete;

    bool PostTask(StdClosure task);
    // A zero delay posts as an immediate task.
    bool PostDelayedTask(StdClosure task, TimeDelta delay);
    bool PostNonNestableTask(StdClosure task);
    bool PostNonNestableDelayedTask(StdClosure task, TimeDelta delay);
    bool BelongsToCurrentThread();

    // Called by the loop as it is destroyed; every later post fails.
    void WillDestroyCurrentMessageLoop();

private:
    friend class MessageLoop;
    explicit MessageLoopProxy(MessageLoop* loop) : m_loop(loop) {}

    Lock m_lock;
    MessageLoop* m_loop = nullptr;
};

} // namespace obase
