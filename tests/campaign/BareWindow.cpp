// bare_window: the least a layered GDI+ window program of the mixer's size
// does, left alone for SECONDS; the baseline row of the soak campaign, so
// that the reader sees how much of a process's memory and processor time
// is the Windows layer's own.
//   bare_window.exe SECONDS
#include <windows.h>

#include <gdiplus.h>

#include <cstdlib>

namespace {

constexpr int kWidth = 1138;
constexpr int kHeight = 555;

void PresentFrame(HWND window)
{
    HDC dc = ::CreateCompatibleDC(nullptr);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = kWidth;
    info.bmiHeader.biHeight = -kHeight;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bitmap = ::CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = ::SelectObject(dc, bitmap);
    {
        Gdiplus::Graphics graphics(dc);
        Gdiplus::SolidBrush brush(Gdiplus::Color(255, 0x22, 0x24, 0x28));
        graphics.FillRectangle(&brush, 0, 0, kWidth, kHeight);
    }
    POINT origin{0, 0};
    SIZE size{kWidth, kHeight};
    BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    ::UpdateLayeredWindow(window, nullptr, nullptr, &size, dc, &origin, 0, &blend, ULW_ALPHA);
    ::SelectObject(dc, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(dc);
}

} // namespace

int main(int argc, char** argv)
{
    const UINT seconds = argc > 1 ? static_cast<UINT>(std::strtoul(argv[1], nullptr, 10)) : 60;
    ULONG_PTR token = 0;
    Gdiplus::GdiplusStartupInput input;
    Gdiplus::GdiplusStartup(&token, &input, nullptr);
    WNDCLASSW wc{};
    wc.lpfnWndProc = ::DefWindowProcW;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = L"KvBareWindow";
    ::RegisterClassW(&wc);
    HWND window = ::CreateWindowExW(WS_EX_LAYERED, wc.lpszClassName, L"bare", WS_POPUP, 0, 0,
                                    kWidth, kHeight, nullptr, nullptr, wc.hInstance, nullptr);
    ::ShowWindow(window, SW_SHOWNOACTIVATE);
    PresentFrame(window);
    // One timer ends the run; nothing else wakes the loop.
    ::SetTimer(nullptr, 0, seconds * 1000, nullptr);
    MSG message;
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (message.message == WM_TIMER && message.hwnd == nullptr)
            break;
        ::DispatchMessageW(&message);
    }
    ::DestroyWindow(window);
    Gdiplus::GdiplusShutdown(token);
    return 0;
}
