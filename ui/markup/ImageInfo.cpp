#include "ui/markup/ImageInfo.h"

namespace ui {

uint32_t ImageInfo::GetFrameDelay(size_t index) const
{
    // A frame without a delay entry counts as 0.
    const uint32_t delay = index < frameDelays.size() ? frameDelays[index] * 10 : 0;
    if (delay < 30)
        return 100;
    if (delay < 50)
        return 50;
    return delay;
}

} // namespace ui
