#include "base/ThreadRegistry.h"

#include <mutex>
#include <utility>

#include "base/FrameworkThread.h"
#include "base/MessageLoop.h"
#include "base/ThreadRecord.h"

namespace obase {

namespace {

// Runs on the target thread and posts itself again after each run.
struct RepeatingTask {
    WeakCallback<StdClosure> task;
    TimeDelta delay;
    int32_t remaining = -1; // -1: forever

    void operator()()
    {
        if (task.Expired())
            return;
        task();
        if (remaining != -1 && --remaining == 0)
            return;
        if (task.Expired())
            return;
        if (MessageLoop* loop = MessageLoop::current())
            loop->PostDelayedTask(*this, delay);
    }
};

} // namespace

ThreadRegistry& ThreadRegistry::Instance()
{
    static ThreadRegistry registry;
    return registry;
}

bool ThreadRegistry::RegisterThread(int32_t identifier)
{
    ThreadRecord* record = ThreadRecord::Current();
    if (identifier < 0 || !record)
        return false;
    ThreadRegistry& registry = Instance();
    std::lock_guard guard(registry.m_lock);
    // A record keeps one identifier; taking a second would leave the first
    // mapped after the thread is gone.
    if (record->registrationCount > 0 && record->identifier != identifier)
        return false;
    const auto [entry, inserted] = registry.m_threads.try_emplace(identifier, record->owner);
    if (!inserted && entry->second != record->owner)
        return false;
    ++record->registrationCount;
    record->identifier = identifier;
    return true;
}

void ThreadRegistry::UnregisterThread()
{
    ThreadRecord* record = ThreadRecord::Current();
    if (!record || record->registrationCount <= 0)
        return;
    ThreadRegistry& registry = Instance();
    std::lock_guard guard(registry.m_lock);
    if (--record->registrationCount == 0) {
        registry.m_threads.erase(record->identifier);
        record->identifier = -1;
    }
}

std::shared_ptr<MessageLoopProxy> ThreadRegistry::GetMessageLoopProxy(int32_t identifier)
{
    ThreadRegistry& registry = Instance();
    std::lock_guard guard(registry.m_lock);
    const auto entry = registry.m_threads.find(identifier);
    if (entry == registry.m_threads.end())
        return nullptr;
    return entry->second->message_loop_proxy();
}

bool ThreadRegistry::PostTask(int32_t identifier, StdClosure task)
{
    const std::shared_ptr<MessageLoopProxy> proxy = GetMessageLoopProxy(identifier);
    return proxy && proxy->PostTask(std::move(task));
}

bool ThreadRegistry::PostDelayedTask(int32_t identifier, StdClosure task, TimeDelta delay)
{
    const std::shared_ptr<MessageLoopProxy> proxy = GetMessageLoopProxy(identifier);
    return proxy && proxy->PostDelayedTask(std::move(task), delay);
}

bool ThreadRegistry::PostRepeatedTask(int32_t identifier, const WeakCallback<StdClosure>& task,
                                      TimeDelta delay, int32_t times)
{
    // Zero runs, or a count below the "forever" value, would otherwise be
    // taken for a never-ending task.
    if (times == 0 || times < -1)
        return false;
    return PostDelayedTask(identifier, RepeatingTask{task, delay, times}, delay);
}

} // namespace obase
