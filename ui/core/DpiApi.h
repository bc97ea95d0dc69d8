#pragma once

#include <windows.h>

namespace ui {

// The per-monitor DPI functions of user32 (Windows 10 1607 and later),
// looked up once at run time. Where they are missing, the answers fall
// back to the system's DPI, which older systems use for every window.
class DpiApi {
public:
    // The DPI of the window's monitor (the system's without the function).
    static UINT GetDpiForWindow(HWND hwnd);
    static UINT GetSystemDpi();
    // GetSystemMetrics as it answers for the given DPI.
    static int GetSystemMetrics(int index, UINT dpi);
    // The non-client metrics (fonts of tool tips, menus and captions) for
    // the given DPI.
    static NONCLIENTMETRICSW GetNonClientMetrics(UINT dpi);
};

} // namespace ui
