#pragma once

#include "ui/core/Box.h"
#include "ui/core/HLayout.h"

namespace ui {

class HBox : public Box {
public:
    HBox() : Box(std::make_unique<HLayout>()) {}
};

} // namespace ui
