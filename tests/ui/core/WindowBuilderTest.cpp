#include "ui/markup/WindowBuilder.h"

#include "tests/ui/core/CoreTestSupport.h"
#include "tests/ui/core/TestControls.h"
#include "ui/core/Box.h"
#include "ui/markup/GlobalManager.h"

#include <gtest/gtest.h>

namespace ui::test {
namespace {

std::unique_ptr<Control> Build(const std::wstring& markup, Window* window = nullptr,
                               const CreateControlCallback& callback = {})
{
    WindowBuilder builder;
    return builder.Create(markup, callback, window);
}

Box* AsBox(Control* control)
{
    return dynamic_cast<Box*>(control);
}

std::wstring Name(Box* box, size_t index)
{
    Control* item = box->GetItemAt(index);
    return item != nullptr ? item->GetName() : L"(none)";
}

TEST(WindowBuilderTest, WindowFileBuildsItsFirstControlAndKeepsClassesLocal)
{
    auto window = TestWindow::Open(100, 100);
    ASSERT_NE(window, nullptr);
    auto root = Build(
        LR"(<Window>
        <Class name="local" height="9"/>
        <Font id="windowfont" name="Arial" size="20"/>
        <TextColor name="windowcolour" value="#ff123456"/>
        <VBox name="content"><Control class="local"/></VBox>
        <HBox name="dropped"/>
      </Window>)",
        window.get());
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root->GetName(), L"content");
    EXPECT_EQ(AsBox(root.get())->GetItemAt(0)->GetFixedHeight(), 9);
    EXPECT_FALSE(window->GetClassAttributes(L"local").empty());
    EXPECT_TRUE(GlobalManager::GetClassAttributes(L"local").empty());
    EXPECT_EQ(GlobalManager::GetTextColor(L"windowcolour"), 0u);
    EXPECT_EQ(GlobalManager::GetFont(L"windowfont"), nullptr);

    EXPECT_EQ(Build(L"<Window><Class name=\"only\"/></Window>"), nullptr);
    EXPECT_EQ(Build(L"<Window"), nullptr);
}

TEST(WindowBuilderTest, DiscardedControlsLeaveNoNamesBehind)
{
    auto window = TestWindow::Open(100, 100);
    ASSERT_NE(window, nullptr);
    // Only the first top-level control is kept; the second one's children
    // were registered with the window while they were added.
    auto root = Build(
        LR"(<Window><VBox name="kept"/><VBox><Control name="gone"/></VBox>
        <HBox><Control name="leaf"><Control name="underleaf"/></Control></HBox></Window>)",
        window.get());
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root->GetName(), L"kept");
    EXPECT_EQ(window->FindControl(std::wstring(L"gone")), nullptr);
    EXPECT_EQ(window->FindControl(std::wstring(L"underleaf")), nullptr);
}

TEST(WindowBuilderTest, AttributesAfterTheClassOverrideIt)
{
    auto window = TestWindow::Open(100, 100);
    ASSERT_NE(window, nullptr);
    // The global class "tile" is 60 wide; a window class of that name
    // cannot replace it.
    auto root = Build(
        LR"(<Window><Class name="tile" width="1"/><Class name="mine" width="2"/>
        <HBox>
          <Control name="classwins" width="5" class="tile"/>
          <Control name="ownwins" class="tile" width="5"/>
          <Control name="windowclass" class="mine"/>
        </HBox></Window>)",
        window.get());
    Box* box = AsBox(root.get());
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->GetItemAt(0)->GetFixedWidth(), 60);
    EXPECT_EQ(box->GetItemAt(1)->GetFixedWidth(), 5);
    EXPECT_EQ(box->GetItemAt(2)->GetFixedWidth(), 2);
}

TEST(WindowBuilderTest, IncludeRepeatsAndUnknownElementsAreSkipped)
{
    auto root = Build(
        LR"(<Window><HBox>
        <Control name="before"/>
        <Include source="CoreTest/Tile.xml" count="3"/>
        <Mystery><Control name="hidden"/></Mystery>
        <Control name="after"><Control name="notabox"/></Control>
        <Include source="CoreTest/Missing.xml"/>
      </HBox></Window>)");
    Box* box = AsBox(root.get());
    ASSERT_NE(box, nullptr);
    ASSERT_EQ(box->GetCount(), 5u);
    EXPECT_EQ(Name(box, 0), L"before");
    for (size_t i = 1; i <= 3; ++i)
        EXPECT_EQ(box->GetItemAt(i)->GetFixedWidth(), 60) << i;
    EXPECT_EQ(Name(box, 4), L"after");

    // A file that includes itself stops at the nesting limit.
    auto looped = Build(LR"(<Window><VBox><Include source="CoreTest/Loop.xml"/></VBox></Window>)");
    ASSERT_NE(looped, nullptr);
    EXPECT_EQ(AsBox(looped.get())->GetCount(), 16u);
}

size_t CountControls(Control* control)
{
    size_t count = 1;
    if (Box* box = AsBox(control)) {
        for (size_t i = 0; i < box->GetCount(); ++i)
            count += CountControls(box->GetItemAt(i));
    }
    return count;
}

TEST(WindowBuilderTest, HostileNestingAndIncludesStayBounded)
{
    // 100 000 nested boxes: levels past 256 are not built, so painting and
    // layout never recurse that deep.
    std::wstring deep = L"<Window>";
    for (int i = 0; i < 100000; ++i)
        deep += L"<VBox>";
    for (int i = 0; i < 100000; ++i)
        deep += L"</VBox>";
    auto root = Build(deep + L"</Window>");
    ASSERT_NE(root, nullptr);
    int levels = 0;
    for (Control* level = root.get(); level != nullptr;) {
        ++levels;
        Box* box = AsBox(level);
        level = box != nullptr && box->GetCount() > 0 ? box->GetItemAt(0) : nullptr;
    }
    EXPECT_EQ(levels, 256);

    // A file including itself 16 times per level and a count of two
    // thousand million end after a bounded number of includes.
    const DWORD start = ::GetTickCount();
    auto fan = Build(LR"(<Window><HBox><Include source="CoreTest/Fan.xml"/></HBox></Window>)");
    ASSERT_NE(fan, nullptr);
    EXPECT_LE(CountControls(fan.get()), 1001u);
    auto counted = Build(
        LR"(<Window><HBox><Include source="CoreTest/Tile.xml" count="2000000000"/></HBox>
              </Window>)");
    ASSERT_NE(counted, nullptr);
    EXPECT_EQ(AsBox(counted.get())->GetCount(), 1000u);
    EXPECT_LT(::GetTickCount() - start, 10000u);

    // The limits hold per build: the next one starts afresh.
    auto tiles =
        Build(LR"(<Window><HBox><Include source="CoreTest/Tile.xml" count="3"/></HBox></Window>)");
    ASSERT_NE(tiles, nullptr);
    EXPECT_EQ(AsBox(tiles.get())->GetCount(), 3u);
}

TEST(WindowBuilderTest, CallbackCreatesUnknownElements)
{
    int asked = 0;
    const CreateControlCallback callback =
        [&](const std::wstring& name) -> std::unique_ptr<Control> {
        ++asked;
        if (name == L"Custom")
            return std::make_unique<TestButton>();
        return nullptr;
    };
    auto root = Build(L"<Window><Custom name=\"first\"/><Control name=\"second\"/></Window>",
                      nullptr, callback);
    ASSERT_NE(root, nullptr);
    EXPECT_NE(dynamic_cast<TestButton*>(root.get()), nullptr);
    EXPECT_EQ(root->GetName(), L"first");
    EXPECT_EQ(asked, 1) << "table elements never reach the callback";
}

TEST(WindowBuilderTest, ShadowSettingsApplyInDocumentOrder)
{
    for (const bool sizeFirst : {false, true}) {
        auto window = TestWindow::Open(50, 50);
        ASSERT_NE(window, nullptr);
        window->GetShadow().SetAttached(false);
        const std::wstring shadow = LR"(shadowattached="true" shadowcorner="10,10,10,10")";
        const std::wstring size = LR"(size="100,100")";
        Build(L"<Window " + (sizeFirst ? size + L" " + shadow : shadow + L" " + size) +
                  L"><Control/></Window>",
              window.get());
        const int expected = sizeFirst ? 100 : 120;
        EXPECT_EQ(window->GetInitSize(true), UiSize(expected, expected));
        RECT rect{};
        ::GetWindowRect(window->GetHWND(), &rect);
        EXPECT_EQ(rect.right - rect.left, expected);
        EXPECT_EQ(window->GetShadow().GetCorner(), UiRect(10, 10, 10, 10));
    }
}

TEST(WindowBuilderTest, WindowAttributes)
{
    const std::string strings = "WINDOW_TITLE = Mixer\n";
    GlobalManager::GetLanguageStrings().LoadFromMemory(
        reinterpret_cast<const uint8_t*>(strings.data()), strings.size());
    auto window = TestWindow::Open(50, 50);
    ASSERT_NE(window, nullptr);
    Build(
        LR"(<Window mininfo="300,0" maxinfo="800,600" caption="0,0,0,35" sizebox="4,5,6,7"
          roundcorner="5,5" textid="WINDOW_TITLE" custom_shadow="1,2,3,4" unknown="x">
          <Control/>
        </Window>)",
        window.get());
    EXPECT_EQ(window->GetMinInfo(true), UiSize(328, 0));
    EXPECT_EQ(window->GetMinInfo(false), UiSize(300, 0));
    EXPECT_EQ(window->GetMaxInfo(true), UiSize(828, 628));
    EXPECT_EQ(window->GetCaptionRect(), UiRect(0, 0, 0, 35));
    EXPECT_EQ(window->GetSizeBox(), UiRect(4, 5, 6, 7));
    EXPECT_EQ(window->GetRoundCorner(), UiSize(5, 5));
    EXPECT_EQ(window->GetAlphaFixCorner(), UiRect(1, 2, 3, 4));
    wchar_t title[32] = {};
    ::GetWindowTextW(window->GetHWND(), title, 32);
    EXPECT_STREQ(title, L"Mixer");
}

TEST(WindowBuilderTest, MarkupEventsFindTheirReceivers)
{
    auto window = TestWindow::Open(100, 100);
    ASSERT_NE(window, nullptr);
    window->AttachRoot(
        Build(LR"(<Window><VBox>
        <Control name="target"/>
        <HBox name="owner">
          <Event type="buttondown select" receiver="./target nowhere"
                 applyattribute="width=&quot;33&quot; height=&quot;4&quot;"/>
          <Event type="keydown" receiver="target" applyattribute="width=&quot;44&quot;"/>
          <BubbledEvent type="valuechange" receiver="./target"
                        applyattribute="width=&quot;55&quot;"/>
          <Control name="target"/>
        </HBox>
        <Control name="leaf">
          <BubbledEvent type="all" receiver="target" applyattribute="width=&quot;1&quot;"/>
        </Control>
      </VBox></Window>)",
              window.get()));
    Control* outer = window->FindControl(std::wstring(L"target"));
    Control* owner = window->FindControl(std::wstring(L"owner"));
    ASSERT_NE(outer, nullptr);
    ASSERT_NE(owner, nullptr);
    Control* inner = AsBox(owner)->GetItemAt(0);
    ASSERT_NE(inner, outer);

    window->SendEvent(owner, kEventMouseButtonDown);
    EXPECT_EQ(inner->GetFixedWidth(), 33);
    EXPECT_EQ(inner->GetFixedHeight(), 4);
    EXPECT_EQ(outer->GetFixedWidth(), kSizeStretch);
    window->SendEvent(owner, kEventKeyDown);
    EXPECT_EQ(outer->GetFixedWidth(), 44);
    // Bubbled events come from inside the box.
    window->SendEvent(inner, kEventValueChange);
    EXPECT_EQ(inner->GetFixedWidth(), 55);
    // A bubbled event inside a control that is no box attaches nothing.
    window->SendEvent(window->FindControl(std::wstring(L"leaf")), kEventSetFocus);
    EXPECT_EQ(outer->GetFixedWidth(), 44);
}

TEST(WindowBuilderTest, ChildBoxBuildsItsFileWhenAttached)
{
    auto window = TestWindow::Open(100, 100);
    ASSERT_NE(window, nullptr);
    for (int round = 0; round < 2; ++round) {
        auto root = Build(
            LR"(<Window><VBox>
                  <ChildBox name="child" xmlfile="CoreTest/Tile.xml"/>
                </VBox></Window>)",
            window.get());
        ASSERT_NE(root, nullptr);
        Box* child = AsBox(AsBox(root.get())->GetItemAt(0));
        ASSERT_NE(child, nullptr);
        ASSERT_EQ(child->GetCount(), 1u) << "round " << round;
        EXPECT_EQ(child->GetItemAt(0)->GetFixedWidth(), 60);
    }
}

} // namespace
} // namespace ui::test
