#include "ui/core/DpiApi.h"

#include <initializer_list>

namespace ui {

namespace {

struct Functions {
    UINT(WINAPI* getDpiForWindow)(HWND) = nullptr;
    int(WINAPI* getSystemMetricsForDpi)(int, UINT) = nullptr;
    BOOL(WINAPI* systemParametersInfoForDpi)(UINT, UINT, PVOID, UINT, UINT) = nullptr;
};

template <typename Function>
void Lookup(HMODULE module, const char* name, Function& function)
{
    // Through void(*)() so that the cast between function types is allowed.
    function =
        reinterpret_cast<Function>(reinterpret_cast<void (*)()>(::GetProcAddress(module, name)));
}

const Functions& Get()
{
    static const Functions functions = [] {
        Functions result;
        if (HMODULE user32 = ::GetModuleHandleW(L"user32.dll")) {
            Lookup(user32, "GetDpiForWindow", result.getDpiForWindow);
            Lookup(user32, "GetSystemMetricsForDpi", result.getSystemMetricsForDpi);
            Lookup(user32, "SystemParametersInfoForDpi", result.systemParametersInfoForDpi);
        }
        return result;
    }();
    return functions;
}

} // namespace

UINT DpiApi::GetDpiForWindow(HWND hwnd)
{
    if (Get().getDpiForWindow != nullptr && hwnd != nullptr) {
        if (const UINT dpi = Get().getDpiForWindow(hwnd))
            return dpi;
    }
    return GetSystemDpi();
}

UINT DpiApi::GetSystemDpi()
{
    HDC screen = ::GetDC(nullptr);
    const int dpi = screen != nullptr ? ::GetDeviceCaps(screen, LOGPIXELSY) : 0;
    if (screen != nullptr)
        ::ReleaseDC(nullptr, screen);
    return dpi > 0 ? static_cast<UINT>(dpi) : USER_DEFAULT_SCREEN_DPI;
}

int DpiApi::GetSystemMetrics(int index, UINT dpi)
{
    if (Get().getSystemMetricsForDpi != nullptr)
        return Get().getSystemMetricsForDpi(index, dpi);
    // The system's metrics are those of its own DPI.
    return ::MulDiv(::GetSystemMetrics(index), static_cast<int>(dpi),
                    static_cast<int>(GetSystemDpi()));
}

NONCLIENTMETRICSW DpiApi::GetNonClientMetrics(UINT dpi)
{
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    if (Get().systemParametersInfoForDpi != nullptr &&
        Get().systemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0,
                                         dpi))
        return metrics;
    metrics = {};
    metrics.cbSize = sizeof(metrics);
    ::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
    const int system = static_cast<int>(GetSystemDpi());
    for (LOGFONTW* font : {&metrics.lfCaptionFont, &metrics.lfSmCaptionFont, &metrics.lfMenuFont,
                           &metrics.lfStatusFont, &metrics.lfMessageFont})
        font->lfHeight = ::MulDiv(font->lfHeight, static_cast<int>(dpi), system);
    return metrics;
}

} // namespace ui
