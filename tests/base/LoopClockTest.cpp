#include <cstdint>
#include <vector>

#include <gtest/gtest.h>

#include "base/LoopClock.h"

namespace {

TEST(LoopClockTest, ExtendsTheMillisecondCounterPastItsWraps)
{
    std::vector<uint32_t> readings{0xFFFFFF00u, 0xFFFFFFFFu, 0x10u, 0x10u, 0xFFFFFFF0u, 0x5u};
    size_t next = 0;
    obase::LoopClock clock([&] { return readings[next++]; });
    const int64_t wrap = int64_t{1} << 32;

    EXPECT_EQ(clock.NowMicroseconds(), int64_t{0xFFFFFF00} * 1000);
    EXPECT_EQ(clock.NowMicroseconds(), int64_t{0xFFFFFFFF} * 1000);
    EXPECT_EQ(clock.NowMicroseconds(), (wrap + 0x10) * 1000);
    EXPECT_EQ(clock.NowMicroseconds(), (wrap + 0x10) * 1000); // an equal reading is no wrap
    EXPECT_EQ(clock.NowMicroseconds(), (wrap + 0xFFFFFFF0) * 1000);
    EXPECT_EQ(clock.NowMicroseconds(), (2 * wrap + 0x5) * 1000);
}

} // namespace
