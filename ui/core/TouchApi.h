#pragma once

#include <windows.h>

namespace ui {

// The touch and pointer functions of user32, looked up once at run time;
// each is null where the system does not offer it.
struct TouchApi {
    BOOL(WINAPI* registerTouchWindow)(HWND, ULONG) = nullptr;
    BOOL(WINAPI* unregisterTouchWindow)(HWND) = nullptr;
    BOOL(WINAPI* getTouchInputInfo)(HTOUCHINPUT, UINT, PTOUCHINPUT, int) = nullptr;
    BOOL(WINAPI* closeTouchInputHandle)(HTOUCHINPUT) = nullptr;
    BOOL(WINAPI* getPointerType)(UINT32, POINTER_INPUT_TYPE*) = nullptr;
    BOOL(WINAPI* getPointerTouchInfo)(UINT32, POINTER_TOUCH_INFO*) = nullptr;
    BOOL(WINAPI* getPointerPenInfo)(UINT32, POINTER_PEN_INFO*) = nullptr;

    static const TouchApi& Get();
};

} // namespace ui
