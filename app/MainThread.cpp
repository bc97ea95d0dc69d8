#include "app/MainThread.h"

#include <algorithm>

#include "base/ThreadRegistry.h"
#include "panel/MainForm.h"
#include "ui/access/Accessibility.h"
#include "ui/controls/ControlElements.h"
#include "ui/core/DpiApi.h"
#include "ui/core/Window.h"
#include "ui/markup/DpiManager.h"
#include "ui/markup/GlobalManager.h"

namespace {

constexpr int kIconId = 132;
constexpr DWORD kMainWindowStyle = WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX;

// Centres the window on its owner, or on the work area of the nearest
// monitor when it has no owner or the owner is minimised, and keeps it
// inside that work area.
void CenterWindow(HWND window)
{
    RECT rect{};
    ::GetWindowRect(window, &rect);
    HWND owner = ::GetWindow(window, GW_OWNER);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    ::GetMonitorInfoW(::MonitorFromWindow(owner ? owner : window, MONITOR_DEFAULTTONEAREST),
                      &monitor);
    const RECT work = monitor.rcWork;
    RECT center = work;
    if (owner != nullptr && !::IsIconic(owner))
        ::GetWindowRect(owner, &center);
    const LONG width = rect.right - rect.left;
    const LONG height = rect.bottom - rect.top;
    LONG left = (center.left + center.right) / 2 - width / 2;
    LONG top = (center.top + center.bottom) / 2 - height / 2;
    left = std::max(work.left, std::min(left, work.right - width));
    top = std::max(work.top, std::min(top, work.bottom - height));
    ::SetWindowPos(window, nullptr, left, top, -1, -1, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

} // namespace

MainThread::MainThread(bool show) : obase::FrameworkThread(L"MainThread"), m_show(show)
{
    SetLoopType(obase::MessageLoop::Type::kUI);
}

HWND MainThread::MainWindow() const
{
    return m_mainWindow != nullptr && ::IsWindow(m_mainWindow) ? m_mainWindow : nullptr;
}

MainForm* MainThread::Form() const
{
    return MainWindow() != nullptr ? m_form : nullptr;
}

void MainThread::Init()
{
    obase::ThreadRegistry::RegisterThread(kIdentifier);
    m_comInitialized = SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    ui::EnableAccessibility();
    // The skin is drawn for the scale of each window's monitor; outside
    // any window the system's scale stands.
    ui::DpiManager& dpi = ui::DpiManager::GetInstance();
    dpi.SetAdaptDpi(true);
    dpi.SetScale(ui::DpiManager::ScaleFromDpi(ui::DpiApi::GetSystemDpi()));
    LoadSkin();
    ui::GlobalManager::Startup(L"resources\\", {}, L"themes\\default", L"lang\\zh_CN");
    ui::RegisterControlElements();
    CreateMainWindow();
}

void MainThread::LoadSkin()
{
    if (ui::GlobalManager::IsArchiveInUse())
        ui::GlobalManager::CloseArchive();
    ui::GlobalManager::OpenThemeResource(::GetModuleHandleW(nullptr));
}

void MainThread::CreateMainWindow()
{
    auto form = std::make_unique<MainForm>();
    const std::weak_ptr<obase::WeakFlag> alive = form->GetWeakFlag();
    HWND window = form->Create(nullptr, MainForm::kClassName, kMainWindowStyle, 0);
    if (window == nullptr) {
        // A window whose creation failed inside WM_CREATE has deleted itself.
        if (alive.expired())
            form.release();
        // Without its window nothing could ever show or end the program (no
        // tray icon, nothing for "-exitall" to find), yet it would hold the
        // single-instance mutex: it ends instead. A skin that cannot be
        // built has said so in its message box by now.
        ::PostQuitMessage(0);
        return;
    }
    m_form = form.release(); // the native window owns it from here
    m_mainWindow = window;
    m_form->SetIcon(kIconId);
    CenterWindow(window);
    if (m_show)
        m_form->Initialize();
    if (::IsWindow(window))
        ::ShowWindow(window, m_show ? SW_SHOWNORMAL : SW_HIDE);
}

void MainThread::Cleanup()
{
    // The windows and their controls hold skin images and fonts: they go
    // before the resources they use, and the form stops the misc thread as
    // it goes. Its owned windows go with it; the ownerless ones (a tray menu
    // still fading out after "Exit") are destroyed after it.
    if (HWND window = MainWindow())
        ::DestroyWindow(window);
    m_form = nullptr;
    m_mainWindow = nullptr;
    ui::Window::DestroyThreadWindows();
    if (ui::GlobalManager::IsArchiveInUse())
        ui::GlobalManager::CloseArchive();
    ui::GlobalManager::Shutdown();
    SetCurrentThreadQuitting();
    obase::ThreadRegistry::UnregisterThread();
    if (m_comInitialized)
        ::CoUninitialize();
    m_comInitialized = false;
}
