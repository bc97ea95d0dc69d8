#pragma once

#include "ui/core/Box.h"
#include "ui/core/TileLayout.h"

namespace ui {

class TileBox : public Box {
public:
    TileBox() : Box(std::make_unique<TileLayout>()) {}
};

} // namespace ui
