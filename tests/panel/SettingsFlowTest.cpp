// The settings window opened from the mixer of the running program, over
// the simulated interface.
#include <gtest/gtest.h>

#include <vector>

#include "panel/MainForm.h"
#include "panel/SettingForm.h"
#include "tests/panel/MainFormTestHost.h"
#include "ui/controls/Combo.h"
#include "ui/controls/LabelTemplate.h"
#include "ui/controls/RichEdit.h"

namespace {

bool WaitFor(const std::function<bool()>& done, DWORD timeoutMs = 3000)
{
    const DWORD start = ::GetTickCount();
    while (!done() && ::GetTickCount() - start < timeoutMs)
        ::Sleep(10);
    return done();
}

class SettingsFlowTest : public ::testing::Test {
protected:
    void SetUp() override { MainFormTestHost::Sim().Control(L"plugged 1"); }

    // Clicks the mixer's settings button with the cursor at `cursor`.
    HWND OpenSettings(MainFormTestHost& host, POINT cursor)
    {
        EXPECT_TRUE(WaitFor([&] {
            return host.Read<bool>([](MainForm& form) { return IsEnabled(form, L"settings"); });
        }));
        ::SetCursorPos(cursor.x, cursor.y);
        host.Click(L"settings");
        // The posted input may be handled after the host's barrier task.
        HWND settings = nullptr;
        WaitFor([&] {
            settings = host.Read<HWND>([](MainForm& form) {
                SettingForm* open = form.GetSettingForm();
                return open != nullptr ? open->GetHWND() : nullptr;
            });
            return settings != nullptr;
        });
        return settings;
    }
};

// One program run: the program's fade timers serve the first UI thread of
// the process only.
TEST_F(SettingsFlowTest, OpensAtTheCursorWhileTheMixerWaitsAndClosesOnCloseOrUnplug)
{
    MainFormTestHost host;
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    ::GetMonitorInfoW(::MonitorFromWindow(host.Window(), MONITOR_DEFAULTTOPRIMARY), &monitor);
    const RECT& screen = monitor.rcMonitor;

    // At the monitor's bottom-right corner: 250 to the left and 500 above,
    // then moved just inside the work area (the window with its shadow is
    // larger than that).
    const HWND settings = OpenSettings(host, POINT{screen.right - 1, screen.bottom - 1});
    ASSERT_NE(settings, nullptr);
    RECT rect{};
    ::GetWindowRect(settings, &rect);
    EXPECT_EQ(rect.right, monitor.rcWork.right);
    EXPECT_EQ(rect.bottom, monitor.rcWork.bottom);
    EXPECT_EQ(::GetWindow(settings, GW_OWNER), host.Window());
    EXPECT_FALSE(::IsWindowEnabled(host.Window()));
    host.OnUi([](MainForm& form) {
        SettingForm* settings = form.GetSettingForm();
        ASSERT_NE(settings, nullptr);
        EXPECT_TRUE(settings->IsModal());
        auto* rate =
            dynamic_cast<ui::Label*>(settings->FindControl(std::wstring(L"samplerate_text")));
        ASSERT_NE(rate, nullptr);
        EXPECT_EQ(rate->GetText(), L"48K HZ");
    });

    // Its close button hands the focus back to the mixer.
    const POINT close = host.Read<POINT>([](MainForm& form) {
        const ui::UiRect button =
            form.GetSettingForm()->FindControl(std::wstring(L"closebtn"))->GetRect();
        return POINT{(button.left + button.right) / 2, (button.top + button.bottom) / 2};
    });
    ::PostMessageW(settings, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(close.x, close.y));
    ::PostMessageW(settings, WM_LBUTTONUP, 0, MAKELPARAM(close.x, close.y));
    ASSERT_TRUE(WaitFor([&] { return !::IsWindow(settings); }));
    EXPECT_TRUE(::IsWindowEnabled(host.Window()));
    EXPECT_TRUE(host.Read<bool>([](MainForm& form) {
        return ::GetFocus() == form.GetHWND() && form.GetSettingForm() == nullptr;
    }));

    // Near the top-left corner it opens right at the cursor.
    const HWND again = OpenSettings(host, POINT{screen.left + 40, screen.top + 30});
    ASSERT_NE(again, nullptr);
    ::GetWindowRect(again, &rect);
    EXPECT_EQ(rect.left, screen.left + 40);
    EXPECT_EQ(rect.top, screen.top + 30);
    ASSERT_FALSE(::IsWindowEnabled(host.Window()));

    // Unplugging closes it and frees the mixer.
    MainFormTestHost::Sim().Control(L"unplug");
    ASSERT_TRUE(WaitFor([&] { return !::IsWindow(again); }));
    EXPECT_TRUE(::IsWindowEnabled(host.Window()));
    EXPECT_FALSE(host.Read<bool>([](MainForm& form) { return IsEnabled(form, L"settings"); }));
    MainFormTestHost::Sim().Control(L"plug");
}

// Whichever way the settings window goes, the mixer is enabled again and
// the form forgets the window; there is never a second one.
TEST_F(SettingsFlowTest, EveryWayOutFreesTheMixerAndThereIsOneWindowAtATime)
{
    // A later driver's longer records (volume ranges when connecting, then
    // everything the settings window reads) land in the room left for them.
    MainFormTestHost::Sim().Control(L"records longer 4096");
    MainFormTestHost host;
    const HWND mixer = host.Window();
    const auto settingsWindows = [] {
        std::vector<HWND> found;
        for (HWND window = nullptr;
             (window = ::FindWindowExW(nullptr, window, SettingForm::kClassName, nullptr));)
            found.push_back(window);
        return found;
    };

    HWND settings = OpenSettings(host, POINT{40, 30});
    ASSERT_NE(settings, nullptr);
    host.OnUi([](MainForm& form) {
        SettingForm* open = form.GetSettingForm();
        auto* buffer = dynamic_cast<ui::Combo*>(open->FindControl(std::wstring(L"combo_buffer")));
        auto* device = dynamic_cast<ui::RichEdit*>(open->FindControl(std::wstring(L"device_info")));
        ASSERT_TRUE(buffer && device);
        EXPECT_EQ(buffer->GetCount(), 7u);
        EXPECT_NE(device->GetText().find(L"Product:      KorVane USB Audio\n"), std::wstring::npos);
    });

    // The button's accessible default action works while the mixer is
    // disabled: it brings the open window forward instead of a second one.
    host.OnUi([](MainForm& form) {
        form.PostAccessAction(*form.FindControl(std::wstring(L"settings")));
    });
    host.Flush();
    EXPECT_EQ(settingsWindows(), std::vector<HWND>{settings});
    EXPECT_EQ(host.Read<HWND>([](MainForm& form) { return form.GetSettingForm()->GetHWND(); }),
              settings);

    // Alt+F4 (the system's close, a WM_CLOSE).
    ::PostMessageW(settings, WM_SYSCOMMAND, SC_CLOSE, 0);
    ASSERT_TRUE(WaitFor([&] { return !::IsWindow(settings); }));
    EXPECT_TRUE(::IsWindowEnabled(mixer));
    EXPECT_TRUE(host.Read<bool>([](MainForm& form) { return form.GetSettingForm() == nullptr; }));

    // Asked for again while it fades out after its close button's close: the
    // old one goes at once, and its end leaves the new one's mixer disabled.
    settings = OpenSettings(host, POINT{40, 30});
    ASSERT_NE(settings, nullptr);
    host.OnUi([](MainForm& form) {
        form.GetSettingForm()->Close(1);
        form.PostAccessAction(*form.FindControl(std::wstring(L"settings")));
    });
    host.Flush();
    const HWND again = host.Read<HWND>([](MainForm& form) {
        SettingForm* open = form.GetSettingForm();
        return open != nullptr ? open->GetHWND() : nullptr;
    });
    ASSERT_NE(again, nullptr);
    EXPECT_NE(again, settings);
    EXPECT_FALSE(::IsWindow(settings));
    ::Sleep(500);
    host.Flush();
    EXPECT_EQ(settingsWindows(), std::vector<HWND>{again});
    EXPECT_FALSE(::IsWindowEnabled(mixer));
}

std::wstring SettingsFocus(MainFormTestHost& host)
{
    return host.Read<std::wstring>([](MainForm& form) {
        SettingForm* settings = form.GetSettingForm();
        ui::Control* focus = settings != nullptr ? settings->GetFocus() : nullptr;
        return focus != nullptr ? focus->GetName() : std::wstring();
    });
}

// Opened, used and closed with posted keys alone.
TEST_F(SettingsFlowTest, WorksFromTheKeyboardAlone)
{
    MainFormTestHost host;
    ASSERT_TRUE(WaitFor([&] {
        return host.Read<bool>([](MainForm& form) { return IsEnabled(form, L"settings"); });
    }));
    host.Key(VK_TAB); // the mixer's first tab stop: its scene button
    host.Key(VK_TAB); // then its settings button
    host.Key(VK_RETURN);
    HWND settings = nullptr;
    ASSERT_TRUE(WaitFor([&] {
        settings = host.Read<HWND>([](MainForm& form) {
            return form.GetSettingForm() != nullptr ? form.GetSettingForm()->GetHWND() : nullptr;
        });
        return settings != nullptr;
    }));
    // Opened from the keyboard, it shows where the focus is at once.
    EXPECT_TRUE(
        host.Read<bool>([](MainForm& form) { return form.GetSettingForm()->AreFocusCuesShown(); }));

    // Tab to the buffer size, Alt+Down opens it, Down moves, Enter picks.
    ::PostMessageW(settings, WM_KEYDOWN, VK_TAB, 1);
    ASSERT_TRUE(WaitFor([&] { return SettingsFocus(host) == L"combo_buffer"; }));
    ::PostMessageW(settings, WM_SYSKEYDOWN, VK_DOWN, 1 | (1 << 29));
    HWND drop = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (drop = ::FindWindowW(L"KvComboDropWindow", nullptr)); }));
    MainFormTestHost::Sim().ClearJournal();
    ::PostMessageW(drop, WM_KEYDOWN, VK_DOWN, 1);
    ::PostMessageW(drop, WM_KEYDOWN, VK_RETURN, 1);
    ASSERT_TRUE(WaitFor([&] { return !::IsWindow(drop); }));
    EXPECT_EQ(L"512 samples", host.Read<std::wstring>([](MainForm& form) {
        return dynamic_cast<ui::Combo*>(
                   form.GetSettingForm()->FindControl(std::wstring(L"combo_buffer")))
            ->GetAccessValue();
    }));

    // Tab to the safe-mode box, Space checks it; Escape closes the window.
    ::PostMessageW(settings, WM_KEYDOWN, VK_TAB, 1);
    ASSERT_TRUE(WaitFor([&] { return SettingsFocus(host) == L"safe mode"; }));
    ::PostMessageW(settings, WM_KEYDOWN, VK_SPACE, 1);
    ASSERT_TRUE(WaitFor([&] {
        return MainFormTestHost::Sim().Calls(L"TUSBAUDIO_SetASIOBufferPreferredSize").size() == 2;
    }));
    const std::vector<std::wstring> sizes =
        MainFormTestHost::Sim().Calls(L"TUSBAUDIO_SetASIOBufferPreferredSize");
    EXPECT_EQ(0u, sizes[0].rfind(L"TUSBAUDIO_SetASIOBufferPreferredSize(0,1,512,0x00000000)", 0))
        << sizes[0];
    EXPECT_EQ(0u, sizes[1].rfind(L"TUSBAUDIO_SetASIOBufferPreferredSize(0,1,512,0x00010000)", 0))
        << sizes[1];
    ::PostMessageW(settings, WM_KEYDOWN, VK_ESCAPE, 1);
    ASSERT_TRUE(WaitFor([&] { return !::IsWindow(settings); }));
    EXPECT_TRUE(::IsWindowEnabled(host.Window()));
    EXPECT_TRUE(host.Read<bool>([](MainForm& form) { return ::GetFocus() == form.GetHWND(); }));
}

} // namespace
