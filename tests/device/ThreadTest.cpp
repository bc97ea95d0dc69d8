#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>

#include "device/wn/Thread.h"
#include "device/wn/WnAutoResetEvent.h"
#include "device/wn/WnManualResetEvent.h"

namespace {

// A worker that records which of its steps ran.
class RecordingWorker : public Thread {
public:
    uint32_t m_initStatus = 0;
    DWORD m_ignoreStopMs = 0;
    std::atomic<bool> m_initialised = false;
    std::atomic<bool> m_executed = false;
    std::atomic<bool> m_exited = false;

    ~RecordingWorker() override { StopThread(INFINITE); }

protected:
    uint32_t InitThread() override
    {
        m_initialised = true;
        return m_initStatus;
    }
    uint32_t ExecuteThread() override
    {
        m_executed = true;
        ::WaitForSingleObject(StopEventHandle(), INFINITE);
        ::Sleep(m_ignoreStopMs);
        return 0;
    }
    void ExitThread() override { m_exited = true; }
};

bool WaitFor(const std::atomic<bool>& flag)
{
    for (int i = 0; i < 400 && !flag; ++i) {
        ::Sleep(5);
    }
    return flag;
}

TEST(ThreadTest, StoppingAWorkerThatNeverStartedSucceedsAtOnce)
{
    RecordingWorker worker;
    const ULONGLONG start = ::GetTickCount64();
    EXPECT_EQ(0u, worker.StopThread(1000));
    EXPECT_EQ(0u, worker.StopThread(INFINITE));
    EXPECT_LT(::GetTickCount64() - start, 100u);
}

TEST(ThreadTest, RoutineRunsExecuteThenExitUntilStopped)
{
    RecordingWorker worker;
    ASSERT_EQ(0u, worker.StartThread(THREAD_PRIORITY_NORMAL, 0, 0));
    ASSERT_TRUE(WaitFor(worker.m_executed));
    EXPECT_FALSE(worker.m_exited);
    EXPECT_EQ(0u, worker.StopThread(INFINITE));
    EXPECT_TRUE(worker.m_exited);
    EXPECT_FALSE(worker.IsThreadHeld());
}

TEST(ThreadTest, FailedInitialisationSkipsExecuteAndExit)
{
    RecordingWorker worker;
    worker.m_initStatus = 5;
    ASSERT_EQ(0u, worker.StartThread(THREAD_PRIORITY_NORMAL, 0, 0));
    ASSERT_TRUE(WaitFor(worker.m_initialised));
    EXPECT_EQ(0u, worker.StopThread(1000));
    EXPECT_FALSE(worker.m_executed);
    EXPECT_FALSE(worker.m_exited);
}

TEST(ThreadTest, SecondStartIsRefusedAndTheRunningThreadStillStops)
{
    RecordingWorker worker;
    ASSERT_EQ(0u, worker.StartThread(THREAD_PRIORITY_NORMAL, 0, 0));
    ASSERT_TRUE(WaitFor(worker.m_executed));
    EXPECT_EQ(static_cast<uint32_t>(ERROR_ALREADY_EXISTS),
              worker.StartThread(THREAD_PRIORITY_NORMAL, 0, 0));
    // The refused start left the running thread's stop event alone.
    EXPECT_EQ(0u, worker.StopThread(1000));
    EXPECT_TRUE(worker.m_exited);
}

TEST(ThreadTest, LateThreadStaysHeldUntilItEnds)
{
    RecordingWorker worker;
    worker.m_ignoreStopMs = 300;
    ASSERT_EQ(0u, worker.StartThread(THREAD_PRIORITY_NORMAL, 0, 0));
    ASSERT_TRUE(WaitFor(worker.m_executed));
    EXPECT_EQ(static_cast<uint32_t>(WAIT_TIMEOUT), worker.StopThread(20));
    EXPECT_TRUE(worker.IsThreadHeld());
    EXPECT_EQ(static_cast<uint32_t>(ERROR_ALREADY_EXISTS),
              worker.StartThread(THREAD_PRIORITY_NORMAL, 0, 0));
    EXPECT_EQ(0u, worker.StopThread(INFINITE));
    EXPECT_FALSE(worker.IsThreadHeld());
    // Once released the worker can run again.
    worker.m_ignoreStopMs = 0;
    worker.m_executed = false;
    ASSERT_EQ(0u, worker.StartThread(THREAD_PRIORITY_NORMAL, 0, 0));
    ASSERT_TRUE(WaitFor(worker.m_executed));
    EXPECT_EQ(0u, worker.StopThread(1000));
}

TEST(ThreadTest, EventsKeepTheirResetMode)
{
    WnAutoResetEvent automatic;
    WnManualResetEvent manual;
    ASSERT_EQ(0u, automatic.Create());
    ASSERT_EQ(0u, manual.Create());
    ASSERT_EQ(0u, automatic.Set());
    ASSERT_EQ(0u, manual.Set());
    EXPECT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(automatic.Get(), 0));
    EXPECT_EQ(static_cast<DWORD>(WAIT_TIMEOUT), ::WaitForSingleObject(automatic.Get(), 0));
    EXPECT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(manual.Get(), 0));
    EXPECT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(manual.Get(), 0));
    // Creating again replaces the event with a fresh, non-signalled one.
    ASSERT_EQ(0u, manual.Create());
    EXPECT_EQ(static_cast<DWORD>(WAIT_TIMEOUT), ::WaitForSingleObject(manual.Get(), 0));
    manual.Close();
    EXPECT_FALSE(manual.IsValid());
    EXPECT_NE(0u, manual.Set());
}

} // namespace
