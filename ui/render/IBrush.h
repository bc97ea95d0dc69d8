#pragma once

#include <cstdint>
#include <memory>

namespace ui {

class IBrush {
public:
    virtual ~IBrush() = default;

    virtual std::unique_ptr<IBrush> Clone() const = 0;
    // The fill colour of a solid brush; 0 for a texture brush.
    virtual uint32_t GetColor() const = 0;
};

} // namespace ui
