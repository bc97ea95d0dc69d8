#include "ui/markup/DpiManager.h"

#include <algorithm>

namespace ui {

DpiManager& DpiManager::GetInstance()
{
    static DpiManager instance;
    return instance;
}

int DpiManager::ScaleInt(int value) const
{
    if (!m_adaptDpi || m_scale == 100) {
        return value;
    }
    return MulDiv(value, m_scale, 100);
}

void DpiManager::ScaleRect(RECT& rect) const
{
    const int width = ScaleInt(rect.right - rect.left);
    const int height = ScaleInt(rect.bottom - rect.top);
    rect.left = ScaleInt(rect.left);
    rect.top = ScaleInt(rect.top);
    rect.right = rect.left + width;
    rect.bottom = rect.top + height;
}

int DpiManager::ScaleFromDpi(unsigned dpi)
{
    if (dpi == 0) {
        return 100;
    }
    return std::max(100, MulDiv(static_cast<int>(dpi), 100, kDefaultDpi));
}

int DpiManager::ScaleBy(int value, int percent)
{
    return percent == 100 ? value : MulDiv(value, percent, 100);
}

int DpiManager::Rescale(int value, int from, int to)
{
    if (from == to || from <= 0) {
        return value;
    }
    return ScaleBy(MulDiv(value, 100, from), to);
}

} // namespace ui
