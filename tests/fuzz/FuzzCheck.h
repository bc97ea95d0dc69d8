#pragma once

// Shared by the fuzz targets: a broken invariant aborts, so that libFuzzer
// keeps the input that broke it.
#include "ui/render/UiRect.h"

#include <cstdlib>
#include <string>

namespace fuzz {

inline void Check(bool condition)
{
    if (!condition)
        std::abort();
}

// "left,top,right,bottom", as the skin writes a rectangle.
inline std::wstring Format(const ui::UiRect& rect)
{
    return std::to_wstring(rect.left) + L"," + std::to_wstring(rect.top) + L"," +
           std::to_wstring(rect.right) + L"," + std::to_wstring(rect.bottom);
}

} // namespace fuzz
