#include <atomic>
#include <chrono>
#include <functional>
#include <limits>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "base/MessageLoop.h"
#include "base/MessageLoopProxy.h"
#include "tests/base/FakeClock.h"

namespace {

using obase::MessageLoop;
using obase::TimeDelta;

TEST(MessageLoopTest, DelayedTasksRunByRunTimeAndEqualTimesInPostingOrder)
{
    FakeClock clock;
    MessageLoop loop;
    std::string order;
    loop.PostDelayedTask([&] { order += 'c'; }, TimeDelta::FromMilliseconds(30));
    loop.PostDelayedTask([&] { order += 'a'; }, TimeDelta::FromMilliseconds(10));
    loop.PostDelayedTask([&] { order += '1'; }, TimeDelta::FromMilliseconds(20));
    loop.PostDelayedTask([&] { order += '2'; }, TimeDelta::FromMilliseconds(20));
    loop.PostDelayedTask([&] { order += '3'; }, TimeDelta::FromMilliseconds(20));
    loop.PostDelayedTask([&] { order += 'x'; }, TimeDelta::FromMilliseconds(31));
    loop.PostTask([&] { order += 'i'; });
    loop.PostTask([&] { loop.Quit(); });

    clock.Advance(30);
    loop.Run();
    // Immediate work first; due delayed tasks still run before the loop is
    // idle and quits; the one not yet due stays queued.
    EXPECT_EQ(order, "ia123c");
}

TEST(MessageLoopTest, NonNestableTaskWaitsForOuterLoopAtDepthOne)
{
    MessageLoop loop;
    std::vector<std::string> events;
    loop.PostTask([&] {
        events.push_back("outer");
        loop.SetNestableTasksAllowed(true);
        loop.PostNonNestableTask(
            [&] { events.push_back("non-nestable at " + std::to_string(loop.RunDepth())); });
        loop.PostTask([&] {
            events.push_back("nested at " + std::to_string(loop.RunDepth()));
            loop.Quit();
        });
        loop.Run();
        events.push_back("nested returned");
        loop.Quit();
    });
    loop.Run();
    EXPECT_EQ(events, (std::vector<std::string>{"outer", "nested at 2", "nested returned",
                                                "non-nestable at 1"}));
}

TEST(MessageLoopTest, TasksFromManyThreadsAllRunInPerThreadOrder)
{
    constexpr int kThreads = 4;
    constexpr int kPerThread = 5000;
    MessageLoop loop;
    std::vector<int> lastSeen(kThreads, -1);
    int total = 0;
    bool ordered = true;
    std::vector<std::thread> producers;
    for (int t = 0; t < kThreads; ++t) {
        producers.emplace_back([&, t, proxy = loop.proxy()] {
            for (int i = 0; i < kPerThread; ++i) {
                proxy->PostTask([&, t, i] {
                    ordered = ordered && lastSeen[t] == i - 1;
                    lastSeen[t] = i;
                    if (++total == kThreads * kPerThread)
                        loop.Quit();
                });
            }
        });
    }
    loop.Run();
    for (std::thread& producer : producers)
        producer.join();
    EXPECT_EQ(total, kThreads * kPerThread);
    EXPECT_TRUE(ordered);
}

// The default pump skips its event when a task posts to its own loop; posts
// from other threads must still wake a loop that waits.
TEST(MessageLoopTest, SelfRepostingTimerKeepsRunningAndOtherThreadsStillWakeTheLoop)
{
    MessageLoop loop;
    int ticks = 0;
    std::thread poster;
    std::function<void()> tick = [&] {
        if (++ticks < 5) {
            loop.PostDelayedTask(tick, TimeDelta::FromMilliseconds(20));
            return;
        }
        // Nothing left but a far backstop: the loop sleeps until the post.
        poster = std::thread([proxy = loop.proxy(), &loop] {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            proxy->PostTask([&loop] { loop.Quit(); });
        });
    };
    loop.PostDelayedTask([&] { loop.Quit(); }, TimeDelta::FromSeconds(10));
    loop.PostDelayedTask(tick, TimeDelta::FromMilliseconds(20));
    const auto start = std::chrono::steady_clock::now();
    loop.Run();
    const auto elapsed = std::chrono::steady_clock::now() - start;
    poster.join();
    EXPECT_EQ(ticks, 5);
    EXPECT_GE(elapsed, std::chrono::milliseconds(130));
    EXPECT_LT(elapsed, std::chrono::seconds(3));
}

struct Reposter {
    std::shared_ptr<int> payload;
    ~Reposter()
    {
        // Deleting this task posts another; loop destruction must delete that too.
        if (MessageLoop* loop = MessageLoop::current())
            loop->PostTask([p = payload] {});
    }
};

class RecordingObserver : public MessageLoop::DestructionObserver {
public:
    void WillDestroyCurrentMessageLoop() override { ++calls; }
    int calls = 0;
};

TEST(MessageLoopTest, DestructionDeletesPendingTasksUnrunAndProxyAnswersFalse)
{
    auto payload = std::make_shared<int>(1);
    std::weak_ptr<int> watch = payload;
    bool ran = false;
    RecordingObserver observer;
    std::shared_ptr<obase::MessageLoopProxy> proxy;
    {
        MessageLoop loop;
        proxy = loop.proxy();
        loop.AddDestructionObserver(&observer);
        EXPECT_TRUE(proxy->BelongsToCurrentThread());
        std::thread([&] { EXPECT_FALSE(proxy->BelongsToCurrentThread()); }).join();

        auto reposter = std::make_shared<Reposter>();
        reposter->payload = payload;
        loop.PostTask([&ran, reposter] { ran = true; });
        loop.PostDelayedTask([&ran, payload] { ran = true; }, TimeDelta::FromSeconds(60));
        EXPECT_TRUE(proxy->PostNonNestableTask([&ran] { ran = true; }));
        payload.reset();
    }
    EXPECT_FALSE(ran);
    EXPECT_TRUE(watch.expired());
    EXPECT_EQ(observer.calls, 1);
    EXPECT_EQ(MessageLoop::current(), nullptr);

    auto late = std::make_shared<int>(2);
    std::weak_ptr<int> lateWatch = late;
    EXPECT_FALSE(proxy->PostTask([late] {}));
    EXPECT_FALSE(proxy->PostDelayedTask([late] {}, TimeDelta::FromMilliseconds(5)));
    EXPECT_FALSE(proxy->BelongsToCurrentThread());
    late.reset();
    EXPECT_TRUE(lateWatch.expired());
}

class CountingTaskObserver : public MessageLoop::TaskObserver {
public:
    explicit CountingTaskObserver(MessageLoop& loop) : m_loop(loop) {}
    void WillProcessTask() override { ++before; }
    void DidProcessTask() override
    {
        ++after;
        m_loop.RemoveTaskObserver(this); // removing itself while being told must be safe
    }
    int before = 0;
    int after = 0;

private:
    MessageLoop& m_loop;
};

TEST(MessageLoopTest, ObserversEmptyTasksAndHugeDelaysAreSafe)
{
    MessageLoop loop;
    CountingTaskObserver observer(loop);
    loop.AddTaskObserver(&observer);
    int ran = 0;
    loop.PostTask([&] { ++ran; });
    loop.PostTask(obase::StdClosure());
    loop.PostDelayedTask([&] { ran += 100; },
                         TimeDelta::FromMicroseconds(std::numeric_limits<int64_t>::max()));
    loop.PostDelayedTask([&] { ++ran; }, TimeDelta::FromMilliseconds(-5));
    loop.PostTask([&] { loop.Quit(); });
    loop.Run();
    EXPECT_EQ(ran, 2);
    EXPECT_EQ(observer.before, 1);
    EXPECT_EQ(observer.after, 1);
}

} // namespace
