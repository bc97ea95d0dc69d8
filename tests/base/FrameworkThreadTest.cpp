#include <atomic>
#include <functional>
#include <string>
#include <memory>
#include <thread>

#include <gtest/gtest.h>
#include <windows.h>

#include "base/FrameworkThread.h"
#include "base/ThreadRegistry.h"

namespace {

using obase::FrameworkThread;
using obase::ThreadRegistry;
using obase::TimeDelta;

// Generous: these bound a hang, they do not measure anything.
constexpr DWORD kPatienceMs = 20000;

class TestThread : public FrameworkThread {
public:
    explicit TestThread(int32_t priority = 0) : FrameworkThread(L"test thread", priority) {}
    ~TestThread() override { Stop(); }

    std::function<void()> onInit;
    std::function<void()> onCleanup;

protected:
    void Init() override
    {
        if (onInit)
            onInit();
    }
    void Cleanup() override
    {
        if (onCleanup)
            onCleanup();
    }
};

class Event {
public:
    Event() : m_handle(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}
    ~Event() { CloseHandle(m_handle); }
    void Signal() { SetEvent(m_handle); }
    bool Wait(DWORD ms = kPatienceMs) { return WaitForSingleObject(m_handle, ms) == WAIT_OBJECT_0; }

private:
    HANDLE m_handle;
};

// Waits until `done` holds, checking often; false after the patience runs out.
bool Eventually(const std::function<bool()>& done)
{
    for (DWORD waited = 0; waited < kPatienceMs; waited += 5) {
        if (done())
            return true;
        Sleep(5);
    }
    return done();
}

class Owner : public obase::SupportWeakCallback {};

// Collects what the calling thread writes to the debugger while it lives:
// OutputDebugString raises a printing exception that a vectored handler sees
// before the system's own handling, which goes on unchanged.
class DebugOutput {
public:
    DebugOutput() : m_handler(AddVectoredExceptionHandler(1, &Handler)) { tText = &text; }
    ~DebugOutput()
    {
        RemoveVectoredExceptionHandler(m_handler);
        tText = nullptr;
    }
    std::wstring text;

private:
    static LONG CALLBACK Handler(EXCEPTION_POINTERS* info)
    {
        const EXCEPTION_RECORD& record = *info->ExceptionRecord;
        if (tText && record.NumberParameters >= 2) {
            if (record.ExceptionCode == DBG_PRINTEXCEPTION_WIDE_C)
                *tText += reinterpret_cast<const wchar_t*>(record.ExceptionInformation[1]);
            else if (record.ExceptionCode == DBG_PRINTEXCEPTION_C)
                for (const char* c = reinterpret_cast<const char*>(record.ExceptionInformation[1]);
                     *c; ++c)
                    *tText += static_cast<wchar_t>(*c);
        }
        return EXCEPTION_CONTINUE_SEARCH;
    }
    static thread_local std::wstring* tText;
    void* m_handler;
};
thread_local std::wstring* DebugOutput::tText = nullptr;

// Breaks the destruction contract: does not stop itself.
class UnstoppedThread : public FrameworkThread {
public:
    explicit UnstoppedThread(std::atomic<bool>& cleanedUp)
        : FrameworkThread(L"unstopped"), m_cleanedUp(cleanedUp)
    {
    }

protected:
    void Cleanup() override { m_cleanedUp = true; }

private:
    std::atomic<bool>& m_cleanedUp;
};

TEST(FrameworkThreadTest, StartRunsInitFirstAndStopFromAnotherThreadJoins)
{
    TestThread thread;
    std::atomic<bool> initDone = false;
    std::atomic<bool> quittingAtCleanup = false;
    std::atomic<DWORD> cleanupThread = 0;
    thread.onInit = [&] { initDone = true; };
    thread.onCleanup = [&] {
        quittingAtCleanup = FrameworkThread::IsCurrentThreadQuitting();
        cleanupThread = GetCurrentThreadId();
    };

    ASSERT_TRUE(thread.Start());
    EXPECT_TRUE(initDone);
    EXPECT_TRUE(thread.IsRunning());
    EXPECT_FALSE(thread.Start());
    const DWORD firstId = thread.thread_id();
    EXPECT_NE(firstId, 0u);
    EXPECT_NE(firstId, GetCurrentThreadId());

    std::thread([&] { thread.Stop(); }).join();
    EXPECT_FALSE(thread.IsRunning());
    EXPECT_EQ(cleanupThread, firstId);
    EXPECT_TRUE(quittingAtCleanup);

    // A stopped thread starts again, as the misc thread does on replug.
    initDone = false;
    ASSERT_TRUE(thread.Start());
    EXPECT_TRUE(initDone);
    thread.Stop();
}

TEST(FrameworkThreadTest, DestroyedWhileRunning)
{
    // A derived thread that stops itself in its destructor runs its Cleanup
    // with the derived object whole (its members still usable) and unregisters.
    std::atomic<bool> cleanupSawMember = false;
    {
        auto thread = std::make_unique<TestThread>();
        thread->onInit = [] { ThreadRegistry::RegisterThread(11); };
        thread->onCleanup = [&cleanupSawMember, &thread] {
            cleanupSawMember = static_cast<bool>(thread->onInit);
            ThreadRegistry::UnregisterThread();
        };
        ASSERT_TRUE(thread->Start());
    }
    EXPECT_TRUE(cleanupSawMember);
    EXPECT_EQ(ThreadRegistry::GetMessageLoopProxy(11), nullptr);

    // One that does not is not destroyed silently: the fault is reported, the
    // OS thread ends, no virtual of the half-destroyed object is called, and
    // the identifier it held is released.
    DebugOutput debug;
    std::atomic<bool> cleanedUp = false;
    HANDLE osThread = nullptr;
    {
        UnstoppedThread thread(cleanedUp);
        ASSERT_TRUE(thread.Start());
        ASSERT_TRUE(ThreadRegistry::GetMessageLoopProxy(12) == nullptr);
        Event registered;
        thread.message_loop_proxy()->PostTask([&] {
            ThreadRegistry::RegisterThread(12);
            registered.Signal();
        });
        ASSERT_TRUE(registered.Wait());
        osThread = OpenThread(SYNCHRONIZE, FALSE, thread.thread_id());
    }
    EXPECT_NE(debug.text.find(L"FrameworkThread destroyed while running"), std::wstring::npos)
        << "nothing reported";
    EXPECT_FALSE(cleanedUp);
    ASSERT_NE(osThread, nullptr);
    EXPECT_EQ(WaitForSingleObject(osThread, 0), WAIT_OBJECT_0);
    CloseHandle(osThread);
    EXPECT_EQ(ThreadRegistry::GetMessageLoopProxy(12), nullptr);
}

TEST(FrameworkThreadTest, PriorityMapping)
{
    const int expected[][2] = {
        {1, THREAD_PRIORITY_LOWEST},       {2, THREAD_PRIORITY_BELOW_NORMAL},
        {3, THREAD_PRIORITY_HIGHEST},      {4, THREAD_PRIORITY_TIME_CRITICAL},
        {9, THREAD_PRIORITY_BELOW_NORMAL}, {0, THREAD_PRIORITY_NORMAL}};
    for (const auto& [priority, osPriority] : expected) {
        TestThread thread(priority);
        ASSERT_TRUE(thread.Start());
        HANDLE handle = OpenThread(THREAD_QUERY_INFORMATION, FALSE, thread.thread_id());
        ASSERT_NE(handle, nullptr);
        EXPECT_EQ(GetThreadPriority(handle), osPriority) << "priority " << priority;
        CloseHandle(handle);
    }
}

TEST(FrameworkThreadTest, RegistrationRules)
{
    EXPECT_FALSE(ThreadRegistry::RegisterThread(5)); // not a framework thread

    TestThread first;
    TestThread second;
    bool firstResults[2] = {};
    bool secondResults[4] = {};
    first.onInit = [&] {
        firstResults[0] = ThreadRegistry::RegisterThread(7);
        firstResults[1] = ThreadRegistry::RegisterThread(7); // again, counted
    };
    // Unregisters once only: the second registration is left to the thread's end.
    first.onCleanup = [] { ThreadRegistry::UnregisterThread(); };
    second.onInit = [&] {
        secondResults[0] = ThreadRegistry::RegisterThread(7);
        secondResults[1] = ThreadRegistry::RegisterThread(-1);
        secondResults[2] = ThreadRegistry::RegisterThread(8);
        secondResults[3] = ThreadRegistry::RegisterThread(9);
    };
    ASSERT_TRUE(first.Start());
    ASSERT_TRUE(second.Start());
    EXPECT_TRUE(firstResults[0]);
    EXPECT_TRUE(firstResults[1]);
    EXPECT_FALSE(secondResults[0]); // taken by the other thread
    EXPECT_FALSE(secondResults[1]);
    EXPECT_TRUE(secondResults[2]);
    EXPECT_FALSE(secondResults[3]); // a thread holds one identifier

    Event ran;
    std::atomic<DWORD> ranOn = 0;
    EXPECT_TRUE(ThreadRegistry::PostTask(7, [&] {
        ranOn = GetCurrentThreadId();
        ran.Signal();
    }));
    ASSERT_TRUE(ran.Wait());
    EXPECT_EQ(ranOn, first.thread_id());

    std::shared_ptr<obase::MessageLoopProxy> proxy = ThreadRegistry::GetMessageLoopProxy(7);
    ASSERT_NE(proxy, nullptr);
    first.Stop();
    EXPECT_EQ(ThreadRegistry::GetMessageLoopProxy(7), nullptr);
    EXPECT_FALSE(proxy->PostTask([] {}));

    auto payload = std::make_shared<int>(0);
    std::weak_ptr<int> watch = payload;
    EXPECT_FALSE(ThreadRegistry::PostTask(7, [payload] {}));
    EXPECT_FALSE(ThreadRegistry::PostDelayedTask(
        42, [payload] {}, TimeDelta::FromMilliseconds(1)));
    payload.reset();
    EXPECT_TRUE(watch.expired());
}

TEST(FrameworkThreadTest, WeakTaskOfDestroyedOwnerDoesNothing)
{
    TestThread thread;
    thread.onInit = [] { ThreadRegistry::RegisterThread(1); };
    ASSERT_TRUE(thread.Start());

    auto owner = std::make_unique<Owner>();
    std::atomic<int> calls = 0;
    obase::StdClosure weak = owner->ToWeakCallback([&] { ++calls; });
    owner.reset();
    Event done;
    EXPECT_TRUE(ThreadRegistry::PostTask(1, weak));
    EXPECT_TRUE(ThreadRegistry::PostTask(1, [&] { done.Signal(); }));
    ASSERT_TRUE(done.Wait());
    EXPECT_EQ(calls, 0);
}

TEST(FrameworkThreadTest, RepeatedTaskRunsUntilItsOwnerGoes)
{
    TestThread thread;
    thread.onInit = [] { ThreadRegistry::RegisterThread(1); };
    ASSERT_TRUE(thread.Start());

    auto owner = std::make_unique<Owner>();
    auto payload = std::make_shared<int>(0);
    std::weak_ptr<int> watch = payload;
    std::atomic<int> runs = 0;
    EXPECT_TRUE(
        ThreadRegistry::PostRepeatedTask(1, owner->ToWeakCallback([&runs, payload] { ++runs; }),
                                         TimeDelta::FromMilliseconds(200), -1));
    payload.reset();

    ASSERT_TRUE(Eventually([&] { return runs >= 3; }));
    EXPECT_FALSE(watch.expired()); // still scheduled
    owner.reset();
    // The next run finds the owner gone and does not repost: the task, and
    // what it holds, is released while the thread keeps running.
    ASSERT_TRUE(Eventually([&] { return watch.expired(); }));
    EXPECT_TRUE(thread.IsRunning());
}

TEST(FrameworkThreadTest, RepeatedTaskRunsTheGivenNumberOfTimes)
{
    TestThread thread;
    thread.onInit = [] { ThreadRegistry::RegisterThread(1); };
    ASSERT_TRUE(thread.Start());

    Owner owner;
    auto payload = std::make_shared<int>(0);
    std::weak_ptr<int> watch = payload;
    std::atomic<int> runs = 0;
    auto task = owner.ToWeakCallback(obase::StdClosure([&runs, payload] { ++runs; }));
    payload.reset();
    EXPECT_FALSE(ThreadRegistry::PostRepeatedTask(1, task, TimeDelta::FromMilliseconds(1), 0));
    EXPECT_FALSE(ThreadRegistry::PostRepeatedTask(1, task, TimeDelta::FromMilliseconds(1), -2));
    EXPECT_FALSE(ThreadRegistry::PostRepeatedTask(3, task, TimeDelta::FromMilliseconds(1), 1));
    EXPECT_TRUE(ThreadRegistry::PostRepeatedTask(1, task, TimeDelta::FromMilliseconds(5), 3));
    task = owner.ToWeakCallback(obase::StdClosure());

    ASSERT_TRUE(Eventually([&] { return watch.expired(); }));
    EXPECT_EQ(runs, 3);
}

} // namespace
