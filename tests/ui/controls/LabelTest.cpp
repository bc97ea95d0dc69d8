#include "ui/controls/ButtonTemplate.h"
#include "ui/controls/LabelTemplate.h"
#include "ui/render/IRenderContext.h"

#include "tests/ui/controls/ColourSums.h"
#include "tests/ui/controls/ControlTestHost.h"

#include <gtest/gtest.h>

namespace ui {
namespace {

using test::ColourSums;
using test::ControlTestHost;

constexpr uint32_t kLayoutBits =
    kTextCenter | kTextRight | kTextVCenter | kTextBottom | kTextSingleLine;

uint32_t AlignedStyle(const std::wstring& align, uint32_t start = Label::kLabelTextStyle)
{
    Label label;
    label.SetTextStyle(start);
    label.SetAttribute(L"align", align);
    return label.GetTextStyle();
}

TEST(LabelTest, AlignKeywordsAreFoundAnywhereInTheValue)
{
    // "vcenter" contains "center" and also sets the centre bit: "left" is undone.
    EXPECT_EQ(AlignedStyle(L"left vcenter") & kLayoutBits,
              kTextCenter | kTextVCenter | kTextSingleLine);
    EXPECT_EQ(AlignedStyle(L"right"), kTextRight | kTextNoClip | kTextEndEllipsis);
    EXPECT_EQ(AlignedStyle(L"bottom") & kLayoutBits, kTextBottom | kTextSingleLine);
    EXPECT_EQ(AlignedStyle(L"top", Button::kButtonTextStyle) & kLayoutBits,
              kTextCenter | kTextSingleLine);
    EXPECT_EQ(AlignedStyle(L"upwards centre"), Label::kLabelTextStyle);
}

TEST(LabelTest, SingleLineFalseWrapsEvenUnderVCenter)
{
    ControlTestHost host(
        L"<Label name=\"one\" width=\"60\" align=\"vcenter\" text=\"one two three four five\"/>"
        L"<Label name=\"many\" width=\"60\" align=\"vcenter\" singleline=\"false\""
        L" text=\"one two three four five\"/>");
    auto* one = host.Find<Label>(L"one");
    auto* many = host.Find<Label>(L"many");
    ASSERT_NE(many, nullptr);
    EXPECT_NE(many->GetTextStyle() & kTextSingleLine, 0u);
    EXPECT_EQ(many->GetDrawTextStyle() & kTextSingleLine, 0u);
    EXPECT_NE(one->GetDrawTextStyle() & kTextSingleLine, 0u);
    EXPECT_GT(many->GetRect().Height(), 2 * one->GetRect().Height());
}

TEST(LabelTest, TextPaddingWidensAnAutoSizedLabel)
{
    ControlTestHost host(
        L"<Label name=\"plain\" text=\"Level\"/>"
        L"<Label name=\"padded\" text=\"Level\" textpadding=\"20,0,0,0\"/>"
        L"<Label name=\"empty\" textpadding=\"20,4,20,4\"/>");
    const UiSize room(300, 300);
    const UiSize plain = host.Find(L"plain")->EstimateSize(room);
    const UiSize padded = host.Find(L"padded")->EstimateSize(room);
    EXPECT_GT(plain.cx, 10);
    EXPECT_EQ(padded.cx, plain.cx + 20);
    EXPECT_EQ(padded.cy, plain.cy);
    EXPECT_EQ(host.Find(L"empty")->EstimateSize(room), UiSize(0, 0));
}

TEST(LabelTest, WrappingStretchLabelTakesTheWidthItIsOffered)
{
    ControlTestHost host(
        L"<Label name=\"wrap\" singleline=\"false\" maxwidth=\"stretch\""
        L" text=\"a text far too long for eighty pixels\"/>");
    Control* wrap = host.Find(L"wrap");
    const UiSize wide = wrap->EstimateSize(UiSize(1000, 300));
    EXPECT_GT(wide.cx, 80);
    // It asks to be measured again, for whatever width comes next.
    EXPECT_TRUE(wrap->NeedsReEstimate());
    const UiSize narrow = wrap->EstimateSize(UiSize(80, 300));
    EXPECT_LE(narrow.cx, 80);
    EXPECT_GT(narrow.cy, wide.cy);
}

// Big red "MMM" on a label of the given extra attributes.
ColourSums PaintedText(const std::wstring& attributes)
{
    ControlTestHost host(
        L"<Label name=\"l\" width=\"120\" height=\"40\" font=\"big\" text=\"MMM\""
        L" normaltextcolor=\"red\" " +
        attributes + L"/>");
    host.Paint();
    return ColourSums::Of(host, UiRect(0, 0, 120, 40));
}

TEST(LabelTest, TextColourOfAStateFallsBack)
{
    // Pushed without a pushed colour uses hot, hot without one uses normal.
    EXPECT_TRUE(PaintedText(L"hottextcolor=\"green\" state=\"pushed\"").MostlyGreen());
    EXPECT_TRUE(PaintedText(L"state=\"pushed\"").MostlyRed());
    EXPECT_TRUE(PaintedText(L"pushedtextcolor=\"green\" state=\"pushed\"").MostlyGreen());
}

TEST(LabelTest, HotTextIsLaidOverTheNormalTextByTheHotFade)
{
    // "state" sets the fade's alpha: 0 for normal, 255 for hot.
    EXPECT_TRUE(PaintedText(L"hottextcolor=\"green\" state=\"normal\"").MostlyRed());
    const ColourSums hot = PaintedText(L"hottextcolor=\"green\" state=\"hot\"");
    EXPECT_GT(hot.green, 4 * hot.red);
}

TEST(LabelTest, AHotTextColourIsAHotLook)
{
    Label label;
    EXPECT_FALSE(label.HasHotLook());
    label.SetAttribute(L"hottextcolor", L"green");
    EXPECT_TRUE(label.HasHotLook());
    EXPECT_TRUE(label.HasHotFade());
}

} // namespace
} // namespace ui
