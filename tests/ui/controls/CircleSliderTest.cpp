#include "ui/controls/CircleProgress.h"
#include "ui/controls/CircleSlider.h"

#include "tests/ui/controls/ColourSums.h"
#include "tests/ui/controls/ControlTestHost.h"

#include <gtest/gtest.h>

namespace ui {
namespace {

using test::ColourSums;
using test::ControlTestHost;
using test::EventLog;

// A pre-amp gain knob at the window's top-left: centre (15, 15).
constexpr wchar_t kKnob[] =
    L"<CircleSlider name=\"knob\" width=\"30\" height=\"30\" zeroangle=\"180\" minangle=\"45\""
    L" circlewidth=\"2\" bgcolor=\"gray\" fgcolor=\"green\" min=\"3\" max=\"9\" value=\"1\"/>";

class CircleSliderTest : public ::testing::Test {
protected:
    CircleSliderTest() : m_host(kKnob)
    {
        m_knob = m_host.Find<CircleSlider>(L"knob");
        m_log.Watch(*m_knob);
    }

    size_t Changes() const { return m_log.Count(kEventValueChange); }

    ControlTestHost m_host;
    CircleSlider* m_knob = nullptr;
    EventLog m_log;
};

TEST_F(CircleSliderTest, APressAnywhereMovesTheValueButOnlyTheNextMoveReportsIt)
{
    m_host.MouseDown(UiPoint(29, 29));
    EXPECT_EQ(m_knob->GetValue(), 9);
    EXPECT_TRUE(m_knob->IsButtonCaptured());
    EXPECT_EQ(Changes(), 0u);
    // Reported even though the value stays.
    m_host.MouseMove(UiPoint(29, 29));
    EXPECT_EQ(Changes(), 1u);
    m_host.MouseMove(UiPoint(29, 15));
    EXPECT_EQ(m_knob->GetValue(), 8);
    m_host.MouseMove(UiPoint(15, 1));
    EXPECT_EQ(m_knob->GetValue(), 6);
    EXPECT_EQ(Changes(), 3u);
}

TEST_F(CircleSliderTest, TheReleaseSendsNothing)
{
    m_host.MouseDown(UiPoint(1, 15));
    EXPECT_EQ(m_knob->GetValue(), 4);
    m_host.MouseUp(UiPoint(29, 15));
    EXPECT_EQ(m_knob->GetValue(), 4);
    EXPECT_FALSE(m_knob->IsButtonCaptured());
    EXPECT_EQ(Changes(), 0u);
    m_host.MouseMove(UiPoint(15, 1));
    EXPECT_EQ(m_knob->GetValue(), 4);
}

TEST_F(CircleSliderTest, AtTheMinimumADragThroughTheBottomGapDoesNotJump)
{
    m_host.MouseDown(UiPoint(8, 25));
    ASSERT_EQ(m_knob->GetValue(), 3);
    m_host.MouseMove(UiPoint(14, 28));
    m_host.MouseMove(UiPoint(22, 25));
    EXPECT_EQ(m_knob->GetValue(), 3);
    // Back up the left side the knob turns again.
    m_host.MouseMove(UiPoint(1, 15));
    EXPECT_EQ(m_knob->GetValue(), 4);
}

TEST_F(CircleSliderTest, AtTheMaximumADragThroughTheBottomGapDoesNotJump)
{
    m_host.MouseDown(UiPoint(22, 25));
    ASSERT_EQ(m_knob->GetValue(), 9);
    m_host.MouseMove(UiPoint(16, 28));
    m_host.MouseMove(UiPoint(8, 25));
    EXPECT_EQ(m_knob->GetValue(), 9);
    m_host.MouseMove(UiPoint(29, 15));
    EXPECT_EQ(m_knob->GetValue(), 8);
}

TEST_F(CircleSliderTest, PointerMovesTurnTheKnobWithoutEvents)
{
    ControlTestHost::Send(*m_knob, kEventPointDown, UiPoint(1, 15));
    ControlTestHost::Send(*m_knob, kEventPointMove, UiPoint(15, 1));
    EXPECT_EQ(m_knob->GetValue(), 6);
    ControlTestHost::Send(*m_knob, kEventPointUp, UiPoint(29, 15));
    EXPECT_EQ(m_knob->GetValue(), 6);
    EXPECT_EQ(Changes(), 0u);
}

TEST_F(CircleSliderTest, TheWheelStaysInsideTheRange)
{
    m_knob->SetValue(9);
    m_host.Wheel(UiPoint(15, 15), WHEEL_DELTA);
    EXPECT_EQ(m_knob->GetValue(), 9);
    EXPECT_EQ(Changes(), 0u);
    m_knob->SetValue(8);
    m_host.Wheel(UiPoint(15, 15), WHEEL_DELTA);
    EXPECT_EQ(m_knob->GetValue(), 9);
    EXPECT_EQ(Changes(), 1u);
    m_knob->SetValue(3);
    m_host.Wheel(UiPoint(15, 15), -WHEEL_DELTA);
    EXPECT_EQ(m_knob->GetValue(), 3);
    // A disabled knob still takes the wheel, but no press.
    m_knob->SetEnabled(false);
    m_host.Wheel(UiPoint(15, 15), WHEEL_DELTA);
    EXPECT_EQ(m_knob->GetValue(), 4);
    m_host.MouseDown(UiPoint(29, 29));
    EXPECT_EQ(m_knob->GetValue(), 4);
    EXPECT_FALSE(m_knob->IsButtonCaptured());
}

TEST_F(CircleSliderTest, AMarkupValueBelowMinIsClampedAtTheFirstPaint)
{
    EXPECT_EQ(m_knob->GetValue(), 1);
    m_host.Paint();
    EXPECT_EQ(m_knob->GetValue(), 3);
}

TEST_F(CircleSliderTest, TheKnobIsAPointerLineWithoutARing)
{
    m_knob->SetValue(6);
    m_host.Paint();
    // Straight up from the centre, 10 pixels long.
    EXPECT_TRUE(ColourSums::Of(m_host, UiRect(12, 6, 18, 13)).MostlyGreen());
    // No ring: its left edge would be at x = 2.
    const ColourSums ring = ColourSums::Of(m_host, UiRect(1, 12, 4, 18));
    EXPECT_EQ(ring.red + ring.green + ring.blue, 0);

    m_knob->SetValue(3);
    m_host.Paint();
    EXPECT_TRUE(ColourSums::Of(m_host, UiRect(7, 17, 13, 23)).MostlyGreen());
    const ColourSums top = ColourSums::Of(m_host, UiRect(12, 6, 18, 13));
    EXPECT_EQ(top.green, 0);
}

TEST(CircleProgressTest, TheRingIsDrawnWithTheValueArcFromTwelveOClock)
{
    ControlTestHost host(
        L"<CircleProgress name=\"ring\" width=\"30\" height=\"30\""
        L" circlewidth=\"2\" bgcolor=\"red\" fgcolor=\"green\""
        L" min=\"0\" max=\"100\" value=\"25\"/>");
    host.Paint();
    // A quarter clockwise from 12 o'clock in the foreground colour, the
    // rest of the ring in the background colour.
    EXPECT_TRUE(ColourSums::Of(host, UiRect(21, 3, 26, 8)).MostlyGreen());
    EXPECT_TRUE(ColourSums::Of(host, UiRect(4, 22, 9, 27)).MostlyRed());
    EXPECT_TRUE(ColourSums::Of(host, UiRect(1, 12, 4, 18)).MostlyRed());
}

TEST(CircleProgressTest, TheIndicatorComesFromAnExistingFileOnly)
{
    ASSERT_TRUE(ControlTestHost::WriteImage(L"knob_dot.png", 4, 4, 0xFFFF0000));
    ControlTestHost host(
        L"<CircleProgress name=\"with\" width=\"30\" height=\"30\" indicator=\"knob_dot.png\"/>"
        L"<CircleProgress name=\"without\" width=\"30\" height=\"30\" indicator=\"missing.png\"/>");
    EXPECT_TRUE(host.Find<CircleProgress>(L"with")->HasIndicator());
    EXPECT_FALSE(host.Find<CircleProgress>(L"without")->HasIndicator());
    host.Paint();
    // At value 0 the indicator sits on the ring at 12 o'clock.
    EXPECT_TRUE(ColourSums::Of(host, UiRect(12, 0, 18, 6)).MostlyRed());
}

} // namespace
} // namespace ui
