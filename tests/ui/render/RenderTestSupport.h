#pragma once

#include "ui/render/IRenderContext.h"

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

namespace ui::test {

struct Pixel {
    uint8_t b = 0;
    uint8_t g = 0;
    uint8_t r = 0;
    uint8_t a = 0;
};

// Starts GDI+ once for the test program (stopped at exit).
void StartGdiPlus();

// A pixel of the context's bitmap, in device coordinates.
Pixel PixelAt(const IRenderContext& context, int x, int y);

// A 32-bit top-down DIB section filled from colour(x, y) (premultiplied
// BGRA packed as 0xAARRGGBB). The caller deletes it.
HBITMAP MakeBitmap(int width, int height, const std::function<uint32_t(int, int)>& colour);

// Writes the context's pixels as a PNG, to look at what a test drew.
bool SavePng(const IRenderContext& context, const std::wstring& path);

} // namespace ui::test
