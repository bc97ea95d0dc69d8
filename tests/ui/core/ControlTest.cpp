#include "ui/core/Control.h"

#include "tests/ui/core/CoreTestSupport.h"
#include "tests/ui/core/TestControls.h"
#include "tests/ui/render/RenderTestSupport.h"
#include "ui/core/AnimationManager.h"
#include "ui/core/FadeCurve.h"
#include "ui/core/FindFlags.h"
#include "ui/core/HBox.h"
#include "ui/markup/DpiManager.h"
#include "ui/markup/GlobalManager.h"
#include "ui/render/IRenderContext.h"
#include "ui/render/IRenderFactory.h"

#include <gtest/gtest.h>

#include <cwchar>
#include <string>
#include <vector>

namespace ui::test {
namespace {

std::unique_ptr<IRenderContext> NewContext(int width, int height)
{
    auto context = GlobalManager::GetRenderFactory()->CreateRenderContext();
    context->Resize(width, height, true);
    context->FillRect(UiRect(0, 0, width, height), 0xFFFFFFFF, 255);
    return context;
}

bool IsColour(const Pixel& pixel, uint8_t r, uint8_t g, uint8_t b)
{
    return pixel.r == r && pixel.g == g && pixel.b == b && pixel.a == 255;
}

EventArgs MakeEvent(Control* sender, EventType type, UiPoint point = UiPoint())
{
    EventArgs event;
    event.type = type;
    event.sender = sender;
    event.mousePoint = point;
    return event;
}

TEST(ControlTest, SizeRequestsFollowTheKeywordAndNumberRules)
{
    CountingBox parent;
    auto owned = std::make_unique<Control>();
    Control* control = owned.get();
    parent.Add(std::move(owned));
    parent.relayouts = 0;

    // Already stretching: nothing to lay out again.
    control->SetAttribute(L"width", L"stretch");
    EXPECT_EQ(parent.relayouts, 0);
    control->SetAttribute(L"width", L"40");
    EXPECT_EQ(control->GetFixedWidth(), 40);
    EXPECT_EQ(parent.relayouts, 1);
    control->SetAttribute(L"width", L"-5");
    EXPECT_EQ(control->GetFixedWidth(), 40);
    control->SetAttribute(L"width", L"-2");
    EXPECT_EQ(control->GetFixedWidth(), kSizeAuto);
    control->SetAttribute(L"height", L"auto");
    EXPECT_EQ(control->GetFixedHeight(), kSizeAuto);
    control->SetAttribute(L"minwidth", L"-3");
    EXPECT_EQ(control->GetMinWidth(), -1);
    control->SetAttribute(L"maxwidth", L"stretch");
    EXPECT_EQ(control->GetMaxWidth(), kSizeStretch);
    control->SetAttribute(L"maxheight", L"120");
    EXPECT_EQ(control->GetMaxHeight(), 120);
}

TEST(ControlTest, MarginListsFillMissingNumbersWithZero)
{
    Control control;
    control.SetAttribute(L"margin", L"8");
    EXPECT_EQ(control.GetMargin(), UiRect(8, 0, 0, 0));
    control.SetAttribute(L"margin", L"4,,4,4");
    EXPECT_EQ(control.GetMargin(), UiRect(4, 0, 4, 4));
}

TEST(ControlTest, UniformBorderSizeClearsPerSideSizes)
{
    Control control;
    control.SetRect(UiRect(0, 0, 20, 20));
    control.SetAttribute(L"bordercolor", L"black");
    control.SetAttribute(L"bordersize", L"1,2,3,4");
    EXPECT_EQ(control.GetSideBorderSizes(), UiRect(1, 2, 3, 4));
    control.SetAttribute(L"bordersize", L"2");
    EXPECT_EQ(control.GetSideBorderSizes(), UiRect());
    EXPECT_EQ(control.GetBorderSize(), 2);

    auto context = NewContext(20, 20);
    control.PaintWithAlpha(*context, UiRect(0, 0, 20, 20));
    for (const auto& [x, y] : {std::pair{0, 10}, {1, 10}, {18, 10}, {19, 10}, {10, 0}, {10, 19}})
        EXPECT_TRUE(IsColour(PixelAt(*context, x, y), 0, 0, 0)) << x << "," << y;
    EXPECT_TRUE(IsColour(PixelAt(*context, 3, 10), 255, 255, 255));

    // One wide side only: the left border covers its four columns.
    control.SetAttribute(L"leftbordersize", L"4");
    auto sides = NewContext(20, 20);
    control.PaintWithAlpha(*sides, UiRect(0, 0, 20, 20));
    EXPECT_TRUE(IsColour(PixelAt(*sides, 0, 10), 0, 0, 0));
    EXPECT_TRUE(IsColour(PixelAt(*sides, 3, 10), 0, 0, 0));
    EXPECT_TRUE(IsColour(PixelAt(*sides, 4, 10), 255, 255, 255));
    EXPECT_TRUE(IsColour(PixelAt(*sides, 19, 10), 255, 255, 255));
}

TEST(ControlTest, BorderPaintedPieceByPieceEqualsTheWholePaint)
{
    // Partial repaints skip the border where it cannot reach; whatever they
    // skip must be what a whole paint leaves there, for rounded and per-side
    // borders alike.
    for (const wchar_t* sizes : {L"3", L"1,4,2,5"}) {
        Control control;
        control.SetRect(UiRect(0, 0, 60, 40));
        control.SetAttribute(L"bordercolor", L"black");
        control.SetAttribute(L"bordersize", sizes);
        control.SetAttribute(L"borderround", L"10,10");
        auto whole = NewContext(60, 40);
        control.PaintWithAlpha(*whole, UiRect(0, 0, 60, 40));
        auto pieces = NewContext(60, 40);
        for (int top = 0; top < 40; top += 5) {
            for (int left = 0; left < 60; left += 5) {
                const UiRect piece(left, top, left + 5, top + 5);
                pieces->SetClip(piece);
                control.PaintWithAlpha(*pieces, piece);
                pieces->ClearClip();
            }
        }
        for (int y = 0; y < 40; ++y) {
            for (int x = 0; x < 60; ++x) {
                const Pixel a = PixelAt(*whole, x, y);
                const Pixel b = PixelAt(*pieces, x, y);
                ASSERT_TRUE(a.r == b.r && a.g == b.g && a.b == b.b && a.a == b.a)
                    << "border " << std::string(sizes, sizes + std::wcslen(sizes)) << " at " << x
                    << "," << y;
            }
        }
    }
}

TEST(ControlTest, StateColoursFallBackAndPaintInLayerOrder)
{
    Control control;
    control.SetRect(UiRect(0, 0, 10, 10));
    control.SetAttribute(L"bkcolor", L" \tblue");
    EXPECT_EQ(control.GetBkColor(), L"blue");
    control.SetAttribute(L"normalcolor", L"red");
    auto context = NewContext(10, 10);
    control.PaintWithAlpha(*context, UiRect(0, 0, 10, 10));
    // The state colour lies over the background colour.
    EXPECT_TRUE(IsColour(PixelAt(*context, 5, 5), 255, 0, 0));

    control.SetAttribute(L"hotcolor", L"green");
    control.SetAttribute(L"state", L"pushed");
    control.PaintWithAlpha(*context, UiRect(0, 0, 10, 10));
    EXPECT_TRUE(IsColour(PixelAt(*context, 5, 5), 0, 255, 0)) << "pushed falls back to hot";
    control.SetAttribute(L"state", L"disabled");
    control.PaintWithAlpha(*context, UiRect(0, 0, 10, 10));
    EXPECT_TRUE(IsColour(PixelAt(*context, 5, 5), 255, 0, 0)) << "disabled falls back to normal";
    // An unknown colour name paints nothing.
    Control unknown;
    unknown.SetRect(UiRect(0, 0, 10, 10));
    unknown.SetAttribute(L"bkcolor", L"nosuchcolour");
    auto blank = NewContext(10, 10);
    unknown.PaintWithAlpha(*blank, UiRect(0, 0, 10, 10));
    EXPECT_TRUE(IsColour(PixelAt(*blank, 5, 5), 255, 255, 255));
}

TEST(ControlTest, ZeroAlphaHidesPaintingButNotLayoutOrHitTesting)
{
    HBox box;
    auto owned = std::make_unique<Control>();
    Control* control = owned.get();
    box.Add(std::move(owned));
    control->SetAttribute(L"bkcolor", L"red");
    control->SetAttribute(L"alpha", L"0");
    box.SetRect(UiRect(0, 0, 30, 30));
    EXPECT_EQ(control->GetRect(), UiRect(0, 0, 30, 30));

    auto context = NewContext(30, 30);
    box.PaintWithAlpha(*context, UiRect(0, 0, 30, 30));
    EXPECT_TRUE(IsColour(PixelAt(*context, 15, 15), 255, 255, 255));
    Control* hit = box.FindControl([](Control* found) { return found; }, UiPoint(15, 15),
                                   kFindVisible | kFindHitTest | kFindTopFirst);
    EXPECT_EQ(hit, control);
}

TEST(ControlTest, TranslucentParentShowsItsChildrensChanges)
{
    HBox box;
    box.SetAttribute(L"alpha", L"128");
    auto owned = std::make_unique<Control>();
    Control* child = owned.get();
    box.Add(std::move(owned));
    child->SetAttribute(L"bkcolor", L"red");
    box.SetRect(UiRect(0, 0, 10, 10));
    auto context = NewContext(10, 10);
    box.PaintWithAlpha(*context, UiRect(0, 0, 10, 10));
    const Pixel red = PixelAt(*context, 5, 5);
    EXPECT_GT(red.r, 200);
    EXPECT_LT(red.g, 160);

    child->SetAttribute(L"bkcolor", L"blue");
    auto again = NewContext(10, 10);
    box.PaintWithAlpha(*again, UiRect(0, 0, 10, 10));
    const Pixel blue = PixelAt(*again, 5, 5);
    EXPECT_LT(blue.r, 160);
    EXPECT_GT(blue.b, 200);
}

TEST(ControlTest, MarkupHandlersRunFirstAndFalseStopsTheReaction)
{
    TestButton button;
    button.SetRect(UiRect(0, 0, 10, 10));
    std::vector<std::string> calls;
    button.AddEventHandler(kEventMouseButtonUp, [&](const EventArgs&) {
        calls.push_back("code");
        return false;
    });
    button.AddEventHandler(kEventAll, [&](const EventArgs&) {
        calls.push_back("code-all");
        return true;
    });
    button.AddMarkupEventHandler(kEventAll, [&](const EventArgs&) {
        calls.push_back("markup-all");
        return true;
    });
    button.AddMarkupEventHandler(kEventMouseButtonUp, [&](const EventArgs&) {
        calls.push_back("markup");
        return true;
    });

    button.DispatchEvent(MakeEvent(&button, kEventMouseButtonDown, UiPoint(5, 5)));
    EXPECT_EQ(button.GetState(), kControlStatePushed);
    calls.clear();
    button.DispatchEvent(MakeEvent(&button, kEventMouseButtonUp, UiPoint(5, 5)));
    EXPECT_EQ(calls, (std::vector<std::string>{"markup", "markup-all", "code"}));
    EXPECT_EQ(button.activations, 0) << "a handler answering false prevents the click";
}

TEST(ControlTest, HandlerMayDestroyItsControl)
{
    Box parent;
    parent.SetDelayedDestroy(false);
    auto owned = std::make_unique<TestButton>();
    TestButton* button = owned.get();
    parent.Add(std::move(owned));
    bool secondRan = false;
    button->AddEventHandler(kEventMouseButtonDown, [&](const EventArgs&) {
        parent.Remove(button);
        return true;
    });
    button->AddEventHandler(kEventMouseButtonDown, [&](const EventArgs&) {
        secondRan = true;
        return true;
    });
    button->DispatchEvent(MakeEvent(button, kEventMouseButtonDown));
    EXPECT_EQ(parent.GetCount(), 0u);
    EXPECT_FALSE(secondRan);
}

TEST(ControlTest, ReleaseOutsideReturnsToNormalWithoutActivating)
{
    TestButton button;
    button.SetRect(UiRect(0, 0, 10, 10));
    button.DispatchEvent(MakeEvent(&button, kEventMouseButtonDown, UiPoint(5, 5)));
    EXPECT_TRUE(button.IsMouseFocused());
    button.DispatchEvent(MakeEvent(&button, kEventMouseButtonUp, UiPoint(50, 5)));
    EXPECT_EQ(button.GetState(), kControlStateNormal);
    EXPECT_EQ(button.GetHotAlpha(), 0);
    EXPECT_EQ(button.activations, 0);

    button.DispatchEvent(MakeEvent(&button, kEventMouseButtonDown, UiPoint(5, 5)));
    button.DispatchEvent(MakeEvent(&button, kEventMouseButtonUp, UiPoint(5, 5)));
    EXPECT_EQ(button.GetState(), kControlStateHot);
    EXPECT_EQ(button.activations, 1);
    // A second release without a press does nothing.
    button.DispatchEvent(MakeEvent(&button, kEventMouseButtonUp, UiPoint(5, 5)));
    EXPECT_EQ(button.activations, 1);

    button.SetEnabled(false);
    EXPECT_EQ(button.GetState(), kControlStateDisabled);
    button.DispatchEvent(MakeEvent(&button, kEventMouseButtonDown, UiPoint(5, 5)));
    button.DispatchEvent(MakeEvent(&button, kEventMouseEnter, UiPoint(5, 5)));
    EXPECT_EQ(button.GetState(), kControlStateDisabled);
}

TEST(ControlTest, MouseEventsOfAMouseDisabledControlGoToItsParent)
{
    auto window = TestWindow::Open(40, 40);
    ASSERT_NE(window, nullptr);
    auto root = std::make_unique<HBox>();
    HBox* box = root.get();
    int parentMoves = 0;
    box->AddBubbledEventHandler(kEventMouseMove, [&](const EventArgs&) {
        ++parentMoves;
        return true;
    });
    auto owned = std::make_unique<Control>();
    Control* child = owned.get();
    box->Add(std::move(owned));
    window->AttachRoot(std::move(root));
    child->SetAttribute(L"mouse", L"false");
    window->PaintNow();

    EXPECT_EQ(window->FindControl(UiPoint(20, 20)), box);
    ::SendMessageW(window->GetHWND(), WM_MOUSEMOVE, 0, MAKELPARAM(20, 20));
    EXPECT_EQ(window->GetHoverControl(), box);
    EXPECT_EQ(parentMoves, 1);
    // Sent to the child all the same, the event reaches the parent.
    child->DispatchEvent(MakeEvent(child, kEventMouseMove, UiPoint(20, 20)));
    EXPECT_EQ(parentMoves, 2);
}

TEST(ControlTest, NoFocusTakesAnyValue)
{
    auto window = TestWindow::Open(40, 40);
    ASSERT_NE(window, nullptr);
    auto root = std::make_unique<HBox>();
    auto owned = std::make_unique<Control>();
    Control* control = owned.get();
    root->Add(std::move(owned));
    window->AttachRoot(std::move(root));
    control->SetAttribute(L"nofocus", L"false");
    EXPECT_TRUE(control->IsNoFocus());
    control->SetFocus();
    EXPECT_EQ(window->GetFocus(), nullptr);
}

TEST(ControlTest, ToolTipLineBreaksAndLanguageFallback)
{
    Control control;
    control.SetAttribute(L"tooltiptext", L"first<n>second");
    EXPECT_EQ(control.GetToolTipText(), L"first\r\nsecond");
    EXPECT_EQ(control.GetUtf8ToolTipText(), "first\r\nsecond");

    const std::string strings = "TIP_ID = from the table\n";
    GlobalManager::GetLanguageStrings().LoadFromMemory(
        reinterpret_cast<const uint8_t*>(strings.data()), strings.size());
    Control byId;
    byId.SetAttribute(L"tooltiptextid", L"TIP_ID");
    EXPECT_EQ(byId.GetToolTipText(), L"from the table");
}

TEST(ControlTest, ClassIsAppliedWhereItStands)
{
    GlobalManager::AddClass(L"wide", L"width=\"30\" height=\"12\"");
    Control before;
    before.SetAttribute(L"width", L"10");
    before.SetAttribute(L"class", L"wide");
    EXPECT_EQ(before.GetFixedWidth(), 30);
    Control after;
    after.SetAttribute(L"class", L"wide");
    after.SetAttribute(L"width", L"10");
    EXPECT_EQ(after.GetFixedWidth(), 10);
    EXPECT_EQ(after.GetFixedHeight(), 12);

    // A class that names itself stops instead of recursing for ever.
    GlobalManager::AddClass(L"loop", L"class=\"loop\" height=\"7\"");
    Control looped;
    looped.SetAttribute(L"class", L"loop missing");
    EXPECT_EQ(looped.GetFixedHeight(), 7);
}

TEST(ControlTest, AutoSizeTakesTheLargerOfImageAndText)
{
    TextControl text(UiSize(30, 10));
    text.SetAttribute(L"bkimage", L"CoreTest/gradient.png");
    EXPECT_EQ(text.EstimateSize(UiSize(500, 500)), UiSize(32, 32));
    text.textSize = UiSize(50, 10);
    text.RelayoutFromAncestor();
    EXPECT_EQ(text.EstimateSize(UiSize(500, 500)), UiSize(50, 32));
    // Until something changes, the estimate is kept.
    const int measured = text.measured;
    text.EstimateSize(UiSize(500, 500));
    EXPECT_EQ(text.measured, measured);

    // An image with a complete destination fixes the size.
    TextControl sized(UiSize(30, 10));
    sized.SetAttribute(L"bkimage", L"file='CoreTest/gradient.png' dest='0,0,20,16'");
    EXPECT_EQ(sized.EstimateSize(UiSize(500, 500)), UiSize(20, 16));
    EXPECT_EQ(sized.GetFixedWidth(), 20);

    // At 150 % both are 1.5 times as large: the destination is scaled once,
    // when it is read, and not again when it sizes the control.
    DpiManager& dpi = DpiManager::GetInstance();
    dpi.SetAdaptDpi(true);
    dpi.SetScale(150);
    TextControl scaledText(UiSize(30, 10));
    scaledText.SetAttribute(L"bkimage", L"CoreTest/gradient.png");
    TextControl scaledSized(UiSize(30, 10));
    scaledSized.SetAttribute(L"bkimage", L"file='CoreTest/gradient.png' dest='0,0,20,16'");
    const UiSize imageSize = scaledText.EstimateSize(UiSize(500, 500));
    const UiSize destSize = scaledSized.EstimateSize(UiSize(500, 500));
    dpi.SetScale(100);
    dpi.SetAdaptDpi(false);
    EXPECT_EQ(imageSize, UiSize(48, 48));
    EXPECT_EQ(destSize, UiSize(30, 24));
}

TEST(ControlTest, HotFadeRunsForwardAndTurnsAround)
{
    Control control;
    control.SetAttribute(L"normalcolor", L"blue");
    EXPECT_FALSE(control.HasHotFade());
    control.SetAttribute(L"hotcolor", L"red");
    ASSERT_TRUE(control.HasHotFade());
    // The fade follows this clock; waiting is only for the timer to look.
    AnimationPlayer* player = control.GetAnimationManager().GetPlayer(kAnimationHot);
    ASSERT_NE(player, nullptr);
    int64_t nowMs = 0;
    player->SetClock([&] { return nowMs * 1000; });
    const auto shows = [&](int32_t alpha) {
        return PumpUntil([&] { return control.GetHotAlpha() == alpha; }, 10000);
    };
    const auto forward = [](int64_t ms) { return FadeCurve::ValueAt(0, 255, ms * 1000, 250000); };
    const auto back = [](int64_t ms) { return FadeCurve::ValueAt(255, 0, ms * 1000, 250000); };

    control.DispatchEvent(MakeEvent(&control, kEventMouseEnter));
    EXPECT_EQ(control.GetState(), kControlStateHot);
    nowMs = 100;
    EXPECT_TRUE(shows(forward(100)));
    const int midway = control.GetHotAlpha();
    EXPECT_GT(midway, 0);
    EXPECT_LT(midway, 255);

    // Leaving after 100 ms of 250 turns around: the way back starts 150 ms
    // into the backward course, at or below where the fade stood.
    control.DispatchEvent(MakeEvent(&control, kEventMouseLeave));
    EXPECT_EQ(control.GetState(), kControlStateNormal);
    EXPECT_TRUE(shows(back(150)));
    EXPECT_LE(control.GetHotAlpha(), midway);
    nowMs += 40;
    EXPECT_TRUE(shows(back(190)));
    nowMs += 40;
    EXPECT_TRUE(shows(back(230)));
    EXPECT_GT(control.GetHotAlpha(), 0);
    EXPECT_TRUE(player->IsPlaying());
    nowMs += 20;
    EXPECT_TRUE(shows(0));
    EXPECT_TRUE(PumpUntil([&] { return !player->IsPlaying(); }, 10000));

    // A fresh enter runs the whole way: exactly 255 at 250 ms, then stops.
    control.DispatchEvent(MakeEvent(&control, kEventMouseEnter));
    nowMs += 230;
    EXPECT_TRUE(shows(forward(230)));
    EXPECT_LT(control.GetHotAlpha(), 255);
    nowMs += 20;
    EXPECT_TRUE(shows(255));
    EXPECT_TRUE(PumpUntil([&] { return !player->IsPlaying(); }, 10000));
}

} // namespace
} // namespace ui::test
