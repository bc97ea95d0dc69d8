#pragma once

#include "ui/core/Box.h"

namespace ui {

// The box that wraps a window's root when the window has a shadow: its
// padding is the shadow's insets and its background the shadow image.
class ShadowBox : public Box {
public:
    ShadowBox() = default;
};

} // namespace ui
