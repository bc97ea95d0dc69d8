#pragma once

#include <cstdint>
#include <map>
#include <memory>

#include "base/Lock.h"
#include "base/MessageLoopProxy.h"
#include "base/StdClosure.h"
#include "base/TimeDelta.h"
#include "base/WeakCallback.h"

namespace obase {

class FrameworkThread;

// Process-wide map from small thread identifiers to framework threads, so
// that code can post to "the misc thread" without holding the thread object.
class ThreadRegistry {
public:
    // Registers the calling framework thread under `identifier` (>= 0). A
    // thread may register its own identifier repeatedly (each needs an
    // unregister) but no identifier held by another thread nor a second one.
    static bool RegisterThread(int32_t identifier);
    static void UnregisterThread();

    static std::shared_ptr<MessageLoopProxy> GetMessageLoopProxy(int32_t identifier);

    // Each answers false, dropping the task, when nothing runs under the
    // identifier.
    static bool PostTask(int32_t identifier, StdClosure task);
    static bool PostDelayedTask(int32_t identifier, StdClosure task, TimeDelta delay);
    // Runs `task` every `delay`, `times` times or forever for -1, and stops
    // as soon as the object it is bound to is gone.
    static bool PostRepeatedTask(int32_t identifier, const WeakCallback<StdClosure>& task,
                                 TimeDelta delay, int32_t times);

private:
    ThreadRegistry() = default;
    static ThreadRegistry& Instance();

    Lock m_lock;
    std::map<int32_t, FrameworkThread*> m_threads;
};

} // namespace obase
