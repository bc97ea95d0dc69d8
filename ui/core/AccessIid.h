#pragma once

#include <windows.h>

namespace ui {

// ui::kIidAccessible. mingw's oleacc import library resolves the symbol of
// that name to an import stub rather than the GUID, so it is spelt out.
inline constexpr GUID kIidAccessible = {
    0x618736e0, 0x3c3d, 0x11cf, {0x81, 0x0c, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};

} // namespace ui
