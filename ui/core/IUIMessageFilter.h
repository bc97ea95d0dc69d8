#pragma once

#include <windows.h>

namespace ui {

// Sees a window's messages before the window routes them.
class IUIMessageFilter {
public:
    virtual ~IUIMessageFilter() = default;
    // Setting handled ends the window's processing with the answer returned
    // (except for WM_MOUSEMOVE, whose hover tracking always goes on).
    virtual LRESULT MessageHandler(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) = 0;
};

} // namespace ui
