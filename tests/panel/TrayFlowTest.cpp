// The tray icon and its menu driving the main window, in the program's UI
// thread against the simulated interface.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "base/ThreadRegistry.h"
#include "device/DeviceManager.h"
#include "device/DeviceMessages.h"
#include "panel/MainForm.h"
#include "tests/panel/MainFormTestHost.h"

namespace {

// What the main form told the shell about its icon, in order; the number of
// device closings in the journal is noted with every removal.
struct ShellLog {
    std::mutex lock;
    std::vector<DWORD> commands;
    std::vector<size_t> closesAtRemoval;
    std::atomic<UINT> callbackMessage{0};
};

size_t Count(const std::vector<std::wstring>& calls, const wchar_t* entry)
{
    return static_cast<size_t>(std::count_if(
        calls.begin(), calls.end(), [&](const auto& line) { return line.rfind(entry, 0) == 0; }));
}

TEST(TrayIcon, RecordAsTheShellReadsIt)
{
    std::vector<NOTIFYICONDATAW> sent;
    std::vector<DWORD> commands;
    {
        TrayIcon icon;
        icon.SetNotifyFunction([&](DWORD command, NOTIFYICONDATAW* record) {
            commands.push_back(command);
            sent.push_back(*record);
            return TRUE;
        });
        icon.Add(nullptr);
        EXPECT_TRUE(commands.empty()) << "no window, no icon";
        EXPECT_FALSE(icon.IsAdded());
        icon.Restore();
        EXPECT_TRUE(commands.empty());

        HWND window = ::GetDesktopWindow();
        icon.Add(window);
        ASSERT_EQ(commands, std::vector<DWORD>{NIM_ADD});
        const NOTIFYICONDATAW& added = sent.back();
        EXPECT_EQ(added.cbSize, 968u);
        EXPECT_EQ(added.hWnd, window);
        EXPECT_EQ(added.uID, 132u);
        EXPECT_EQ(added.uFlags, static_cast<UINT>(NIF_MESSAGE | NIF_ICON | NIF_TIP));
        EXPECT_EQ(added.uCallbackMessage, 0x401u);
        EXPECT_NE(added.hIcon, nullptr) << "icon 132 of the program";
        EXPECT_STREQ(added.szTip, L"Korvane audio control Center");

        icon.Remove();
        EXPECT_EQ(commands.back(), static_cast<DWORD>(NIM_DELETE));
        EXPECT_EQ(sent.back().uFlags, 0u);
        EXPECT_FALSE(icon.IsAdded());
        icon.Restore();
        EXPECT_EQ(commands.size(), 2u) << "a removed icon stays removed";
    }
    EXPECT_EQ(commands.back(), static_cast<DWORD>(NIM_DELETE)) << "gone with its owner";
}

class TrayFlowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NE(m_host.Window(), nullptr);
        std::shared_ptr<ShellLog> log = m_log;
        m_host.OnUi([log](MainForm& form) {
            log->callbackMessage = form.GetTrayIcon().Record().uCallbackMessage;
            form.GetTrayIcon().SetNotifyFunction([log](DWORD command, NOTIFYICONDATAW*) {
                std::lock_guard<std::mutex> hold(log->lock);
                log->commands.push_back(command);
                if (command == NIM_DELETE) {
                    log->closesAtRemoval.push_back(
                        MainFormTestHost::Sim().Calls(L"TUSBAUDIO_CloseDevice").size());
                }
                return TRUE;
            });
        });
        m_host.NewCalls();
    }

    void Tray(LPARAM mouseMessage)
    {
        ::PostMessageW(m_host.Window(), 0x401, 132, mouseMessage);
        m_host.OnUi([](MainForm&) {});
    }

    bool Visible() const { return ::IsWindowVisible(m_host.Window()) != FALSE; }
    static bool Eventually(const std::function<bool()>& condition)
    {
        for (int tries = 0; tries < 300 && !condition(); ++tries)
            ::Sleep(10);
        return condition();
    }

    // The menu the last right click opened, driven from the keyboard.
    HWND Menu() const
    {
        HWND menu = nullptr;
        Eventually([&] { return (menu = ::FindWindowW(L"MenuWnd", nullptr)) != nullptr; });
        return menu;
    }
    void MenuKeys(std::initializer_list<WPARAM> keys, bool wait = true)
    {
        HWND menu = Menu();
        ASSERT_NE(menu, nullptr);
        for (WPARAM key : keys)
            ::PostMessageW(menu, WM_KEYDOWN, key, 1);
        if (wait)
            m_host.OnUi([](MainForm&) {});
    }

    MainFormTestHost m_host;
    std::shared_ptr<ShellLog> m_log = std::make_shared<ShellLog>();
};

TEST_F(TrayFlowTest, LeftClickAndShowReconnectOnlyAHiddenWindow)
{
    EXPECT_EQ(m_log->callbackMessage, 0x401u);
    m_host.OnUi([](MainForm& form) { form.HideMainWindow(); });
    EXPECT_FALSE(Visible());
    EXPECT_EQ(Count(m_host.NewCalls(), L"TUSBAUDIO_CloseDevice"), 1u);

    Tray(WM_LBUTTONUP);
    EXPECT_TRUE(Eventually([this] { return Visible(); }));
    EXPECT_TRUE(m_host.WaitForCall(L"TUSBAUDIO_OpenDeviceByIndex"));
    m_host.NewCalls();
    Tray(WM_LBUTTONUP);
    Tray(WM_MOUSEMOVE);
    ::Sleep(300);
    m_host.OnUi([](MainForm&) {});
    EXPECT_TRUE(Visible());
    EXPECT_EQ(Count(m_host.NewCalls(), L"TUSBAUDIO_OpenDeviceByIndex"), 0u)
        << "a visible window is only raised";

    // Right click: the menu opens at the cursor; "Show" acts as a left click.
    m_host.OnUi([](MainForm& form) { form.HideMainWindow(); });
    ::SetCursorPos(150, 120);
    POINT cursor{};
    ::GetCursorPos(&cursor);
    Tray(WM_RBUTTONUP);
    HWND menu = Menu();
    ASSERT_NE(menu, nullptr);
    // The menu is made, shown and placed by the UI thread meanwhile.
    RECT rect{};
    Eventually([&] {
        ::GetWindowRect(menu, &rect);
        return rect.left == cursor.x && rect.top == cursor.y;
    });
    EXPECT_EQ(rect.left, cursor.x);
    EXPECT_EQ(rect.top, cursor.y);
    m_host.NewCalls();
    MenuKeys({VK_DOWN, VK_RETURN});
    EXPECT_TRUE(Eventually([this] { return Visible(); }));
    EXPECT_TRUE(m_host.WaitForCall(L"TUSBAUDIO_OpenDeviceByIndex"));
}

TEST_F(TrayFlowTest, TheIconComesBackWhenTheShellRestarts)
{
    ::PostMessageW(m_host.Window(), ::RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
    // A task alone is no barrier: the loop may run it before the message.
    m_host.Flush();
    std::lock_guard<std::mutex> hold(m_log->lock);
    EXPECT_EQ(m_log->commands, std::vector<DWORD>{NIM_ADD});
}

TEST_F(TrayFlowTest, ExitFromTheMenuRemovesTheIconBeforeClosingTheDevice)
{
    const size_t closesBefore = MainFormTestHost::Sim().Calls(L"TUSBAUDIO_CloseDevice").size();
    // The main window disabled, as a modal settings window leaves it: the
    // icon and its menu still answer.
    m_host.OnUi([](MainForm& form) { ::EnableWindow(form.GetHWND(), FALSE); });
    Tray(WM_RBUTTONUP);
    MenuKeys({VK_END, VK_RETURN}, false); // the loop ends
    ASSERT_TRUE(m_host.WaitForCall(L"TUSBAUDIO_CloseDevice"));
    EXPECT_TRUE(m_host.WaitForCall(L"TUSBAUDIO_UnregisterPnpNotification"));
    std::lock_guard<std::mutex> hold(m_log->lock);
    ASSERT_FALSE(m_log->closesAtRemoval.empty());
    EXPECT_EQ(m_log->commands.front(), static_cast<DWORD>(NIM_DELETE));
    EXPECT_EQ(m_log->closesAtRemoval.front(), closesBefore) << "icon removed first";
}

// Runs `task` on the UI thread once its loop runs, and waits for it.
bool OnUiThread(const std::function<void()>& task)
{
    const auto done = std::make_shared<std::atomic<bool>>(false);
    bool posted = false;
    for (int tries = 0; tries < 500 && !posted; ++tries) {
        posted = obase::ThreadRegistry::PostTask(MainThread::kIdentifier, [task, done] {
            task();
            *done = true;
        });
        if (!posted)
            ::Sleep(10);
    }
    for (int tries = 0; tries < 500 && !*done; ++tries)
        ::Sleep(10);
    return *done;
}

// "Exit" chosen from the tray menu with a device arrival, a show request and
// tray clicks queued behind it: nothing opens the device (or starts the
// threads that go with it) again, and the menu, still fading out, does not
// outlive the UI thread's cleanup.
TEST(TrayExitFlowTest, NothingOutlivesTheExit)
{
    SimTestEnvironment& sim = MainFormTestHost::Sim();
    MainThread ui(true);
    std::atomic<bool> menuLeft = true;
    // Run on a thread of the test, which can look at the windows left
    // after the cleanup: the system would take them when the thread ends.
    std::thread thread([&] {
        ui.Run();
        menuLeft = ::FindWindowW(L"MenuWnd", nullptr) != nullptr;
    });
    HWND mixer = nullptr;
    // A failed step still ends the program before the test does.
    const std::unique_ptr<std::thread, std::function<void(std::thread*)>> ending(
        &thread, [&mixer](std::thread* running) {
            if (running->joinable()) {
                ::PostMessageW(mixer, MainForm::kMsgExit, 0, 0);
                running->join();
            }
        });
    ASSERT_TRUE(OnUiThread([&] { mixer = ui.MainWindow(); }));
    ASSERT_NE(mixer, nullptr);
    const size_t mark = sim.Journal().size();

    ::PostMessageW(mixer, 0x401, 132, WM_RBUTTONUP);
    HWND menu = nullptr;
    for (int tries = 0; tries < 300 && menu == nullptr; ++tries) {
        menu = ::FindWindowW(L"MenuWnd", nullptr);
        ::Sleep(10);
    }
    ASSERT_NE(menu, nullptr);
    // Queued together, so that all of it is handled before the loop ends.
    ASSERT_TRUE(OnUiThread([&] {
        ::PostMessageW(menu, WM_KEYDOWN, VK_END, 1);
        ::PostMessageW(menu, WM_KEYDOWN, VK_RETURN, 1);
        ::PostMessageW(mixer, WM_DEVICE_CHANGE, kDeviceArrived, 0);
        ::PostMessageW(mixer, MainForm::kMsgShow, 0, 0);
        ::PostMessageW(mixer, 0x401, 132, WM_LBUTTONUP);
        ::PostMessageW(mixer, 0x401, 132, WM_RBUTTONUP);
    }));
    thread.join();

    const std::vector<std::wstring> journal = sim.Journal();
    const std::vector<std::wstring> calls(journal.begin() + static_cast<std::ptrdiff_t>(mark),
                                          journal.end());
    EXPECT_EQ(Count(calls, L"TUSBAUDIO_CloseDevice"), 1u);
    EXPECT_EQ(Count(calls, L"TUSBAUDIO_OpenDeviceByIndex"), 0u);
    EXPECT_EQ(Count(calls, L"TUSBAUDIO_RegisterPnpNotification"), 0u);
    EXPECT_EQ(DeviceManager::GetInstance()->deviceHandle, 0u);
    EXPECT_FALSE(menuLeft);
    DeviceManager::GetInstance()->CloseDevice();
}

} // namespace
