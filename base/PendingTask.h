#pragma once

#include <cstdint>

#include "base/StdClosure.h"

namespace obase {

// A task waiting in a message loop's queues.
struct PendingTask {
    StdClosure task;
    int64_t delayedRunTime = 0; // loop-clock microseconds; 0 = run as soon as possible
    int32_t sequenceNum = 0;    // assigned when the task enters the delayed queue
    bool nestable = true;

    // Heap order for the delayed queue: true when this task runs after
    // `other`, i.e. later run time, or equal time and posted later.
    bool RunsAfter(const PendingTask& other) const;
};

} // namespace obase
