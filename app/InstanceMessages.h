#pragma once

#include <windows.h>

// The single-instance mutex and the main window's class share this name.
inline constexpr wchar_t kMainWindowName[] = L"KorVaneControls";
// Posted by a second instance: show the main window and bring it forward.
inline constexpr UINT kMsgShowMain = WM_USER + 100;
// Posted by an instance started with "-exitall": quit.
inline constexpr UINT kMsgExitAll = WM_USER + 101;
