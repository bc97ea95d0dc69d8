#include "ui/controls/ValueStep.h"

#include <algorithm>
#include <limits>

namespace ui {

double ValueStep::Target(ValueKey key, double value, int32_t min, int32_t max, int32_t step,
                         int32_t page, int32_t repeat)
{
    // Wider than the range's own type: min + 1 exists even at its top.
    const double low = min;
    const double high = max > min ? max : low + 1;
    if (key == ValueKey::kToMax)
        return high;
    if (key == ValueKey::kToMin)
        return low;
    const bool paging = key == ValueKey::kPageUp || key == ValueKey::kPageDown;
    const double size =
        static_cast<double>(std::max(paging ? page : step, 1)) * std::max(repeat, 1);
    if (key == ValueKey::kStepUp || key == ValueKey::kPageUp)
        return std::max(value, std::min(value + size, high));
    return std::min(value, std::max(value - size, low));
}

int32_t ValueStep::PageSize(int32_t pageStep, int32_t step, int32_t min, int32_t max)
{
    const int64_t page = pageStep > 0 ? pageStep : (static_cast<int64_t>(max) - min) / 5;
    return static_cast<int32_t>(std::min<int64_t>(std::max<int64_t>(page, std::max(step, 1)),
                                                  std::numeric_limits<int32_t>::max()));
}

} // namespace ui
