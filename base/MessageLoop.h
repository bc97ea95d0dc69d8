#pragma once

#include <atomic>
#include <cstdint>
#include <deque>
#include <memory>
#include <vector>

#include "base/Dispatcher.h"
#include "base/Lock.h"
#include "base/MessagePump.h"
#include "base/PendingTask.h"
#include "base/StdClosure.h"
#include "base/TimeDelta.h"

namespace obase {

class MessageLoopProxy;

// Runs tasks on the thread that created it (one loop per thread). Any thread
// may post; other threads should post through proxy(), which knows when the
// loop is gone. Everything else is for the loop's own thread.
class MessageLoop : public MessagePump::Delegate {
public:
    enum class Type : int32_t { kDefault = 0, kUI = 1 };

    class TaskObserver {
    public:
        virtual ~TaskObserver() = default;
        virtual void WillProcessTask() = 0;
        virtual void DidProcessTask() = 0;
    };
    class DestructionObserver {
    public:
        virtual ~DestructionObserver() = default;
        virtual void WillDestroyCurrentMessageLoop() = 0;
    };

    MessageLoop();
    ~MessageLoop() override;
    MessageLoop(const MessageLoop&) = delete;
    MessageLoop& operator=(const MessageLoop&) = delete;

    static MessageLoop* current();

    void PostTask(StdClosure task);
    void PostDelayedTask(StdClosure task, TimeDelta delay);
    // Non-nestable tasks run only at the outermost run depth.
    void PostNonNestableTask(StdClosure task);
    void PostNonNestableDelayedTask(StdClosure task, TimeDelta delay);

    // Runs until Quit; may be called again from a task to run a nested loop.
    void Run();
    // Ends the innermost run once it has no immediate work left.
    void Quit();
    // A task that runs a nested loop allows nestable tasks for it first.
    void SetNestableTasksAllowed(bool allowed);
    bool NestableTasksAllowed() const { return m_nestableTasksAllowed; }
    int32_t RunDepth() const;

    void AddTaskObserver(TaskObserver* observer);
    void RemoveTaskObserver(TaskObserver* observer);
    void AddDestructionObserver(DestructionObserver* observer);
    void RemoveDestructionObserver(DestructionObserver* observer);

    Type type() const { return m_type; }
    const std::shared_ptr<MessageLoopProxy>& proxy() const { return m_proxy; }

protected:
    MessageLoop(Type type, std::unique_ptr<MessagePump> pump);
    // Runs the pump one run depth deeper than the enclosing run.
    void RunWith(Dispatcher* dispatcher);
    virtual void RunPump();
    Dispatcher* CurrentDispatcher() const;
    MessagePump& pump() const { return *m_pump; }

private:
    struct RunState {
        int32_t runDepth = 0;
        bool quitReceived = false;
        Dispatcher* dispatcher = nullptr;
    };

    bool DoWork() override;
    bool DoDelayedWork(int64_t* nextRunTime) override;
    bool DoIdleWork() override;

    void AddToIncomingQueue(PendingTask task);
    void ReloadWorkQueue();
    void AddToDelayedWorkQueue(PendingTask task);
    bool DeferOrRunPendingTask(PendingTask task);
    void RunTask(PendingTask task);
    bool DeletePendingTasks();

    Type m_type = Type::kDefault;
    // Destroyed on the loop's thread only: a UI pump's window cannot be
    // destroyed from another thread.
    std::unique_ptr<MessagePump> m_pump;
    std::atomic<int32_t> m_wakeUpsInFlight = 0; // posters inside ScheduleWork
    std::shared_ptr<MessageLoopProxy> m_proxy;
    Lock m_incomingLock;
    std::deque<PendingTask> m_incomingQueue; // the only state other threads touch
    std::deque<PendingTask> m_workQueue;
    std::vector<PendingTask> m_delayedWorkQueue; // heap, earliest task at the front
    std::deque<PendingTask> m_deferredNonNestableWorkQueue;
    int32_t m_nextSequenceNum = 0;
    int64_t m_recentTime = 0;
    bool m_nestableTasksAllowed = true;
    RunState* m_state = nullptr;
    std::vector<TaskObserver*> m_taskObservers;
    std::vector<DestructionObserver*> m_destructionObservers;
};

} // namespace obase
