#include "ui/controls/ControlElements.h"
#include "ui/controls/LabelTemplate.h"
#include "ui/core/EventArgs.h"
#include "ui/markup/GlobalManager.h"
#include "ui/menu/CMenuElementUI.h"
#include "ui/menu/CMenuWnd.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace orb_comp {
namespace {

// The program's own skin, read from the source tree.
void StartUi()
{
    static const bool started = [] {
        ui::GlobalManager::CloseArchive();
        ui::GlobalManager::Startup(std::wstring(KV_SOURCE_DIR_W) + L"/resources/", {},
                                   L"themes\\default", L"lang\\zh_CN");
        ui::RegisterControlElements();
        return true;
    }();
    (void)started;
}

bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 3000)
{
    const DWORD start = ::GetTickCount();
    while (!done()) {
        if (::GetTickCount() - start > timeoutMs)
            return false;
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        ::Sleep(5);
    }
    return true;
}

void Pump(DWORD ms)
{
    const DWORD start = ::GetTickCount();
    PumpUntil([&] { return ::GetTickCount() - start >= ms; }, ms + 1000);
}

ui::UiRect WorkArea()
{
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    ::GetMonitorInfoW(::MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY), &info);
    return ui::UiRect(info.rcWork.left, info.rcWork.top, info.rcWork.right, info.rcWork.bottom);
}

class MenuWindowTest : public ::testing::Test {
protected:
    void SetUp() override { StartUi(); }

    void TearDown() override
    {
        if (IsOpen())
            ::DestroyWindow(m_hwnd);
    }

    // Opens the tray menu at point as the tray icon does and logs the
    // click and select events of its items.
    void Open(ui::UiPoint point)
    {
        // The pointer rests away from the menu: one left over it by an
        // earlier program on the display would make an item hot on showing.
        ::SetCursorPos(::GetSystemMetrics(SM_CXSCREEN) - 1, ::GetSystemMetrics(SM_CYSCREEN) - 1);
        m_menu = new CMenuWnd(nullptr);
        m_alive = m_menu->GetWeakFlag();
        ASSERT_TRUE(m_menu->Init(L"settings_menu.xml", L"xml", point));
        m_hwnd = m_menu->GetHWND();
        for (const wchar_t* name : {L"first", L"second"}) {
            ui::Control* item = m_menu->FindControl(std::wstring(name));
            ASSERT_NE(dynamic_cast<CMenuElementUI*>(item), nullptr) << name;
            for (ui::EventType type : {ui::kEventClick, ui::kEventSelect}) {
                item->AddEventHandler(type, [this, type, item](const ui::EventArgs&) {
                    m_events.push_back({type, item});
                    return true;
                });
            }
        }
        m_menu->Show();
        ASSERT_TRUE(PumpUntil([this] { return !Item(L"second")->GetRect().IsEmpty(); }));
    }

    ui::Control* Item(const wchar_t* name) { return m_menu->FindControl(std::wstring(name)); }
    bool IsOpen() const { return !m_alive.expired() && ::IsWindow(m_hwnd); }
    bool WaitClosed()
    {
        return PumpUntil([this] { return !IsOpen(); });
    }

    ui::UiRect WindowRect() const
    {
        RECT rect{};
        ::GetWindowRect(m_hwnd, &rect);
        return ui::UiRect(rect.left, rect.top, rect.right, rect.bottom);
    }

    void Mouse(UINT message, ui::UiPoint point)
    {
        ::SendMessageW(m_hwnd, message, message == WM_LBUTTONDOWN ? MK_LBUTTON : 0,
                       MAKELPARAM(point.x, point.y));
    }

    ui::UiPoint Centre(const wchar_t* name)
    {
        const ui::UiRect rect = Item(name)->GetRect();
        return ui::UiPoint((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    }

    struct Event {
        ui::EventType type;
        ui::Control* item;
    };
    CMenuWnd* m_menu = nullptr;
    std::weak_ptr<obase::WeakFlag> m_alive;
    HWND m_hwnd = nullptr;
    std::vector<Event> m_events;
};

TEST_F(MenuWindowTest, BuildsTheTrayMenuAsATopMostToolWindow)
{
    Open(ui::UiPoint(200, 200));
    wchar_t text[64] = {};
    ::GetClassNameW(m_hwnd, text, 64);
    EXPECT_STREQ(text, L"MenuWnd");
    ::GetWindowTextW(m_hwnd, text, 64);
    EXPECT_STREQ(text, L"ORB_PANEUI_MENU_WINDOW");
    const LONG_PTR exStyle = ::GetWindowLongPtrW(m_hwnd, GWL_EXSTYLE);
    EXPECT_EQ(exStyle & (WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_LAYERED),
              WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_LAYERED);
    EXPECT_TRUE(::IsWindowVisible(m_hwnd));
    EXPECT_EQ(m_menu->GetSkinFolder(), L"menu");

    const auto* first = m_menu->FindControl(std::wstring(L"first"));
    const auto* second = m_menu->FindControl(std::wstring(L"second"));
    auto labelText = [](const ui::Control* item) {
        const auto* box = dynamic_cast<const ui::Box*>(item);
        const auto* label = box ? dynamic_cast<const ui::Label*>(box->GetItemAt(0)) : nullptr;
        return label ? label->GetText() : std::wstring();
    };
    EXPECT_EQ(labelText(first), L"Show");
    EXPECT_EQ(labelText(second), L"Exit");
    // The items stack downwards and the window fits them.
    EXPECT_LT(first->GetRect().top, second->GetRect().top);
    const ui::UiRect window = WindowRect();
    EXPECT_EQ(window.left, 200);
    EXPECT_EQ(window.top, 200);
    EXPECT_LE(second->GetRect().bottom, window.Height());
    EXPECT_LT(window.Height(), 300);

    // A skin it cannot read: no window, and the object is gone.
    auto* unknown = new CMenuWnd(nullptr);
    const std::weak_ptr<obase::WeakFlag> unknownAlive = unknown->GetWeakFlag();
    EXPECT_FALSE(unknown->Init(L"settings_menu.xml", L"zip", ui::UiPoint(0, 0)));
    EXPECT_TRUE(unknownAlive.expired());
}

TEST_F(MenuWindowTest, KeepsInsideTheWorkAreaAtEachEdge)
{
    const ui::UiRect work = WorkArea();
    Open(ui::UiPoint(work.right - 1, work.bottom - 1));
    ui::UiRect rect = WindowRect();
    EXPECT_EQ(rect.right, work.right) << "pushed left to the right edge";
    EXPECT_EQ(rect.bottom, work.bottom - 1) << "opened upward from the point";
    EXPECT_EQ(m_menu->GetPoint(), ui::UiPoint(rect.left, rect.top));
    ::DestroyWindow(m_hwnd);

    Open(ui::UiPoint(work.left - 30, work.top - 20));
    rect = WindowRect();
    EXPECT_EQ(rect.left, work.left);
    EXPECT_EQ(rect.top, work.top);
}

TEST_F(MenuWindowTest, ClickingAnItemSelectsItAndCloses)
{
    Open(ui::UiPoint(100, 100));
    const ui::UiPoint exit = Centre(L"second");
    Mouse(WM_LBUTTONDOWN, exit);
    Mouse(WM_LBUTTONUP, exit);
    ASSERT_EQ(m_events.size(), 2u);
    EXPECT_EQ(m_events[0].type, ui::kEventClick);
    EXPECT_EQ(m_events[1].type, ui::kEventSelect);
    EXPECT_EQ(m_events[1].item, Item(L"second"));
    EXPECT_TRUE(m_menu->IsClosing());
    // A second click while the menu fades out chooses nothing.
    Mouse(WM_LBUTTONDOWN, exit);
    Mouse(WM_LBUTTONUP, exit);
    EXPECT_EQ(m_events.size(), 2u);
    EXPECT_TRUE(WaitClosed());
}

TEST_F(MenuWindowTest, ReleasingOutsideTheItemNeitherSelectsNorCloses)
{
    Open(ui::UiPoint(100, 100));
    Mouse(WM_LBUTTONDOWN, Centre(L"first"));
    Mouse(WM_LBUTTONUP, Centre(L"second"));
    Pump(400);
    EXPECT_TRUE(m_events.empty());
    EXPECT_TRUE(IsOpen());
    EXPECT_FALSE(m_menu->IsClosing());
}

TEST_F(MenuWindowTest, EscapeAndFocusLossCloseWithoutEvents)
{
    Open(ui::UiPoint(100, 100));
    ::SendMessageW(m_hwnd, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_TRUE(WaitClosed());
    EXPECT_TRUE(m_events.empty());

    // Focus lost while an item is held down: the closing window releases
    // the item, which must not count as choosing it.
    Open(ui::UiPoint(100, 100));
    Mouse(WM_LBUTTONDOWN, Centre(L"second"));
    HWND other = ::CreateWindowExW(0, L"STATIC", L"other", WS_POPUP | WS_VISIBLE, 400, 400, 50, 50,
                                   nullptr, nullptr, nullptr, nullptr);
    ::SetFocus(m_hwnd);
    ::SetFocus(other);
    EXPECT_TRUE(WaitClosed());
    EXPECT_TRUE(m_events.empty());
    ::DestroyWindow(other);
}

TEST_F(MenuWindowTest, ArrowKeysMoveTheHighlightAndEnterChooses)
{
    Open(ui::UiPoint(100, 100));
    auto key = [this](WPARAM vk) { ::SendMessageW(m_hwnd, WM_KEYDOWN, vk, 0); };
    key(VK_DOWN);
    EXPECT_EQ(Item(L"first")->GetState(), ui::kControlStateHot);
    key(VK_UP); // wraps to the last item; hidden items are skipped
    EXPECT_EQ(Item(L"first")->GetState(), ui::kControlStateNormal);
    EXPECT_EQ(Item(L"second")->GetState(), ui::kControlStateHot);
    key(VK_DOWN); // wraps
    EXPECT_EQ(Item(L"first")->GetState(), ui::kControlStateHot);
    key(VK_DOWN);
    EXPECT_EQ(Item(L"scene_save")->GetState(), ui::kControlStateHot);
    key(VK_END);
    key(VK_HOME);
    EXPECT_EQ(Item(L"first")->GetState(), ui::kControlStateHot);
    EXPECT_TRUE(m_events.empty()) << "moving the highlight chooses nothing";
    EXPECT_FALSE(m_menu->IsClosing());

    key(VK_RETURN);
    ASSERT_EQ(m_events.size(), 2u);
    EXPECT_EQ(m_events[1].type, ui::kEventSelect);
    EXPECT_EQ(m_events[1].item, Item(L"first"));
    EXPECT_TRUE(WaitClosed());
}

} // namespace
} // namespace orb_comp
