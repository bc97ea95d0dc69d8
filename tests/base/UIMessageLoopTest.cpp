#include <atomic>
#include <cstdio>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>
#include <windows.h>

#include "base/FrameworkThread.h"
#include "base/MessageLoopProxy.h"
#include "base/UIMessageLoop.h"

namespace {

using obase::TimeDelta;
using obase::UIMessageLoop;
using obase::WinUIMessagePump;

constexpr UINT kTestMessage = WM_APP + 7;

// A plain window on the test thread that notes the test messages it receives.
class TestWindow {
public:
    TestWindow()
    {
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof(windowClass);
        windowClass.lpfnWndProc = &Proc;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"BaseTestWindow";
        RegisterClassExW(&windowClass);
        hwnd = CreateWindowExW(0, L"BaseTestWindow", nullptr, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                               GetModuleHandleW(nullptr), nullptr);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    ~TestWindow() { DestroyWindow(hwnd); }

    void Post(WPARAM tag) { PostMessageW(hwnd, kTestMessage, tag, 0); }

    HWND hwnd = nullptr;
    std::string* log = nullptr;

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
    {
        auto* self = reinterpret_cast<TestWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        if (self && message == kTestMessage && self->log)
            *self->log += static_cast<char>(wParam);
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
};

class MessageRecorder : public WinUIMessagePump::Observer {
public:
    void WillProcessMessage(const MSG& message) override { seen.push_back(message); }
    void DidProcessMessage(const MSG&) override { ++done; }
    std::vector<MSG> seen;
    int done = 0;

    int Count(UINT message) const
    {
        int count = 0;
        for (const MSG& m : seen)
            count += m.message == message ? 1 : 0;
        return count;
    }
};

// The first window of a process starts the window system's driver (under
// Wine: the display driver and its connection to X), which can take seconds
// on a loaded machine. It is done and timed once here, so that the first
// test's time is its own.
class WindowSystemStartup : public testing::Environment {
public:
    void SetUp() override
    {
        const ULONGLONG start = GetTickCount64();
        DestroyWindow(CreateWindowExW(0, L"STATIC", nullptr, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                      GetModuleHandleW(nullptr), nullptr));
        std::printf("window system started in %llu ms\n", GetTickCount64() - start);
    }
};
testing::Environment* const kWindowSystemStartup =
    testing::AddGlobalTestEnvironment(new WindowSystemStartup);

HWND PumpWindow()
{
    return FindWindowExW(HWND_MESSAGE, nullptr, WinUIMessagePump::kWindowClass, nullptr);
}

TEST(UIMessageLoopTest, WakeUpsStayAtOneOutstandingMessage)
{
    UIMessageLoop loop;
    ASSERT_NE(PumpWindow(), nullptr);
    constexpr int kTasks = 3000;
    int ran = 0;
    std::vector<std::thread> producers;
    for (int t = 0; t < 3; ++t) {
        producers.emplace_back([&, proxy = loop.proxy()] {
            for (int i = 0; i < kTasks / 3; ++i)
                proxy->PostTask([&] {
                    if (++ran == kTasks)
                        loop.Quit();
                });
        });
    }
    for (std::thread& producer : producers)
        producer.join();

    int wakeUps = 0;
    MSG message;
    while (PeekMessageW(&message, PumpWindow(), WinUIMessagePump::kHaveWorkMessage,
                        WinUIMessagePump::kHaveWorkMessage, PM_REMOVE))
        ++wakeUps;
    EXPECT_EQ(wakeUps, 1);

    // Every task still runs although the wake-up was taken away above.
    loop.Run();
    EXPECT_EQ(ran, kTasks);
}

TEST(UIMessageLoopTest, ObserversSeeWindowMessagesButNotThePumpsOwn)
{
    UIMessageLoop loop;
    TestWindow window;
    std::string log;
    window.log = &log;
    MessageRecorder recorder;
    loop.AddUIObserver(&recorder);

    loop.PostTask([&] {
        log += 't';
        window.Post('m');
        loop.PostTask([&] {
            log += 'u';
            loop.Quit();
        });
    });
    loop.Run();
    EXPECT_EQ(log, "tmu");
    EXPECT_EQ(recorder.Count(kTestMessage), 1);
    EXPECT_EQ(recorder.done, static_cast<int>(recorder.seen.size()));
    for (const MSG& m : recorder.seen)
        EXPECT_NE(m.hwnd, PumpWindow()) << "message " << m.message;
    loop.RemoveUIObserver(&recorder);
}

TEST(UIMessageLoopTest, WakeUpTakesAnyMessageOutsideModalLoopsOnlyPaintAndTimerInside)
{
    UIMessageLoop loop;
    TestWindow window;
    std::string log;
    window.log = &log;
    // The wake-up message goes into the queue ahead of the window message.
    // Normally the wake-up takes the window message in its place before the
    // task runs; inside a modal loop of the system it leaves it to that loop.
    loop.PostTask([&] {
        loop.PostTask([&] { log += 't'; });
        window.Post('m');
        loop.PostTask([&] {
            loop.SetOSModalLoop(true);
            loop.PostTask([&] { log += 'T'; });
            window.Post('M');
            loop.PostTask([&] {
                loop.SetOSModalLoop(false);
                loop.Quit();
            });
        });
    });
    loop.Run();
    EXPECT_EQ(log, "mtTM");
}

// Timer and paint messages rank below posted ones, so a task that keeps
// posting itself must not keep them out with its wake-up messages.
TEST(UIMessageLoopTest, SelfRepostingTaskDoesNotStarveTimerMessages)
{
    UIMessageLoop loop;
    MessageRecorder recorder;
    loop.AddUIObserver(&recorder);
    TestWindow window;
    constexpr int kMaxReposts = 1000000;
    int reposts = 0;
    obase::StdClosure repost = [&] {
        if (recorder.Count(WM_TIMER) > 0 || ++reposts == kMaxReposts)
            loop.Quit();
        else
            loop.PostTask(repost);
    };
    loop.PostTask([&] {
        SetTimer(window.hwnd, 1, 10, nullptr);
        repost();
    });
    loop.Run();
    KillTimer(window.hwnd, 1);
    EXPECT_GE(recorder.Count(WM_TIMER), 1);
    EXPECT_LT(reposts, kMaxReposts);
    loop.RemoveUIObserver(&recorder);
}

TEST(UIMessageLoopTest, DueDelayedTaskRunsAtNextPassWithoutWaitingForTheTimer)
{
    UIMessageLoop loop;
    MessageRecorder recorder;
    loop.AddUIObserver(&recorder);
    int timersBeforeRun = -1;
    loop.PostTask([&] {
        loop.PostDelayedTask(
            [&] {
                timersBeforeRun = recorder.Count(WM_TIMER);
                loop.Quit();
            },
            TimeDelta());
    });
    loop.Run();
    EXPECT_EQ(timersBeforeRun, 0);
    loop.RemoveUIObserver(&recorder);
}

class StopOnTestMessage : public obase::Dispatcher {
public:
    bool Dispatch(const MSG& message) override
    {
        ++dispatched;
        if (message.message == kTestMessage)
            return false;
        TranslateMessage(&message);
        DispatchMessageW(&message);
        return true;
    }
    int dispatched = 0;
};

TEST(UIMessageLoopTest, DispatcherAnsweringFalseEndsTheRun)
{
    UIMessageLoop loop;
    TestWindow window;
    std::string log;
    window.log = &log;
    StopOnTestMessage dispatcher;
    loop.PostTask([&] { window.Post('m'); });
    loop.RunWithDispatcher(&dispatcher);
    EXPECT_GE(dispatcher.dispatched, 1);
    EXPECT_EQ(log, ""); // the dispatcher kept the message from the window
}

// A UI pump whose wake-up, when posted from another thread, holds that thread
// until released (or for half a second), and which notes where it is destroyed.
class HeldPump : public WinUIMessagePump {
public:
    HeldPump(HANDLE entered, HANDLE release, DWORD* destroyedOn)
        : m_entered(entered), m_release(release), m_destroyedOn(destroyedOn)
    {
    }
    ~HeldPump() override { *m_destroyedOn = GetCurrentThreadId(); }
    void ScheduleWork() override
    {
        if (GetCurrentThreadId() != m_owner) {
            SetEvent(m_entered);
            WaitForSingleObject(m_release, 500);
        }
        WinUIMessagePump::ScheduleWork();
    }

private:
    DWORD m_owner = GetCurrentThreadId();
    HANDLE m_entered;
    HANDLE m_release;
    DWORD* m_destroyedOn;
};

class HeldPumpLoop : public obase::MessageLoop {
public:
    explicit HeldPumpLoop(std::unique_ptr<HeldPump> pump)
        : MessageLoop(Type::kDefault, std::move(pump))
    {
    }
};

TEST(UIMessageLoopTest, LoopEndingWhileAnotherThreadWakesItDestroysThePumpOnItsOwnThread)
{
    HANDLE entered = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE release = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    DWORD destroyedOn = 0;
    auto loop =
        std::make_unique<HeldPumpLoop>(std::make_unique<HeldPump>(entered, release, &destroyedOn));
    std::thread poster([&, raw = loop.get()] { raw->PostTask([] {}); });
    ASSERT_EQ(WaitForSingleObject(entered, 20000), WAIT_OBJECT_0);
    // The poster is inside the wake-up. Ending the loop now must leave the
    // pump's destruction (and its window's) to this thread.
    loop.reset();
    SetEvent(release);
    poster.join();
    EXPECT_EQ(destroyedOn, GetCurrentThreadId());
    EXPECT_EQ(PumpWindow(), nullptr);
    CloseHandle(entered);
    CloseHandle(release);
}

class UiThread : public obase::FrameworkThread {
public:
    UiThread() : FrameworkThread(L"ui test thread") {}
    ~UiThread() override { Stop(); }
    HANDLE cleanedUp = CreateEventW(nullptr, TRUE, FALSE, nullptr);

protected:
    void Cleanup() override { SetEvent(cleanedUp); }
};

TEST(UIMessageLoopTest, QuitMessageInNestedLoopAlsoEndsEnclosingLoop)
{
    UiThread thread;
    ASSERT_TRUE(thread.Start(obase::MessageLoop::Type::kUI));
    std::atomic<bool> nestedReturned = false;
    std::atomic<int> depthInNested = 0;
    thread.message_loop_proxy()->PostTask([&] {
        obase::MessageLoop* loop = obase::MessageLoop::current();
        loop->SetNestableTasksAllowed(true);
        loop->PostTask([&, loop] {
            depthInNested = loop->RunDepth();
            PostQuitMessage(3);
        });
        loop->Run();
        nestedReturned = true;
    });
    // Nobody asks the thread to stop: only the re-posted quit message can end
    // the outer loop.
    EXPECT_EQ(WaitForSingleObject(thread.cleanedUp, 20000), WAIT_OBJECT_0);
    EXPECT_TRUE(nestedReturned);
    EXPECT_EQ(depthInNested, 2);
    thread.Stop();
    CloseHandle(thread.cleanedUp);
}

} // namespace
