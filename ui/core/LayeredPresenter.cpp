#include "ui/core/LayeredPresenter.h"

namespace ui {

void LayeredPresenter::Present(HWND window, HDC source, const UiSize& size, const UiRect& changed,
                               uint8_t windowAlpha)
{
    if (!m_presentAll && changed.IsEmpty())
        return;
    SIZE windowSize{size.cx, size.cy};
    POINT origin{0, 0};
    BLENDFUNCTION blend{AC_SRC_OVER, 0, windowAlpha, AC_SRC_ALPHA};
    RECT dirty{changed.left, changed.top, changed.right, changed.bottom};
    UPDATELAYEREDWINDOWINFO info{};
    info.cbSize = sizeof(info);
    info.psize = &windowSize;
    info.hdcSrc = source;
    info.pptSrc = &origin;
    info.pblend = &blend;
    info.dwFlags = ULW_ALPHA;
    info.prcDirty = m_presentAll ? nullptr : &dirty;
    if (::UpdateLayeredWindowIndirect(window, &info) != FALSE) {
        m_presentAll = false;
        return;
    }
    // A refused part (the system lost the last frame, or cannot update a
    // part) is retried as a whole frame; a frame that fails too is tried
    // whole again next time.
    if (info.prcDirty != nullptr) {
        info.prcDirty = nullptr;
        m_presentAll = ::UpdateLayeredWindowIndirect(window, &info) == FALSE;
    }
}

} // namespace ui
