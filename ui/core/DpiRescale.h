#pragma once

#include "ui/markup/DpiManager.h"
#include "ui/render/UiPoint.h"
#include "ui/render/UiRect.h"
#include "ui/render/UiSize.h"

namespace ui {

// Pixel values that were scaled for one scale, scaled again for another
// (DpiManager::Rescale on each number).
inline UiRect RescaleRect(const UiRect& rect, int from, int to)
{
    return UiRect(DpiManager::Rescale(rect.left, from, to), DpiManager::Rescale(rect.top, from, to),
                  DpiManager::Rescale(rect.right, from, to),
                  DpiManager::Rescale(rect.bottom, from, to));
}

inline UiSize RescaleSize(UiSize size, int from, int to)
{
    return UiSize(DpiManager::Rescale(size.cx, from, to), DpiManager::Rescale(size.cy, from, to));
}

inline UiPoint RescalePoint(UiPoint point, int from, int to)
{
    return UiPoint(DpiManager::Rescale(point.x, from, to), DpiManager::Rescale(point.y, from, to));
}

} // namespace ui
