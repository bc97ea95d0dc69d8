#include "base/PendingTask.h"

namespace obase {

bool PendingTask::RunsAfter(const PendingTask& other) const
{
    if (delayedRunTime != other.delayedRunTime)
        return delayedRunTime > other.delayedRunTime;
    // Sequence numbers wrap; compare by signed distance so that ordering
    // among tasks posted close together survives the wrap.
    const auto distance =
        static_cast<uint32_t>(sequenceNum) - static_cast<uint32_t>(other.sequenceNum);
    return static_cast<int32_t>(distance) > 0;
}

} // namespace obase
