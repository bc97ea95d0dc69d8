#pragma once

#include "ui/core/Box.h"

namespace ui {

// Pages stacked in one rectangle; the program shows one at a time through
// their visibility.
class TabBox : public Box {
public:
    TabBox() = default;
};

} // namespace ui
