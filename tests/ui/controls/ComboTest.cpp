#include "ui/controls/CComboWnd.h"
#include "ui/controls/Combo.h"
#include "ui/controls/ListBox.h"
#include "ui/controls/ListContainerElement.h"

#include "tests/ui/controls/ControlTestHost.h"

#include <gtest/gtest.h>

#include <oleacc.h>

#include <functional>
#include <string>

namespace ui {
namespace {

using test::ControlTestHost;
using test::EventLog;

std::wstring ComboMarkup(int entries, const std::wstring& attributes = std::wstring())
{
    std::wstring markup = L"<Combo name=\"combo\" width=\"120\" height=\"20\"" + attributes + L">";
    for (int i = 0; i < entries; ++i) {
        markup +=
            L"<ListContainerElement height=\"20\" text=\"entry " + std::to_wstring(i) + L"\"/>";
    }
    return markup + L"</Combo>";
}

// Runs the thread's messages until done() or a second has passed.
bool PumpUntil(const std::function<bool()>& done)
{
    const DWORD start = ::GetTickCount();
    while (!done() && ::GetTickCount() - start < 1000) {
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        ::Sleep(5);
    }
    return done();
}

class ComboTest : public ::testing::Test {
protected:
    void Build(int entries, int screenTop, const std::wstring& attributes = std::wstring())
    {
        m_host = std::make_unique<ControlTestHost>(ComboMarkup(entries, attributes), 200, 100);
        HWND hwnd = m_host->GetWindow().GetHWND();
        ::SetWindowPos(hwnd, nullptr, 100, screenTop, 0, 0,
                       SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
        // Active and settled before the first click, as a window is when a
        // user clicks it: the display's focus events arrive asynchronously
        // and would otherwise reach the drop-down opened by that click.
        ::SetForegroundWindow(hwnd);
        PumpUntil([hwnd] { return ::GetForegroundWindow() == hwnd && ::GetFocus() == hwnd; });
        m_host->Layout();
        m_combo = m_host->Find<Combo>(L"combo");
        ASSERT_NE(m_combo, nullptr);
        m_log.Watch(*m_combo);
        m_log.Watch(m_combo->GetListBox());
    }

    CComboWnd* Open()
    {
        m_host->Click(UiPoint(50, 10));
        return m_combo->GetDropWindow();
    }

    UiRect DropRect() const
    {
        RECT rect{};
        ::GetWindowRect(m_combo->GetDropWindow()->GetHWND(), &rect);
        return UiRect(rect.left, rect.top, rect.right, rect.bottom);
    }

    bool WaitClosed()
    {
        return PumpUntil([this] { return m_combo->GetDropWindow() == nullptr; });
    }

    // A click at a point of the pop-up's client area.
    void ClickDrop(UiPoint point)
    {
        HWND drop = m_combo->GetDropWindow()->GetHWND();
        ::SendMessageW(drop, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(point.x, point.y));
        ::SendMessageW(drop, WM_LBUTTONUP, 0, MAKELPARAM(point.x, point.y));
    }

    std::unique_ptr<ControlTestHost> m_host;
    Combo* m_combo = nullptr;
    EventLog m_log;
};

TEST_F(ComboTest, TheDropDownOpensBelowSizedByItsEntriesUpToTheMaximum)
{
    Build(3, 0);
    ASSERT_NE(Open(), nullptr);
    EXPECT_EQ(m_log.Count(kEventClick, m_combo), 1u);
    POINT origin{0, 0};
    ::ClientToScreen(m_host->GetWindow().GetHWND(), &origin);
    const UiRect drop = DropRect();
    EXPECT_EQ(drop.top, origin.y + 21);
    EXPECT_EQ(drop.left, origin.x);
    EXPECT_EQ(drop.Width(), 120);
    EXPECT_EQ(drop.Height(), 62);
    EXPECT_EQ(m_combo->GetListBox().GetWindow(), m_combo->GetDropWindow());

    // A second activation while it is open does nothing.
    m_combo->Activate();
    EXPECT_EQ(m_log.Count(kEventClick, m_combo), 1u);

    // Ten entries: the maximum height, and the list scrolls.
    m_combo->GetDropWindow()->Close();
    ASSERT_TRUE(WaitClosed());
    for (int i = 3; i < 10; ++i)
        m_combo->Add(std::make_unique<ListContainerElement>());
    for (size_t i = 3; i < 10; ++i)
        m_combo->GetItemAt(i)->SetFixedHeight(20, true, false);
    ASSERT_NE(Open(), nullptr);
    EXPECT_EQ(DropRect().Height(), 150);
    PumpUntil([this] { return m_combo->GetListBox().GetScrollRange().cy > 0; });
    EXPECT_EQ(m_combo->GetListBox().GetScrollRange().cy, 202 - 150);
    // Entries below the visible part tell assistive technology so.
    EXPECT_EQ(m_combo->GetItemAt(7)->GetAccessState() & STATE_SYSTEM_OFFSCREEN, 0u);
    EXPECT_NE(m_combo->GetItemAt(8)->GetAccessState() & STATE_SYSTEM_OFFSCREEN, 0u);
}

TEST_F(ComboTest, NearTheBottomOfTheScreenOrWithPopupTopItOpensUpwards)
{
    RECT work{};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    Build(3, work.bottom - 40);
    ASSERT_NE(Open(), nullptr);
    POINT origin{0, 0};
    ::ClientToScreen(m_host->GetWindow().GetHWND(), &origin);
    EXPECT_EQ(DropRect().bottom, origin.y);
    EXPECT_EQ(DropRect().top, origin.y - 62);

    m_host.reset();
    Build(2, 100, L" popuptop=\"true\" dropboxsize=\"150,30\"");
    ASSERT_NE(Open(), nullptr);
    ::ClientToScreen(m_host->GetWindow().GetHWND(), &(origin = POINT{0, 0}));
    EXPECT_EQ(DropRect().bottom, origin.y);
    EXPECT_EQ(DropRect().Height(), 30);
    EXPECT_EQ(DropRect().Width(), 150);
}

TEST_F(ComboTest, AMousePickUpdatesTheComboBeforeTheHandlersAndThenCloses)
{
    Build(3, 0);
    int seenByHandler = -2;
    m_combo->GetListBox().AddEventHandler(kEventSelect, [&](const EventArgs&) {
        seenByHandler = m_combo->GetCurSel();
        EXPECT_NE(m_combo->GetDropWindow(), nullptr);
        return true;
    });
    ASSERT_NE(Open(), nullptr);
    ClickDrop(UiPoint(20, 31)); // the second entry
    EXPECT_EQ(seenByHandler, 1);
    ASSERT_EQ(m_log.Count(kEventSelect, m_combo), 1u);
    EXPECT_EQ(m_log.Entries().back().wParam, 1u);
    EXPECT_EQ(m_log.Entries().back().lParam, -1);
    ASSERT_TRUE(WaitClosed());
    EXPECT_EQ(m_combo->GetCurSel(), 1);
    EXPECT_EQ(m_combo->GetListBox().GetWindow(), &m_host->GetWindow());

    // Picking the selected entry again reports again.
    m_log.Clear();
    ASSERT_NE(Open(), nullptr);
    ClickDrop(UiPoint(20, 31));
    EXPECT_EQ(m_log.Count(kEventSelect, m_combo), 1u);
    EXPECT_TRUE(WaitClosed());
}

TEST_F(ComboTest, ArrowsMoveInTheDropDownEnterPicksAndTheClosedComboSteps)
{
    Build(3, 0);
    m_combo->SelectItem(0);
    ASSERT_NE(Open(), nullptr);
    HWND drop = m_combo->GetDropWindow()->GetHWND();
    ::SendMessageW(drop, WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_EQ(m_combo->GetListBox().GetCurSel(), 1);
    EXPECT_EQ(m_combo->GetCurSel(), 0);
    EXPECT_EQ(m_log.Count(kEventSelect), 0u);
    ::SendMessageW(drop, WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_EQ(m_combo->GetCurSel(), 1);
    EXPECT_EQ(m_log.Count(kEventSelect, m_combo), 1u);
    ASSERT_TRUE(WaitClosed());
    EXPECT_EQ(m_host->GetWindow().GetFocus(), m_combo);

    m_log.Clear();
    m_host->KeyDown(VK_DOWN);
    EXPECT_EQ(m_combo->GetCurSel(), 2);
    EXPECT_EQ(m_log.Count(kEventSelect, m_combo), 1u);
    EXPECT_EQ(m_log.Count(kEventSelect, &m_combo->GetListBox()), 1u);
    m_host->KeyDown(VK_DOWN); // already the last
    EXPECT_EQ(m_combo->GetCurSel(), 2);
    // Escape leaves the entry the arrows went to; Alt+Down opens too.
    m_log.Clear();
    m_host->KeyDown(VK_F4);
    ASSERT_NE(m_combo->GetDropWindow(), nullptr);
    ::SendMessageW(m_combo->GetDropWindow()->GetHWND(), WM_KEYDOWN, VK_HOME, 0);
    ::SendMessageW(m_combo->GetDropWindow()->GetHWND(), WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_TRUE(WaitClosed());
    EXPECT_EQ(m_combo->GetCurSel(), 2);
    EXPECT_EQ(m_combo->GetListBox().GetCurSel(), 2);
    EXPECT_EQ(m_log.Count(kEventSelect), 0u);
    ::SendMessageW(m_host->GetWindow().GetHWND(), WM_SYSKEYDOWN, VK_DOWN, 1 << 29);
    EXPECT_NE(m_combo->GetDropWindow(), nullptr);
}

TEST_F(ComboTest, ProgramSelectionAndFocusLossSendNoEvent)
{
    Build(3, 0);
    EXPECT_TRUE(m_combo->SelectItem(2));
    EXPECT_FALSE(m_combo->SelectItem(2));
    EXPECT_FALSE(m_combo->SelectItem(3));
    EXPECT_FALSE(m_combo->SelectItem(-1));
    EXPECT_EQ(m_combo->GetCurSel(), 2);
    EXPECT_EQ(m_combo->GetListBox().GetCurSel(), 2);

    ASSERT_NE(Open(), nullptr);
    m_log.Clear();
    // A click outside: the host window takes the focus back.
    m_host->Click(UiPoint(180, 80));
    ASSERT_TRUE(WaitClosed());
    EXPECT_EQ(m_log.Count(kEventSelect), 0u);
    EXPECT_EQ(m_combo->GetCurSel(), 2);

    // Emptying the combo clears the selection.
    m_combo->RemoveAll();
    EXPECT_EQ(m_combo->GetCurSel(), -1);
    EXPECT_EQ(m_combo->GetCount(), 0u);

    // The combo going away while open takes its drop-down with it.
    m_combo->Add(std::make_unique<ListContainerElement>());
    ASSERT_NE(Open(), nullptr);
    HWND drop = m_combo->GetDropWindow()->GetHWND();
    m_host.reset();
    EXPECT_FALSE(::IsWindow(drop));
}

} // namespace
} // namespace ui
