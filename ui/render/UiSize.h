#pragma once

namespace ui {

struct UiSize {
    int cx = 0;
    int cy = 0;

    UiSize() = default;
    UiSize(int width, int height) : cx(width), cy(height) {}

    bool operator==(const UiSize&) const = default;
};

} // namespace ui
