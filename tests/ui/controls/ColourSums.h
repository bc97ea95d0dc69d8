#pragma once

#include "tests/ui/controls/ControlTestHost.h"

namespace ui::test {

// The red, green and blue of every pixel of a painted area added up, to
// tell which colour text or lines were drawn in despite anti-aliasing.
struct ColourSums {
    long long red = 0;
    long long green = 0;
    long long blue = 0;

    static ColourSums Of(const ControlTestHost& host, const UiRect& rect)
    {
        ColourSums sums;
        for (int y = rect.top; y < rect.bottom; ++y) {
            for (int x = rect.left; x < rect.right; ++x) {
                const Pixel pixel = host.PixelAt(x, y);
                sums.red += pixel.r;
                sums.green += pixel.g;
                sums.blue += pixel.b;
            }
        }
        return sums;
    }
    bool MostlyRed() const { return red > 4 * (green + blue) && red > 0; }
    bool MostlyGreen() const { return green > 4 * (red + blue) && green > 0; }
};

} // namespace ui::test
