#include "base/MessageLoop.h"

#include <algorithm>
#include <limits>
#include <mutex>
#include <utility>

#include "base/DefaultMessagePump.h"
#include "base/LoopClock.h"
#include "base/MessageLoopProxy.h"

namespace obase {

namespace {

thread_local MessageLoop* tCurrentLoop = nullptr;

// Tasks left at destruction are deleted in rounds, as deleting one may post
// another; the bound keeps a task that always reposts from hanging the thread.
constexpr int kMaxDeleteRounds = 100;

bool HeapOrder(const PendingTask& a, const PendingTask& b)
{
    return a.RunsAfter(b);
}

// Negative delays count as none and huge ones saturate instead of overflowing.
int64_t RunTimeAfter(TimeDelta delay)
{
    const int64_t now = LoopClock::Now();
    const int64_t us = std::max<int64_t>(delay.ToMicroseconds(), 0);
    if (us > std::numeric_limits<int64_t>::max() - now)
        return std::numeric_limits<int64_t>::max();
    return now + us;
}

PendingTask MakeTask(StdClosure task, int64_t runTime, bool nestable)
{
    PendingTask pending;
    pending.task = std::move(task);
    pending.delayedRunTime = runTime;
    pending.nestable = nestable;
    return pending;
}

}  // namespace

MessageLoop::MessageLoop() : MessageLoop(Type::kDefault, std::make_shared<DefaultMessagePump>()) {}

MessageLoop::MessageLoop(Type type, std::shared_ptr<MessagePump> pump)
    : type_(type), pump_(std::move(pump)), proxy_(new MessageLoopProxy(this))
{
    tCurrentLoop = this;
}

MessageLoop::~MessageLoop()
{
    for (int round = 0; round < kMaxDeleteRounds && DeletePendingTasks(); ++round) {
    }
    for (DestructionObserver* observer : std::vector<DestructionObserver*>(destructionObservers_))
        observer->WillDestroyCurrentMessageLoop();
    proxy_->WillDestroyCurrentMessageLoop();
    proxy_.reset();
    std::shared_ptr<MessagePump> pump;
    {
        std::lock_guard guard(incomingLock_);
        pump.swap(pump_);
    }
    pump.reset();
    tCurrentLoop = nullptr;
}

MessageLoop* MessageLoop::current()
{
    return tCurrentLoop;
}

void MessageLoop::PostTask(StdClosure task)
{
    AddToIncomingQueue(MakeTask(std::move(task), 0, true));
}

void MessageLoop::PostDelayedTask(StdClosure task, TimeDelta delay)
{
    AddToIncomingQueue(MakeTask(std::move(task), RunTimeAfter(delay), true));
}

void MessageLoop::PostNonNestableTask(StdClosure task)
{
    AddToIncomingQueue(MakeTask(std::move(task), 0, false));
}

void MessageLoop::PostNonNestableDelayedTask(StdClosure task, TimeDelta delay)
{
    AddToIncomingQueue(MakeTask(std::move(task), RunTimeAfter(delay), false));
}

// The pump is woken only on the empty-to-non-empty transition: a non-empty
// queue means a wake-up is already on its way or the loop is draining it.
void MessageLoop::AddToIncomingQueue(PendingTask task)
{
    std::shared_ptr<MessagePump> pump;
    {
        std::lock_guard guard(incomingLock_);
        const bool wasEmpty = incomingQueue_.empty();
        incomingQueue_.push_back(std::move(task));
        if (!wasEmpty)
            return;
        pump = pump_;
    }
    if (pump)
        pump->ScheduleWork();
}

void MessageLoop::Run()
{
    RunWith(nullptr);
}

void MessageLoop::RunWith(Dispatcher* dispatcher)
{
    RunState state;
    state.runDepth = state_ ? state_->runDepth + 1 : 1;
    state.dispatcher = dispatcher;
    RunState* const enclosing = state_;
    state_ = &state;
    RunPump();
    state_ = enclosing;
}

void MessageLoop::RunPump()
{
    pump_->Run(this);
}

Dispatcher* MessageLoop::CurrentDispatcher() const
{
    return state_ ? state_->dispatcher : nullptr;
}

void MessageLoop::Quit()
{
    if (state_)
        state_->quitReceived = true;
}

void MessageLoop::SetNestableTasksAllowed(bool allowed)
{
    if (allowed && !nestableTasksAllowed_)
        pump_->ScheduleWork();  // let the nested run look at the queue at once
    nestableTasksAllowed_ = allowed;
}

int32_t MessageLoop::RunDepth() const
{
    return state_ ? state_->runDepth : 0;
}

bool MessageLoop::DoWork()
{
    if (!nestableTasksAllowed_)
        return false;
    for (;;) {
        ReloadWorkQueue();
        if (workQueue_.empty())
            return false;
        do {
            PendingTask task = std::move(workQueue_.front());
            workQueue_.pop_front();
            if (task.delayedRunTime != 0) {
                AddToDelayedWorkQueue(std::move(task));
            } else if (DeferOrRunPendingTask(std::move(task))) {
                return true;
            }
        } while (!workQueue_.empty());
    }
}

void MessageLoop::ReloadWorkQueue()
{
    if (!workQueue_.empty())
        return;
    std::lock_guard guard(incomingLock_);
    workQueue_.swap(incomingQueue_);
}

// Sequence numbers keep equal run times in posting order.
void MessageLoop::AddToDelayedWorkQueue(PendingTask task)
{
    const int32_t sequenceNum = nextSequenceNum_;
    nextSequenceNum_ = static_cast<int32_t>(static_cast<uint32_t>(nextSequenceNum_) + 1u);
    task.sequenceNum = sequenceNum;
    const int64_t runTime = task.delayedRunTime;
    delayedWorkQueue_.push_back(std::move(task));
    std::push_heap(delayedWorkQueue_.begin(), delayedWorkQueue_.end(), HeapOrder);
    if (delayedWorkQueue_.front().sequenceNum == sequenceNum)
        pump_->ScheduleDelayedWork(runTime);
}

bool MessageLoop::DoDelayedWork(int64_t* nextRunTime)
{
    if (!nestableTasksAllowed_ || delayedWorkQueue_.empty()) {
        recentTime_ = 0;
        *nextRunTime = 0;
        return false;
    }
    // Read the clock only when the cached time says the task is not due yet.
    const int64_t runTime = delayedWorkQueue_.front().delayedRunTime;
    if (runTime > recentTime_) {
        recentTime_ = LoopClock::Now();
        if (runTime > recentTime_) {
            *nextRunTime = runTime;
            return false;
        }
    }
    std::pop_heap(delayedWorkQueue_.begin(), delayedWorkQueue_.end(), HeapOrder);
    PendingTask task = std::move(delayedWorkQueue_.back());
    delayedWorkQueue_.pop_back();
    *nextRunTime = delayedWorkQueue_.empty() ? 0 : delayedWorkQueue_.front().delayedRunTime;
    return DeferOrRunPendingTask(std::move(task));
}

bool MessageLoop::DoIdleWork()
{
    if (state_->runDepth == 1 && !deferredNonNestableWorkQueue_.empty()) {
        PendingTask task = std::move(deferredNonNestableWorkQueue_.front());
        deferredNonNestableWorkQueue_.pop_front();
        RunTask(std::move(task));
        return true;
    }
    if (state_->quitReceived)
        pump_->Quit();
    return false;
}

bool MessageLoop::DeferOrRunPendingTask(PendingTask task)
{
    if (task.nestable || state_->runDepth == 1) {
        RunTask(std::move(task));
        return true;
    }
    deferredNonNestableWorkQueue_.push_back(std::move(task));
    return false;
}

void MessageLoop::RunTask(PendingTask task)
{
    nestableTasksAllowed_ = false;
    for (TaskObserver* observer : std::vector<TaskObserver*>(taskObservers_))
        observer->WillProcessTask();
    if (task.task)
        task.task();
    for (TaskObserver* observer : std::vector<TaskObserver*>(taskObservers_))
        observer->DidProcessTask();
    nestableTasksAllowed_ = true;
}

// Returns whether there was anything to delete. The queues are emptied before
// the tasks go, so tasks posted by a dying task land in the next round.
bool MessageLoop::DeletePendingTasks()
{
    std::deque<PendingTask> incoming;
    {
        std::lock_guard guard(incomingLock_);
        incoming.swap(incomingQueue_);
    }
    const std::deque<PendingTask> work = std::exchange(workQueue_, {});
    const std::vector<PendingTask> delayed = std::exchange(delayedWorkQueue_, {});
    const std::deque<PendingTask> deferred = std::exchange(deferredNonNestableWorkQueue_, {});
    return !incoming.empty() || !work.empty() || !delayed.empty() || !deferred.empty();
}

void MessageLoop::AddTaskObserver(TaskObserver* observer)
{
    taskObservers_.push_back(observer);
}

void MessageLoop::RemoveTaskObserver(TaskObserver* observer)
{
    std::erase(taskObservers_, observer);
}

void MessageLoop::AddDestructionObserver(DestructionObserver* observer)
{
    destructionObservers_.push_back(observer);
}

void MessageLoop::RemoveDestructionObserver(DestructionObserver* observer)
{
    std::erase(destructionObservers_, observer);
}

}  // namespace obase
