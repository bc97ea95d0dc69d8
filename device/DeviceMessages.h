#pragma once

#include <windows.h>

// Posted by the driver library to the window registered for plug and play:
// wParam 1 = a device arrived, 2 = a device was removed.
inline constexpr UINT WM_DEVICE_CHANGE = WM_USER + 102;
// Posted by the device monitor to every window in DeviceManager::notifyWindows:
// wParam 0, lParam = the driver's notification category.
inline constexpr UINT WM_DEVICE_NOTIFICATION = WM_USER + 103;

inline constexpr WPARAM kDeviceArrived = 1;
inline constexpr WPARAM kDeviceRemoved = 2;
