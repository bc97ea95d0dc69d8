#include "ui/markup/DpiManager.h"

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

} // namespace ui
