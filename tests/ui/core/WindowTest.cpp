#include "ui/core/Window.h"

#include "tests/ui/core/CoreTestSupport.h"
#include "tests/ui/core/TestControls.h"
#include "tests/ui/render/RenderTestSupport.h"
#include "ui/core/IUIMessageFilter.h"
#include "ui/core/ShadowBox.h"
#include "ui/render/IRenderContext.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>

namespace ui::test {
namespace {

// A form of the test skin, shown without activation and laid out.
class WindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_form = TestForm::Open(L"TestForm.xml");
        ASSERT_NE(m_form, nullptr);
        m_hwnd = m_form->GetHWND();
        ::ShowWindow(m_hwnd, SW_SHOWNOACTIVATE);
        ASSERT_TRUE(PumpUntil([this] { return !m_form->IsFirstLayoutPending(); }));
    }
    void TearDown() override
    {
        if (::IsWindow(m_hwnd))
            ::DestroyWindow(m_hwnd);
    }

    template <typename T = Control>
    T* Find(const wchar_t* name)
    {
        return dynamic_cast<T*>(m_form->FindControl(std::wstring(name)));
    }
    static LPARAM At(UiPoint point) { return MAKELPARAM(point.x, point.y); }
    static UiPoint Centre(const Control* control)
    {
        const UiRect rect = control->GetRect();
        return UiPoint((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    }
    LRESULT HitTest(int x, int y)
    {
        POINT screen{x, y};
        ::ClientToScreen(m_hwnd, &screen);
        return ::SendMessageW(m_hwnd, WM_NCHITTEST, 0, MAKELPARAM(screen.x, screen.y));
    }
    void Click(const Control* control, UINT down = WM_LBUTTONDOWN, UINT up = WM_LBUTTONUP)
    {
        ::PostMessageW(m_hwnd, down, MK_LBUTTON, At(Centre(control)));
        ::PostMessageW(m_hwnd, up, 0, At(Centre(control)));
        PumpFor(20);
    }

    TestForm* m_form = nullptr;
    HWND m_hwnd = nullptr;
};

TEST_F(WindowTest, DefaultShadowSurroundsTheLayoutSize)
{
    RECT rect{};
    ::GetWindowRect(m_hwnd, &rect);
    EXPECT_EQ(rect.right - rect.left, 1138);
    EXPECT_EQ(rect.bottom - rect.top, 555);
    ASSERT_NE(dynamic_cast<ShadowBox*>(m_form->GetRoot()), nullptr);
    EXPECT_EQ(m_form->GetClientOffset(), UiPoint(14, 14));
    Box* content = dynamic_cast<Box*>(dynamic_cast<Box*>(m_form->GetRoot())->GetItemAt(0));
    ASSERT_NE(content, nullptr);
    EXPECT_EQ(content->GetRect(), UiRect(14, 14, 1124, 541));
    EXPECT_EQ(content->GetRect(false), UiRect(0, 0, 1110, 527));
    EXPECT_EQ(content->GetBorderRound(), UiSize(3, 3));
}

TEST_F(WindowTest, CaptionBandDragsExceptOnButtons)
{
    const Control* title = Find(L"title");
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(HitTest(Centre(title).x, 14 + 20), HTCAPTION);
    EXPECT_EQ(HitTest(600, 14 + 20), HTCAPTION) << "the empty stretch part of the caption";
    EXPECT_EQ(HitTest(Centre(Find(L"closebtn")).x, 14 + 20), HTCLIENT);
    EXPECT_EQ(HitTest(600, 14 + 35), HTCLIENT) << "below the band";
    // The band starts at the content's top, 14 pixels into the window.
    EXPECT_EQ(HitTest(600, 13), HTCLIENT);
    EXPECT_EQ(HitTest(600, 14), HTTOP);
    EXPECT_EQ(HitTest(14, 14), HTTOPLEFT);
    EXPECT_EQ(HitTest(5, 300), HTCLIENT) << "the shadow margin is client area";
    EXPECT_EQ(HitTest(1123, 300), HTRIGHT);
    EXPECT_EQ(HitTest(1130, 545), HTCLIENT);
}

TEST_F(WindowTest, MaximisingRemovesTheShadowMargin)
{
    ::ShowWindow(m_hwnd, SW_MAXIMIZE);
    ASSERT_TRUE(PumpUntil([this] { return ::IsZoomed(m_hwnd) != FALSE; }));
    EXPECT_EQ(m_form->GetClientOffset(), UiPoint(0, 0));
    EXPECT_EQ(m_form->GetShadow().GetCorner(), UiRect());
    ::ShowWindow(m_hwnd, SW_RESTORE);
    ASSERT_TRUE(PumpUntil([this] { return ::IsZoomed(m_hwnd) == FALSE; }));
    EXPECT_EQ(m_form->GetClientOffset(), UiPoint(14, 14));
    PumpFor(50);
    Box* root = dynamic_cast<Box*>(m_form->GetRoot());
    EXPECT_EQ(root->GetItemAt(0)->GetRect().left, 14);
}

TEST_F(WindowTest, MouseMessagesBecomeControlEvents)
{
    TestButton* second = Find<TestButton>(L"second");
    TestButton* third = Find<TestButton>(L"third");
    ASSERT_NE(second, nullptr);
    ASSERT_NE(third, nullptr);
    Click(second);
    EXPECT_EQ(second->activations, 1);
    EXPECT_EQ(m_form->GetPushedControl(), nullptr);
    EXPECT_EQ(m_form->GetFocus(), second);

    // Released elsewhere: no click.
    ::PostMessageW(m_hwnd, WM_LBUTTONDOWN, MK_LBUTTON, At(Centre(second)));
    ::PostMessageW(m_hwnd, WM_MOUSEMOVE, MK_LBUTTON, At(Centre(third)));
    ::PostMessageW(m_hwnd, WM_LBUTTONUP, 0, At(Centre(third)));
    PumpFor(20);
    EXPECT_EQ(second->activations, 1);
    EXPECT_EQ(third->activations, 0);

    int rightUps = 0;
    third->AddEventHandler(kEventMouseRightButtonUp, [&](const EventArgs& event) {
        rightUps += event.sender == third ? 1 : 0;
        return true;
    });
    Click(third, WM_LBUTTONDOWN, WM_RBUTTONUP);
    EXPECT_EQ(rightUps, 1) << "right button up goes to the pushed control";
    EXPECT_EQ(third->activations, 0);
}

TEST_F(WindowTest, RightClickAsksForTheContextMenu)
{
    TestButton* first = Find<TestButton>(L"first");
    ASSERT_NE(first, nullptr);
    first->SetAttribute(L"menu", L"true");
    int menus = 0;
    first->AddEventHandler(kEventMouseMenu, [&](const EventArgs&) {
        ++menus;
        return true;
    });
    Click(first, WM_RBUTTONDOWN, WM_RBUTTONUP);
    EXPECT_EQ(menus, 1);
    EXPECT_EQ(m_form->GetPushedControl(), nullptr);
}

struct MouseMoveFilter : IUIMessageFilter {
    LRESULT MessageHandler(UINT message, WPARAM, LPARAM, bool& handled) override
    {
        handled = message == WM_MOUSEMOVE;
        seen += handled ? 1 : 0;
        return 0;
    }
    int seen = 0;
};

TEST_F(WindowTest, FilterHandlingMouseMoveKeepsHoverTracking)
{
    MouseMoveFilter filter;
    m_form->AddMessageFilter(&filter);
    Control* first = Find(L"first");
    ::SendMessageW(m_hwnd, WM_MOUSEMOVE, 0, At(Centre(first)));
    EXPECT_EQ(filter.seen, 1);
    EXPECT_EQ(m_form->GetHoverControl(), first);
    EXPECT_EQ(first->GetState(), kControlStateHot);
    m_form->RemoveMessageFilter(&filter);
    ::SendMessageW(m_hwnd, WM_MOUSEMOVE, 0, At(Centre(Find(L"second"))));
    EXPECT_EQ(first->GetState(), kControlStateNormal);
}

TEST_F(WindowTest, TabMovesTheFocusAndWrapsAround)
{
    Control* second = Find(L"second");
    Control* third = Find(L"third");
    second->SetFocus();
    ASSERT_EQ(m_form->GetFocus(), second);
    EXPECT_EQ(second->GetState(), kControlStateHot);
    ::SendMessageW(m_hwnd, WM_KEYDOWN, VK_TAB, 0);
    EXPECT_EQ(m_form->GetFocus(), third);
    EXPECT_EQ(second->GetState(), kControlStateNormal);

    const auto shiftTab = [this] {
        BYTE keys[256] = {};
        ::GetKeyboardState(keys);
        keys[VK_SHIFT] = 0x80;
        ::SetKeyboardState(keys);
        ::SendMessageW(m_hwnd, WM_KEYDOWN, VK_TAB, 0);
        keys[VK_SHIFT] = 0;
        ::SetKeyboardState(keys);
    };
    shiftTab();
    EXPECT_EQ(m_form->GetFocus(), second);

    // Moves asked for while a layout is pending, either way, are each made
    // after the paint.
    Find(L"picture")->RelayoutSelf();
    ::SendMessageW(m_hwnd, WM_KEYDOWN, VK_TAB, 0);
    ::SendMessageW(m_hwnd, WM_KEYDOWN, VK_TAB, 0);
    shiftTab();
    EXPECT_EQ(m_form->GetFocus(), second);
    PumpFor(50);
    EXPECT_EQ(m_form->GetFocus(), third);

    // After the last tab stop comes the first one again; with no focus,
    // Tab starts there too.
    Find(L"cornered")->SetFocus();
    ::SendMessageW(m_hwnd, WM_KEYDOWN, VK_TAB, 0);
    EXPECT_EQ(m_form->GetFocus(), Find(L"title"));
    m_form->SetFocus(nullptr);
    ::SendMessageW(m_hwnd, WM_KEYDOWN, VK_TAB, 0);
    EXPECT_EQ(m_form->GetFocus(), Find(L"title"));

    // Other keys go to the focus control, the key up to the same control.
    int keys_down = 0;
    Find(L"title")->AddEventHandler(kEventKeyDown, [&](const EventArgs& event) {
        keys_down += event.keyCode == 'A' ? 1 : 0;
        return true;
    });
    ::SendMessageW(m_hwnd, WM_KEYDOWN, 'A', 0);
    EXPECT_EQ(keys_down, 1);
}

TEST_F(WindowTest, FocusGoesOnlyToVisibleEnabledControlsOfTheWindow)
{
    Control* first = Find(L"first");
    first->SetFocus();
    m_form->SetFocus(Find(L"restorebtn"));
    EXPECT_EQ(m_form->GetFocus(), nullptr) << "the old focus is released first";
    Control* third = Find(L"third");
    third->SetEnabled(false);
    m_form->SetFocus(third);
    EXPECT_EQ(m_form->GetFocus(), nullptr);
    Control stranger;
    m_form->SetFocus(&stranger);
    EXPECT_EQ(m_form->GetFocus(), nullptr);
    m_form->SetFocus(first);
    EXPECT_EQ(m_form->GetFocus(), first);
    // Hiding it gives the focus up.
    first->SetVisible(false);
    EXPECT_EQ(m_form->GetFocus(), nullptr);
}

TEST_F(WindowTest, HoverShowsTheToolTipOnTwoLines)
{
    Control* first = Find(L"first");
    first->SetAttribute(L"tooltiptext", L"Input<n>gain");
    ::SendMessageW(m_hwnd, WM_MOUSEMOVE, 0, At(Centre(first)));
    ::SendMessageW(m_hwnd, WM_MOUSEHOVER, 0, At(Centre(first)));
    HWND tip = ::FindWindowExW(nullptr, nullptr, TOOLTIPS_CLASSW, nullptr);
    while (tip != nullptr && ::GetWindow(tip, GW_OWNER) != m_hwnd)
        tip = ::FindWindowExW(nullptr, tip, TOOLTIPS_CLASSW, nullptr);
    ASSERT_NE(tip, nullptr);
    wchar_t text[64] = {};
    TOOLINFOW info{};
    info.cbSize = TTTOOLINFOW_V2_SIZE;
    info.hwnd = m_hwnd;
    info.uId = reinterpret_cast<UINT_PTR>(m_hwnd);
    info.lpszText = text;
    ::SendMessageW(tip, TTM_GETTEXTW, 64, reinterpret_cast<LPARAM>(&info));
    EXPECT_STREQ(text, L"Input\r\ngain");
}

TEST_F(WindowTest, LayeredBackBufferKeepsTheShadowTranslucentAndContentOpaque)
{
    ::InvalidateRect(m_hwnd, nullptr, FALSE);
    ::UpdateWindow(m_hwnd);
    PumpFor(50);
    const IRenderContext* context = m_form->GetRenderContext();
    ASSERT_NE(context, nullptr);
    EXPECT_LT(PixelAt(*context, 1, 200).a, 40);
    // Inside the padding of the second row the panel colour shows.
    const Pixel panel = PixelAt(*context, 14 + 5, 300);
    EXPECT_EQ(panel.a, 255);
    EXPECT_EQ(panel.r, 0xE8);
    // The transparent control is laid out but not drawn.
    const Control* ghost = Find(L"ghost");
    const Pixel behind = PixelAt(*context, Centre(ghost).x, Centre(ghost).y);
    EXPECT_EQ(behind.b, 255);
    EXPECT_EQ(behind.r, 255);
}

TEST_F(WindowTest, InvalidatedControlsRepaintWithoutALayoutPass)
{
    // Small and large changes: a button, then the whole window.
    Control* first = Find(L"first");
    first->SetAttribute(L"normalcolor", L"green");
    m_form->GetRoot()->SetAttribute(L"bkcolor", L"red");
    ASSERT_FALSE(m_form->IsArrangeNeeded());
    const auto pixel = [this](UiPoint point) {
        return PixelAt(*m_form->GetRenderContext(), point.x, point.y);
    };
    EXPECT_TRUE(PumpUntil([&] { return pixel(Centre(first)).g == 255; }));
    // Under the thin edge of the shadow the new red shows.
    EXPECT_TRUE(PumpUntil([&] { return pixel(UiPoint(2, 300)).r > 200; }));
}

TEST_F(WindowTest, CaptionButtonsMaximiseRestoreAndClose)
{
    Click(Find(L"maxbtn"));
    EXPECT_TRUE(PumpUntil([this] { return ::IsZoomed(m_hwnd) != FALSE; }));
    EXPECT_FALSE(Find(L"maxbtn")->IsVisible());
    EXPECT_TRUE(Find(L"restorebtn")->IsVisible());
    Click(Find(L"restorebtn"));
    EXPECT_TRUE(PumpUntil([this] { return ::IsZoomed(m_hwnd) == FALSE; }));
    EXPECT_TRUE(Find(L"maxbtn")->IsVisible());

    const auto alive = m_form->GetWeakFlag();
    Click(Find(L"closebtn"));
    EXPECT_TRUE(::IsWindow(m_hwnd)) << "closing waits for the fade";
    EXPECT_TRUE(PumpUntil([&] { return alive.expired(); }, 3000));
    EXPECT_FALSE(::IsWindow(m_hwnd));
}

TEST(ShadowlessWindowTest, ContentIsOpaqueToTheEdgesAndOnlyPushButtonsClose)
{
    TestForm* form = TestForm::Open(L"Shadowless.xml");
    ASSERT_NE(form, nullptr);
    const HWND hwnd = form->GetHWND();
    ::ShowWindow(hwnd, SW_SHOWNOACTIVATE);
    ASSERT_TRUE(PumpUntil([&] { return !form->IsFirstLayoutPending(); }));
    ::InvalidateRect(hwnd, nullptr, FALSE);
    ::UpdateWindow(hwnd);
    PumpFor(50);
    // Nothing paints the lower part, yet it is the window's opaque content
    // right up to the edges: no transparent, click-through band.
    const IRenderContext* context = form->GetRenderContext();
    ASSERT_NE(context, nullptr);
    EXPECT_EQ(PixelAt(*context, 2, 100).a, 255);
    EXPECT_EQ(PixelAt(*context, 150, 197).a, 255);
    EXPECT_EQ(PixelAt(*context, 297, 100).a, 255);

    // A clicking control that is no push button does not close the window.
    auto* option = dynamic_cast<TestOption*>(form->FindControl(std::wstring(L"closebtn")));
    ASSERT_NE(option, nullptr);
    ::PostMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(15, 15));
    ::PostMessageW(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(15, 15));
    PumpFor(500);
    ASSERT_TRUE(::IsWindow(hwnd));
    EXPECT_EQ(option->activations, 1);
    ::DestroyWindow(hwnd);
}

TEST(WindowFailureTest, MissingLayoutIsReportedAndCreationFails)
{
    std::atomic<bool> stop = false;
    std::wstring reported;
    std::wstring caption;
    std::thread closer([&] {
        for (int i = 0; i < 500 && !stop; ++i) {
            HWND box = ::FindWindowW(L"#32770", L"Paneui");
            if (box != nullptr) {
                wchar_t text[300] = {};
                ::GetDlgItemTextW(box, 0xFFFF, text, 300);
                reported = text;
                caption = L"Paneui";
                ::PostMessageW(box, WM_COMMAND, IDOK, 0);
                return;
            }
            ::Sleep(20);
        }
    });
    TestForm* form = TestForm::Open(L"Missing.xml");
    stop = true;
    closer.join();
    EXPECT_EQ(form, nullptr);
    EXPECT_EQ(reported, L"Failed to load xml file CoreTest\\Missing.xml");
    EXPECT_EQ(caption, L"Paneui");
}

} // namespace
} // namespace ui::test
