#include "base/MessageLoop.h"

#include <algorithm>
#include <atomic>
#include <limits>
#include <mutex>
#include <utility>

#include <windows.h>

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

} // namespace

MessageLoop::MessageLoop() : MessageLoop(Type::kDefault, std::make_unique<DefaultMessagePump>()) {}

MessageLoop::MessageLoop(Type type, std::unique_ptr<MessagePump> pump)
    : m_type(type), m_pump(std::move(pump)), m_proxy(new MessageLoopProxy(this))
{
    tCurrentLoop = this;
}

MessageLoop::~MessageLoop()
{
    for (int round = 0; round < kMaxDeleteRounds && DeletePendingTasks(); ++round) {
    }
    for (DestructionObserver* observer : std::vector<DestructionObserver*>(m_destructionObservers))
        observer->WillDestroyCurrentMessageLoop();
    m_proxy->WillDestroyCurrentMessageLoop();
    m_proxy.reset();
    // Posters find no pump once it is taken out under the lock; one still
    // waking it is waited for, so that the pump always goes here, on the
    // loop's thread (a UI pump's window cannot be destroyed elsewhere).
    std::unique_ptr<MessagePump> pump;
    {
        std::lock_guard guard(m_incomingLock);
        pump.swap(m_pump);
    }
    while (m_wakeUpsInFlight.load(std::memory_order_acquire) != 0)
        Sleep(1);
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
// The wake-up itself (a call into the window system) runs outside the lock,
// so that the loop thread never waits for it; the count of wake-ups in flight
// keeps the loop from destroying the pump under a poster.
void MessageLoop::AddToIncomingQueue(PendingTask task)
{
    MessagePump* pump = nullptr;
    {
        std::lock_guard guard(m_incomingLock);
        const bool wasEmpty = m_incomingQueue.empty();
        m_incomingQueue.push_back(std::move(task));
        if (!wasEmpty || !m_pump)
            return;
        pump = m_pump.get();
        m_wakeUpsInFlight.fetch_add(1, std::memory_order_relaxed);
    }
    pump->ScheduleWork();
    // The last touch of this loop: its destructor may go on from here.
    m_wakeUpsInFlight.fetch_sub(1, std::memory_order_release);
}

void MessageLoop::Run()
{
    RunWith(nullptr);
}

void MessageLoop::RunWith(Dispatcher* dispatcher)
{
    RunState state;
    state.runDepth = m_state ? m_state->runDepth + 1 : 1;
    state.dispatcher = dispatcher;
    RunState* const enclosing = m_state;
    m_state = &state;
    RunPump();
    m_state = enclosing;
}

void MessageLoop::RunPump()
{
    m_pump->Run(this);
}

Dispatcher* MessageLoop::CurrentDispatcher() const
{
    return m_state ? m_state->dispatcher : nullptr;
}

void MessageLoop::Quit()
{
    if (m_state)
        m_state->quitReceived = true;
}

void MessageLoop::SetNestableTasksAllowed(bool allowed)
{
    if (allowed && !m_nestableTasksAllowed)
        m_pump->ScheduleWork(); // let the nested run look at the queue at once
    m_nestableTasksAllowed = allowed;
}

int32_t MessageLoop::RunDepth() const
{
    return m_state ? m_state->runDepth : 0;
}

bool MessageLoop::DoWork()
{
    if (!m_nestableTasksAllowed)
        return false;
    for (;;) {
        ReloadWorkQueue();
        if (m_workQueue.empty())
            return false;
        do {
            PendingTask task = std::move(m_workQueue.front());
            m_workQueue.pop_front();
            if (task.delayedRunTime != 0) {
                AddToDelayedWorkQueue(std::move(task));
            } else if (DeferOrRunPendingTask(std::move(task))) {
                return true;
            }
        } while (!m_workQueue.empty());
    }
}

void MessageLoop::ReloadWorkQueue()
{
    if (!m_workQueue.empty())
        return;
    std::lock_guard guard(m_incomingLock);
    m_workQueue.swap(m_incomingQueue);
}

// Sequence numbers keep equal run times in posting order.
void MessageLoop::AddToDelayedWorkQueue(PendingTask task)
{
    const int32_t sequenceNum = m_nextSequenceNum;
    m_nextSequenceNum = static_cast<int32_t>(static_cast<uint32_t>(m_nextSequenceNum) + 1u);
    task.sequenceNum = sequenceNum;
    const int64_t runTime = task.delayedRunTime;
    m_delayedWorkQueue.push_back(std::move(task));
    std::push_heap(m_delayedWorkQueue.begin(), m_delayedWorkQueue.end(), HeapOrder);
    if (m_delayedWorkQueue.front().sequenceNum == sequenceNum)
        m_pump->ScheduleDelayedWork(runTime);
}

bool MessageLoop::DoDelayedWork(int64_t* nextRunTime)
{
    if (!m_nestableTasksAllowed || m_delayedWorkQueue.empty()) {
        m_recentTime = 0;
        *nextRunTime = 0;
        return false;
    }
    // Read the clock only when the cached time says the task is not due yet.
    const int64_t runTime = m_delayedWorkQueue.front().delayedRunTime;
    if (runTime > m_recentTime) {
        m_recentTime = LoopClock::Now();
        if (runTime > m_recentTime) {
            *nextRunTime = runTime;
            return false;
        }
    }
    std::pop_heap(m_delayedWorkQueue.begin(), m_delayedWorkQueue.end(), HeapOrder);
    PendingTask task = std::move(m_delayedWorkQueue.back());
    m_delayedWorkQueue.pop_back();
    *nextRunTime = m_delayedWorkQueue.empty() ? 0 : m_delayedWorkQueue.front().delayedRunTime;
    return DeferOrRunPendingTask(std::move(task));
}

bool MessageLoop::DoIdleWork()
{
    if (m_state->runDepth == 1 && !m_deferredNonNestableWorkQueue.empty()) {
        PendingTask task = std::move(m_deferredNonNestableWorkQueue.front());
        m_deferredNonNestableWorkQueue.pop_front();
        RunTask(std::move(task));
        return true;
    }
    if (m_state->quitReceived)
        m_pump->Quit();
    return false;
}

bool MessageLoop::DeferOrRunPendingTask(PendingTask task)
{
    if (task.nestable || m_state->runDepth == 1) {
        RunTask(std::move(task));
        return true;
    }
    m_deferredNonNestableWorkQueue.push_back(std::move(task));
    return false;
}

void MessageLoop::RunTask(PendingTask task)
{
    m_nestableTasksAllowed = false;
    for (TaskObserver* observer : std::vector<TaskObserver*>(m_taskObservers))
        observer->WillProcessTask();
    if (task.task)
        task.task();
    for (TaskObserver* observer : std::vector<TaskObserver*>(m_taskObservers))
        observer->DidProcessTask();
    m_nestableTasksAllowed = true;
}

// Returns whether there was anything to delete. The queues are emptied before
// the tasks go, so tasks posted by a dying task land in the next round.
bool MessageLoop::DeletePendingTasks()
{
    std::deque<PendingTask> incoming;
    {
        std::lock_guard guard(m_incomingLock);
        incoming.swap(m_incomingQueue);
    }
    const std::deque<PendingTask> work = std::exchange(m_workQueue, {});
    const std::vector<PendingTask> delayed = std::exchange(m_delayedWorkQueue, {});
    const std::deque<PendingTask> deferred = std::exchange(m_deferredNonNestableWorkQueue, {});
    return !incoming.empty() || !work.empty() || !delayed.empty() || !deferred.empty();
}

void MessageLoop::AddTaskObserver(TaskObserver* observer)
{
    m_taskObservers.push_back(observer);
}

void MessageLoop::RemoveTaskObserver(TaskObserver* observer)
{
    std::erase(m_taskObservers, observer);
}

void MessageLoop::AddDestructionObserver(DestructionObserver* observer)
{
    m_destructionObservers.push_back(observer);
}

void MessageLoop::RemoveDestructionObserver(DestructionObserver* observer)
{
    std::erase(m_destructionObservers, observer);
}

} // namespace obase
