#pragma once

// The GDI+ flat API. Its headers need the COM and GDI declarations first,
// and min/max as functions (NOMINMAX is defined for every target).
#include <windows.h>
#include <objidl.h>

#include <algorithm>
namespace Gdiplus {
using std::max;
using std::min;
} // namespace Gdiplus

#include <gdiplus.h>

namespace ui::gdip {
using namespace Gdiplus::DllExports;
using Gdiplus::GpStatus;
using Gdiplus::Ok;
} // namespace ui::gdip
