// Shows the test form of the skin archive and drives it with posted mouse
// and keyboard messages, to look at it: hover over "first" (hot fade),
// press "second" (pushed colour), Tab from "second" to "third" (focus
// shows as hot). Ends after the given number of seconds (default 8); a
// second argument names a PNG file that receives the window's back buffer
// with its alpha, as Windows would compose it.
#include "tests/ui/core/CoreTestSupport.h"
#include "tests/ui/render/RenderTestSupport.h"
#include "ui/core/Control.h"
#include "ui/markup/GlobalManager.h"

#include <windows.h>

#include <shellapi.h>

#include <cwchar>
#include <string>

namespace {

ui::test::TestForm* g_form = nullptr;

LPARAM CentreOf(const wchar_t* name)
{
    const ui::Control* control = g_form->FindControl(std::wstring(name));
    const ui::UiRect rect = control->GetRect();
    return MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
}

// One scripted input every half second.
void RunStep(int step)
{
    HWND hwnd = g_form->GetHWND();
    if (step == 1)
        ::PostMessageW(hwnd, WM_MOUSEMOVE, 0, CentreOf(L"first"));
    else if (step == 2)
        ::PostMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, CentreOf(L"second"));
    else if (step == 3)
        ::PostMessageW(hwnd, WM_KEYDOWN, VK_TAB, 0);
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
    int count = 0;
    wchar_t** arguments = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    const int seconds = count > 1 ? _wtoi(arguments[1]) : 8;
    const std::wstring backBufferFile = count > 2 ? arguments[2] : L"";
    ::LocalFree(arguments);
    if (ui::GlobalManager::OpenThemeResource(instance) != 0)
        return 1;
    ui::GlobalManager::Startup(L"coretest\\", {}, L"skin", L"lang");
    // A light backdrop, so that the drop shadow shows.
    HWND backdrop = ::CreateWindowExW(
        0, L"STATIC", nullptr, WS_POPUP | WS_VISIBLE, 0, 0, ::GetSystemMetrics(SM_CXSCREEN),
        ::GetSystemMetrics(SM_CYSCREEN), nullptr, nullptr, instance, nullptr);
    g_form = ui::test::TestForm::Open(L"TestForm.xml");
    if (g_form == nullptr)
        return 2;
    ::SetWindowPos(g_form->GetHWND(), nullptr, 40, 40, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    g_form->ShowWindow(true, true);
    ::SetTimer(nullptr, 0, 500, nullptr);
    MSG message;
    int step = 0;
    while (step < seconds * 2 && ::GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (message.message == WM_TIMER && message.hwnd == nullptr) {
            RunStep(++step);
            continue;
        }
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
    if (!backBufferFile.empty())
        ui::test::SavePng(*g_form->GetRenderContext(), backBufferFile);
    if (::IsWindow(g_form->GetHWND()))
        ::DestroyWindow(g_form->GetHWND());
    ::DestroyWindow(backdrop);
    ui::GlobalManager::Shutdown();
    return 0;
}
