#include <memory>
#include <optional>

#include <gtest/gtest.h>

#include "base/StdClosure.h"
#include "base/SupportWeakCallback.h"

namespace {

class Owner : public obase::SupportWeakCallback {};

TEST(WeakCallbackTest, RunsOnlyWhileTheOwnerLives)
{
    auto owner = std::make_unique<Owner>();
    int calls = 0;
    obase::StdClosure task = owner->ToWeakCallback([&calls] { ++calls; });
    auto query = owner->ToWeakCallback([&calls](int add) { return ++calls + add; });

    task();
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(query(5), 7);
    EXPECT_FALSE(query.Expired());

    owner.reset();
    task();
    // A callable returning a value gives back a value-initialised result.
    EXPECT_EQ(query(5), 0);
    EXPECT_EQ(calls, 2);
    EXPECT_TRUE(query.Expired());
}

TEST(WeakCallbackTest, CopyOfOwnerDoesNotKeepOriginalCallbacksAlive)
{
    std::optional<Owner> original(std::in_place);
    int calls = 0;
    auto callback = original->ToWeakCallback([&calls] { ++calls; });
    Owner copy = *original;
    Owner assigned;
    auto assignedCallback = assigned.ToWeakCallback([&calls] { calls += 100; });
    assigned = *original;

    original.reset();
    callback();
    EXPECT_EQ(calls, 0);
    // Assignment keeps the target's own flag, so its callbacks live on.
    assignedCallback();
    EXPECT_EQ(calls, 100);
    EXPECT_FALSE(copy.ToWeakCallback([] {}).Expired());
}

} // namespace
