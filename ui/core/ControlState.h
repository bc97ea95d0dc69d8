#pragma once

#include <cstdint>

namespace ui {

enum ControlState : int32_t {
    kControlStateNormal = 0,
    kControlStateHot = 1,
    kControlStatePushed = 2,
    kControlStateDisabled = 3,
};

} // namespace ui
