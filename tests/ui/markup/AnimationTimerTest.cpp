#include "ui/markup/AnimationTimerManager.h"
#include "ui/markup/ImageAnimation.h"
#include "ui/markup/ImageInfo.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace ui {
namespace {

// Dispatches the thread's messages until done() or the time is up.
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs)
{
    const DWORD start = ::GetTickCount();
    while (!done()) {
        if (::GetTickCount() - start > timeoutMs)
            return false;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        MSG message;
        while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
            ::DispatchMessageW(&message);
    }
    return true;
}

void Pump(DWORD ms)
{
    PumpUntil([] { return false; }, ms);
}

TEST(AnimationTimerTest, TimersRunTheirCountInDueOrderThenTheTickStops)
{
    AnimationTimerManager& manager = AnimationTimerManager::GetInstance();
    auto owner = std::make_shared<obase::WeakFlag>();
    std::vector<char> calls;
    ASSERT_TRUE(manager.AddTimer(
        owner, [&] { calls.push_back('b'); }, 60, 1));
    ASSERT_TRUE(manager.AddTimer(
        owner, [&] { calls.push_back('a'); }, 20, 3));
    EXPECT_EQ(manager.GetTickPeriod(), AnimationTimerManager::kTickPeriodMs);

    ASSERT_TRUE(PumpUntil([&] { return manager.GetTimerCount() == 0; }, 2000));
    EXPECT_EQ(calls.size(), 4u);
    EXPECT_EQ(calls.front(), 'a');
    EXPECT_EQ(std::count(calls.begin(), calls.end(), 'a'), 3);
    EXPECT_EQ(manager.GetTickPeriod(), 0u);
}

TEST(AnimationTimerTest, ATimerEndsWithItsOwner)
{
    AnimationTimerManager& manager = AnimationTimerManager::GetInstance();
    auto owner = std::make_shared<obase::WeakFlag>();
    int forever = 0;
    int never = 0;
    ASSERT_TRUE(manager.AddTimer(
        owner, [&] { ++forever; }, 16, AnimationTimerManager::kRepeatForever));
    {
        auto shortLived = std::make_shared<obase::WeakFlag>();
        manager.AddTimer(
            shortLived, [&] { ++never; }, 16, 5);
    }
    ASSERT_TRUE(PumpUntil([&] { return forever >= 3; }, 2000));
    owner.reset();
    // The repeating timer goes at its next due time; then nothing ticks.
    ASSERT_TRUE(PumpUntil([&] { return manager.GetTimerCount() == 0; }, 2000));
    EXPECT_EQ(never, 0);
    EXPECT_EQ(manager.GetTickPeriod(), 0u);
}

TEST(AnimationTimerTest, ALongGapSlowsTheTickUntilANearTimerComes)
{
    AnimationTimerManager& manager = AnimationTimerManager::GetInstance();
    auto owner = std::make_shared<obase::WeakFlag>();
    int calls = 0;
    manager.AddTimer(
        owner, [&] { ++calls; }, 1500, 1);
    ASSERT_TRUE(PumpUntil([&] { return manager.GetTickPeriod() != 16; }, 1000));
    EXPECT_GE(manager.GetTickPeriod(), 1000u);
    EXPECT_LE(manager.GetTickPeriod(), 1502u);

    manager.AddTimer(
        owner, [&] { ++calls; }, 10, 1);
    EXPECT_EQ(manager.GetTickPeriod(), 16u);
    ASSERT_TRUE(PumpUntil([&] { return calls == 2; }, 3000));
    EXPECT_EQ(manager.GetTimerCount(), 0u);
}

std::shared_ptr<ImageInfo> ThreeFrames(std::vector<uint32_t> delays)
{
    auto image = std::make_shared<ImageInfo>();
    for (int i = 0; i < 3; ++i)
        image->frames.emplace_back(::CreateBitmap(1, 1, 1, 32, nullptr));
    image->frameDelays = std::move(delays);
    return image;
}

TEST(AnimationTimerTest, AnimationLoopsAsOftenAsThePlayCountSays)
{
    int repaints = 0;
    ImageAnimation animation([&] { ++repaints; });
    animation.SetImage(ThreeFrames({5, 5, 5}), 2);
    animation.Play();
    ASSERT_TRUE(animation.IsPlaying());
    std::vector<int> frames;
    for (int tick = 0; tick < 8 && animation.IsPlaying(); ++tick) {
        animation.OnTick();
        frames.push_back(animation.GetCurrentFrame());
    }
    EXPECT_EQ(frames, (std::vector<int>{1, 2, 0, 1, 2, 0}));
    EXPECT_FALSE(animation.IsPlaying());
    EXPECT_EQ(animation.GetCompletedLoops(), 2);
    EXPECT_EQ(repaints, 6);
    animation.Play();
    EXPECT_FALSE(animation.IsPlaying());

    // A new image counts afresh; play count 0 runs until stopped.
    animation.SetImage(ThreeFrames({5, 5, 5}), 0);
    animation.Play();
    for (int tick = 0; tick < 7; ++tick)
        animation.OnTick();
    EXPECT_TRUE(animation.IsPlaying());
    EXPECT_EQ(animation.GetCurrentFrame(), 1);
    animation.Stop();
    EXPECT_FALSE(animation.IsPlaying());
    EXPECT_EQ(animation.GetCurrentFrame(), 0);
}

TEST(AnimationTimerTest, AnimationRunsOnTheTimerWithEachFramesDelay)
{
    int repaints = 0;
    ImageAnimation animation([&] { ++repaints; });
    // 100 ms, 50 ms, 50 ms: one loop takes 200 ms.
    animation.SetImage(ThreeFrames({1, 4, 5}), 1);
    animation.Play();
    ASSERT_TRUE(PumpUntil([&] { return !animation.IsPlaying(); }, 3000));
    EXPECT_EQ(repaints, 3);
    EXPECT_EQ(animation.GetCurrentFrame(), 0);
    ASSERT_TRUE(
        PumpUntil([] { return AnimationTimerManager::GetInstance().GetTimerCount() == 0; }, 2000));

    // A single-frame image never plays.
    auto still = std::make_shared<ImageInfo>();
    still->frames.emplace_back(::CreateBitmap(1, 1, 1, 32, nullptr));
    animation.SetImage(still, -1);
    animation.Play();
    EXPECT_FALSE(animation.IsPlaying());
    Pump(20);
}

} // namespace
} // namespace ui
