// The program started as separate processes: single instance, "-hide",
// "-exitall" and the failures of the driver binding.
#include "tests/app/DriverRegistration.h"
#include "tests/app/PanelProcess.h"
#include "tests/campaign/ThemeResource.h"
#include "tests/sim/SimTestEnvironment.h"

#include <gtest/gtest.h>

#include <shellapi.h>

namespace {

constexpr wchar_t kMainClass[] = L"KorVaneControls";
constexpr UINT kMsgExitAll = WM_USER + 101;

bool MutexExists()
{
    HANDLE mutex = ::OpenMutexW(SYNCHRONIZE, FALSE, kMainClass);
    if (mutex == nullptr)
        return false;
    ::CloseHandle(mutex);
    return true;
}

// Whether the shell holds the panel's icon: only an icon it holds can be
// modified.
bool TrayIconPresent(HWND window)
{
    NOTIFYICONDATAW record{};
    record.cbSize = sizeof(record);
    record.hWnd = window;
    record.uID = 132;
    return ::Shell_NotifyIconW(NIM_MODIFY, &record) != FALSE;
}

std::wstring TempFile(const wchar_t* name)
{
    wchar_t path[MAX_PATH + 1] = {};
    return std::wstring(path, ::GetTempPathW(MAX_PATH + 1, path)) + name;
}

class StartupProcessTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_driver.Register(SimTestEnvironment::LibraryPath()));
        ASSERT_FALSE(MutexExists()) << "another panel is running";
    }

    size_t Opens() const { return m_sim.Calls(L"TUSBAUDIO_OpenDeviceByIndex").size(); }

    SimTestEnvironment m_sim;
    DriverRegistration m_driver;
};

TEST_F(StartupProcessTest, SecondStartsAndExitAll)
{
    PanelProcess first(L"-HIDE");
    HWND window = first.WaitOwnWindow(kMainClass);
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(MutexExists());
    ::Sleep(500);
    EXPECT_FALSE(::IsWindowVisible(window));
    EXPECT_EQ(Opens(), 0u) << "hidden: no device opened";
    EXPECT_TRUE(m_sim.Calls(L"TUSBAUDIO_RegisterPnpNotification").empty());

    // The icon is there from the start (the shell may take a moment to
    // answer on a busy machine) and comes back after the shell restarted
    // (and forgot it).
    EXPECT_TRUE(WaitFor([&] { return TrayIconPresent(window); }, 5000));
    NOTIFYICONDATAW forget{};
    forget.cbSize = sizeof(forget);
    forget.hWnd = window;
    forget.uID = 132;
    ::Shell_NotifyIconW(NIM_DELETE, &forget);
    EXPECT_FALSE(TrayIconPresent(window));
    ::PostMessageW(HWND_BROADCAST, ::RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
    EXPECT_TRUE(WaitFor([&] { return TrayIconPresent(window); }, 5000));

    PanelProcess silent(L"-hide");
    EXPECT_EQ(silent.Wait(15000), 0u);
    ::Sleep(500);
    EXPECT_FALSE(::IsWindowVisible(window)) << "a second -hide start changes nothing";

    PanelProcess waking(L"");
    EXPECT_EQ(waking.Wait(15000), 0u);
    EXPECT_TRUE(WaitFor([&] { return ::IsWindowVisible(window) != FALSE; }));
    EXPECT_TRUE(m_sim.WaitForJournal([this](const auto&) { return Opens() == 1; }));

    PanelProcess exitAll(L"-ExitAll");
    EXPECT_EQ(exitAll.Wait(15000), 0u);
    EXPECT_EQ(first.Wait(5000), 0u);
    EXPECT_FALSE(MutexExists());
    EXPECT_FALSE(m_sim.Calls(L"TUSBAUDIO_CloseDevice").empty());
}

TEST_F(StartupProcessTest, ExitAllWithNoneEndsAtOnceAndBothOptionsStartNormally)
{
    // With no window there is nothing to post and nothing to wait for (the
    // request's own test counts its waits).
    PanelProcess none(L"-exitall");
    EXPECT_EQ(none.Wait(15000), 0u);
    EXPECT_FALSE(MutexExists());

    PanelProcess both(L"-hide -exitall");
    HWND window = both.WaitOwnWindow(kMainClass);
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(WaitFor([&] { return ::IsWindowVisible(window) != FALSE; }));
    PanelProcess exitAll(L"-exitall");
    EXPECT_EQ(exitAll.Wait(15000), 0u);
    EXPECT_EQ(both.Wait(5000), 0u);
}

TEST(ExitAllProcessTest, GivesUpOnAWindowThatIgnoresTheRequest)
{
    WNDCLASSW info{};
    info.lpfnWndProc = ::DefWindowProcW;
    info.hInstance = ::GetModuleHandleW(nullptr);
    info.lpszClassName = kMainClass;
    ASSERT_NE(::RegisterClassW(&info), 0);
    HWND deaf = ::CreateWindowExW(0, kMainClass, kMainClass, WS_POPUP, 0, 0, 10, 10, nullptr,
                                  nullptr, info.hInstance, nullptr);
    ASSERT_NE(deaf, nullptr);

    PanelProcess exitAll(L"-exitall");
    EXPECT_EQ(exitAll.Wait(30000), 100u);
    int requests = 0;
    MSG msg;
    while (::PeekMessageW(&msg, deaf, kMsgExitAll, kMsgExitAll, PM_REMOVE))
        ++requests;
    EXPECT_EQ(requests, 21);
    ::DestroyWindow(deaf);
    ::UnregisterClassW(kMainClass, info.hInstance);
}

TEST_F(StartupProcessTest, DriverBindingFailuresShowTheirBoxAndEnd)
{
    const auto expectBox = [](const wchar_t* text, const wchar_t* caption) {
        PanelProcess panel(L"");
        const auto box = panel.DismissMessageBox();
        EXPECT_TRUE(box.has_value()) << text;
        if (box) {
            EXPECT_EQ(box->text, text);
            EXPECT_EQ(box->caption, caption);
        }
        EXPECT_EQ(panel.FindOwnWindow(kMainClass), nullptr) << "no window before the binding";
        const std::optional<DWORD> code = panel.Wait(10000);
        EXPECT_TRUE(code.has_value());
        return code.value_or(0);
    };

    m_driver.Unregister();
    EXPECT_EQ(expectBox(L"Can't find driver!", L"KORVANE"), 2u);

    const std::wstring deleted = TempFile(L"kv-startup-deleted.dll");
    ::DeleteFileW(deleted.c_str());
    m_driver.Register(deleted);
    EXPECT_EQ(expectBox(L"Can't find driver!", L"KORVANE"), 2u);

    const std::wstring notALibrary = TempFile(L"kv-startup-not-a-library.dll");
    const HANDLE file =
        ::CreateFileW(notALibrary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    ::WriteFile(file, "not a library", 13, &written, nullptr);
    ::CloseHandle(file);
    m_driver.Register(notALibrary);
    const DWORD loadFailure = expectBox(L"_tWinMain", L"Load");
    EXPECT_NE(loadFailure, 0u);
    EXPECT_NE(loadFailure, 2u);
    ::DeleteFileW(notALibrary.c_str());

    m_driver.Register(SimTestEnvironment::LibraryPath());
    SimTestEnvironment oldDriver(L"api 4.2");
    EXPECT_EQ(expectBox(L"The driver version mismatched!", L"KORVANE"), 0xEE000060u);
    EXPECT_FALSE(MutexExists());
}

TEST_F(StartupProcessTest, SkinThatCannotBeBuiltShowsItsMessageAndEnds)
{
    // A copy of the program without its skin archive, started in an empty
    // folder: there is no skin on disk either.
    const std::wstring folder = TempFile(L"kv-skinless");
    ::CreateDirectoryW(folder.c_str(), nullptr);
    const std::wstring program = folder + L"\\KorVaneControls.exe";
    ASSERT_TRUE(campaign::CopyWithTheme(ProgramPath(), program, {}));

    PanelProcess panel(L"", program, folder);
    const auto box = panel.DismissMessageBox();
    ASSERT_TRUE(box.has_value());
    EXPECT_EQ(box->text, L"Failed to load xml file ControlPanel\\MainForm.xml");
    EXPECT_EQ(box->caption, L"Paneui");
    // Nothing could show or end it later: it ends by itself, mutex released.
    EXPECT_EQ(panel.Wait(10000), std::optional<DWORD>(0));
    EXPECT_FALSE(MutexExists());
    PanelProcess exitAll(L"-exitall");
    EXPECT_EQ(exitAll.Wait(15000), 0u);
    ::DeleteFileW(program.c_str());
    ::RemoveDirectoryW(folder.c_str());
}

} // namespace
