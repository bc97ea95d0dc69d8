#include "ui/controls/Progress.h"
#include "ui/controls/Slider.h"

#include "tests/ui/controls/ControlTestHost.h"

#include <gtest/gtest.h>

namespace ui {
namespace {

using test::ControlTestHost;
using test::EventLog;

// A mixer fader: 29 x 200 at the window's top-left, thumb 29 x 15, 0..44.
constexpr wchar_t kFader[] =
    L"<Slider name=\"fader\" hor=\"false\" width=\"29\" height=\"200\" thumbsize=\"29,15\""
    L" min=\"0\" max=\"44\" value=\"44\"/>";

double Between(int y)
{
    return 44.0 * (200 - 7 - y) / 185;
}

class SliderTest : public ::testing::Test {
protected:
    SliderTest() : m_host(kFader)
    {
        m_fader = m_host.Find<Slider>(L"fader");
        m_log.Watch(*m_fader);
    }

    ControlTestHost m_host;
    Slider* m_fader = nullptr;
    EventLog m_log;
};

TEST_F(SliderTest, ADragFromTheThumbFollowsThePointerAndTheReleaseReportsOnceMore)
{
    ASSERT_EQ(m_fader->GetThumbRect(), UiRect(0, 0, 29, 15));
    m_host.MouseDown(UiPoint(14, 7));
    EXPECT_TRUE(m_fader->IsButtonCaptured());
    EXPECT_EQ(m_log.Count(kEventValueChange), 0u);

    m_host.MouseMove(UiPoint(14, 100));
    EXPECT_DOUBLE_EQ(m_fader->GetValue(), Between(100));
    m_host.MouseMove(UiPoint(14, 6));
    EXPECT_EQ(m_fader->GetValue(), 44);
    m_host.MouseMove(UiPoint(14, 300));
    EXPECT_EQ(m_fader->GetValue(), 0);
    m_host.MouseUp(UiPoint(14, 150));
    EXPECT_DOUBLE_EQ(m_fader->GetValue(), Between(150));
    EXPECT_FALSE(m_fader->IsButtonCaptured());
    EXPECT_EQ(m_log.Count(kEventValueChange), 4u);

    // Moves after the release are not a drag.
    m_host.MouseMove(UiPoint(14, 20));
    EXPECT_DOUBLE_EQ(m_fader->GetValue(), Between(150));
    EXPECT_EQ(m_log.Count(kEventValueChange), 4u);
}

TEST_F(SliderTest, APressOnTheGrooveChangesNothing)
{
    m_host.MouseDown(UiPoint(14, 150));
    EXPECT_FALSE(m_fader->IsButtonCaptured());
    EXPECT_NE(m_fader->GetState(), kControlStatePushed);
    m_host.MouseMove(UiPoint(14, 100));
    m_host.MouseUp(UiPoint(14, 100));
    EXPECT_EQ(m_fader->GetValue(), 44);
    EXPECT_TRUE(m_log.Entries().empty());
}

TEST_F(SliderTest, PointerMovesChangeTheValueWithoutEvents)
{
    ControlTestHost::Send(*m_fader, kEventPointDown, UiPoint(14, 7));
    ControlTestHost::Send(*m_fader, kEventPointMove, UiPoint(14, 100));
    EXPECT_DOUBLE_EQ(m_fader->GetValue(), Between(100));
    EXPECT_TRUE(m_log.Entries().empty());
    ControlTestHost::Send(*m_fader, kEventPointUp, UiPoint(14, 120));
    EXPECT_DOUBLE_EQ(m_fader->GetValue(), Between(120));
    EXPECT_EQ(m_log.Count(kEventValueChange), 1u);
}

TEST_F(SliderTest, ADisabledSliderCannotBeDragged)
{
    m_fader->SetEnabled(false);
    m_host.MouseDown(UiPoint(14, 7));
    m_host.MouseMove(UiPoint(14, 100));
    EXPECT_FALSE(m_fader->IsButtonCaptured());
    EXPECT_EQ(m_fader->GetValue(), 44);
}

TEST_F(SliderTest, WheelStepsAreUnclampedUntilTheNextPaint)
{
    m_fader->SetValue(43.5);
    m_host.Wheel(UiPoint(14, 100), WHEEL_DELTA);
    EXPECT_EQ(m_fader->GetValue(), 44.5);
    EXPECT_EQ(m_log.Count(kEventValueChange), 1u);
    m_host.Paint();
    EXPECT_EQ(m_fader->GetValue(), 44);

    m_host.Wheel(UiPoint(14, 100), WHEEL_DELTA);
    EXPECT_EQ(m_fader->GetValue(), 44);
    EXPECT_EQ(m_log.Count(kEventValueChange), 1u);

    // The wheel still moves a disabled (muted) fader.
    m_fader->SetEnabled(false);
    m_host.Wheel(UiPoint(14, 100), -WHEEL_DELTA);
    EXPECT_EQ(m_fader->GetValue(), 43);
    EXPECT_EQ(m_log.Count(kEventValueChange), 2u);
}

TEST(SliderPaintTest, AMarkupValueAboveMaxIsClampedAtTheFirstPaint)
{
    ControlTestHost host(
        L"<Slider name=\"s\" hor=\"false\" width=\"29\" height=\"200\""
        L" value=\"50\" max=\"44\"/>");
    auto* slider = host.Find<Slider>(L"s");
    EXPECT_EQ(slider->GetValue(), 50);
    host.Paint();
    EXPECT_EQ(slider->GetValue(), 44);
}

TEST(SliderPaintTest, AProgressWithAnEmptyRangePaintsAsOneStep)
{
    ControlTestHost host(
        L"<Progress name=\"p\" width=\"100\" height=\"10\" min=\"5\" max=\"5\""
        L" progresscolor=\"red\"/>");
    auto* progress = host.Find<Progress>(L"p");
    progress->SetValue(5.5);
    host.Paint();
    EXPECT_EQ(progress->GetMaxValue(), 6);
    EXPECT_EQ(host.PixelAt(25, 5).r, 255);
    EXPECT_EQ(host.PixelAt(75, 5).r, 0);
}

TEST(SliderPaintTest, ProgressBarPaddingShiftsTheFillAndItEndsAtTheThumbMiddle)
{
    ControlTestHost host(
        L"<Slider name=\"s\" hor=\"false\" width=\"29\" height=\"200\""
        L" thumbsize=\"29,15\" progressbarpadding=\"0,6,0,6\""
        L" progresscolor=\"red\" min=\"0\" max=\"44\" value=\"0\"/>");
    auto* slider = host.Find<Slider>(L"s");
    host.Paint();
    // Padded track 6..194: at 0 the fill is 186..194.
    EXPECT_EQ(host.PixelAt(14, 196).r, 0);
    EXPECT_EQ(host.PixelAt(14, 193).r, 255);
    EXPECT_EQ(host.PixelAt(14, 186).r, 255);
    EXPECT_EQ(host.PixelAt(14, 185).r, 0);
    // At 22 the fill starts at 6 + trunc(173 * 22 / 44 + 7.5) = 100.
    slider->SetValue(22);
    host.Paint();
    EXPECT_EQ(host.PixelAt(14, 100).r, 255);
    EXPECT_EQ(host.PixelAt(14, 99).r, 0);
}

TEST(SliderPaintTest, ThePushedThumbShowsOnlyWhileDragging)
{
    ASSERT_TRUE(ControlTestHost::WriteImage(L"thumb_normal.png", 29, 15, 0xFF0000FF));
    ASSERT_TRUE(ControlTestHost::WriteImage(L"thumb_pushed.png", 29, 15, 0xFFFF0000));
    ASSERT_TRUE(ControlTestHost::WriteImage(L"thumb_hot.png", 29, 15, 0xFF00FF00));
    ControlTestHost host(
        L"<Slider name=\"s\" hor=\"false\" width=\"29\" height=\"200\""
        L" thumbsize=\"29,15\" max=\"44\" value=\"44\""
        L" thumbnormalimage=\"thumb_normal.png\" thumbhotimage=\"thumb_hot.png\""
        L" thumbpushedimage=\"thumb_pushed.png\"/>");
    host.MouseMove(UiPoint(14, 7));
    host.Paint();
    EXPECT_EQ(host.PixelAt(14, 7).b, 255);
    host.MouseDown(UiPoint(14, 7));
    host.Paint();
    EXPECT_EQ(host.PixelAt(14, 7).r, 255);
    host.MouseUp(UiPoint(14, 7));
    host.Paint();
    EXPECT_EQ(host.PixelAt(14, 7).b, 255);
}

} // namespace
} // namespace ui
