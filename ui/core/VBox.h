#pragma once

#include "ui/core/Box.h"
#include "ui/core/VLayout.h"

namespace ui {

class VBox : public Box {
public:
    VBox() : Box(std::make_unique<VLayout>()) {}
};

} // namespace ui
