#pragma once

namespace ui {

struct UiPoint {
    int x = 0;
    int y = 0;

    UiPoint() = default;
    UiPoint(int xValue, int yValue) : x(xValue), y(yValue) {}

    void Offset(int dx, int dy)
    {
        x += dx;
        y += dy;
    }
    bool operator==(const UiPoint&) const = default;
};

} // namespace ui
