#include <algorithm>
#include <cstdint>
#include <limits>
#include <vector>

#include <gtest/gtest.h>

#include "base/PendingTask.h"

namespace {

obase::PendingTask Task(int64_t runTime, int32_t sequence)
{
    obase::PendingTask task;
    task.delayedRunTime = runTime;
    task.sequenceNum = sequence;
    return task;
}

// The delayed queue is a heap on RunsAfter; popping it must give run-time
// order, and posting order among equal run times.
std::vector<int32_t> PopAll(std::vector<obase::PendingTask> tasks)
{
    const auto order = [](const obase::PendingTask& a, const obase::PendingTask& b) {
        return a.RunsAfter(b);
    };
    std::make_heap(tasks.begin(), tasks.end(), order);
    std::vector<int32_t> sequence;
    while (!tasks.empty()) {
        std::pop_heap(tasks.begin(), tasks.end(), order);
        sequence.push_back(tasks.back().sequenceNum);
        tasks.pop_back();
    }
    return sequence;
}

TEST(PendingTaskTest, PostingOrderSurvivesSequenceWrap)
{
    const int32_t max = std::numeric_limits<int32_t>::max();
    const int32_t min = std::numeric_limits<int32_t>::min();
    EXPECT_EQ(PopAll({Task(50, min + 1), Task(50, max), Task(50, min), Task(50, max - 1)}),
              (std::vector<int32_t>{max - 1, max, min, min + 1}));
}

} // namespace
