#pragma once

#include <cstdint>

namespace ui {

// The fades a control can run, keyed in its animation manager.
enum AnimationType : int32_t {
    kAnimationHot = 0,
    kAnimationAlpha = 1,
    kAnimationWidth = 2,
    kAnimationHeight = 3,
    kAnimationInoutXFromLeft = 4,
    kAnimationInoutXFromRight = 5,
    kAnimationInoutYFromTop = 6,
    kAnimationInoutYFromBottom = 7,
};

} // namespace ui
