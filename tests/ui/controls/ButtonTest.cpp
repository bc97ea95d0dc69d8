#include "ui/controls/ButtonTemplate.h"
#include "ui/controls/CheckBoxTemplate.h"
#include "ui/controls/OptionTemplate.h"
#include "ui/markup/WindowBuilder.h"

#include "tests/ui/controls/ControlTestHost.h"

#include <gtest/gtest.h>

namespace ui {
namespace {

using test::ControlTestHost;
using test::EventLog;

const UiPoint kInside(10, 10);

TEST(ButtonTest, AReleaseInsideThePressedButtonClicks)
{
    ControlTestHost host(L"<Button name=\"ok\" width=\"80\" height=\"30\" text=\"OK\"/>");
    Control* ok = host.Find(L"ok");
    EventLog log;
    log.Watch(*ok);
    host.Click(kInside);
    EXPECT_EQ(log.Count(kEventClick, ok), 1u);
    host.MouseDown(kInside);
    host.MouseUp(UiPoint(200, 200));
    EXPECT_EQ(log.Count(kEventClick), 1u);
    EXPECT_EQ(ok->GetState(), kControlStateNormal);
}

TEST(ButtonTest, SpaceOrReturnClicksTheFocusedButton)
{
    ControlTestHost host(L"<Button name=\"ok\" width=\"80\" height=\"30\" text=\"OK\"/>");
    Control* ok = host.Find(L"ok");
    EventLog log;
    log.Watch(*ok);
    host.GetWindow().SetFocus(ok);
    ASSERT_EQ(host.GetWindow().GetFocus(), ok);
    host.KeyDown(VK_SPACE);
    host.KeyDown(VK_RETURN);
    host.KeyDown('A');
    EXPECT_EQ(log.Count(kEventClick), 2u);
    ok->SetKeyboardEnabled(false);
    host.KeyDown(VK_SPACE);
    EXPECT_EQ(log.Count(kEventClick), 2u);
}

TEST(ButtonTest, DisabledOrWindowlessButtonsDoNotClick)
{
    Button loose;
    EventLog log;
    log.Watch(loose);
    loose.Activate();
    ControlTestHost host(L"<Button name=\"ok\" width=\"80\" height=\"30\" enabled=\"false\"/>");
    Control* ok = host.Find(L"ok");
    log.Watch(*ok);
    host.Click(kInside);
    ok->Activate();
    EXPECT_TRUE(log.Entries().empty());
}

TEST(CheckBoxTest, AClickTogglesWithSelectAndUnselectButNoClick)
{
    ControlTestHost host(L"<CheckBox name=\"mute\" width=\"20\" height=\"20\"/>");
    auto* mute = host.Find<CheckBox>(L"mute");
    EventLog log;
    log.Watch(*mute);
    host.Click(kInside);
    EXPECT_TRUE(mute->IsSelected());
    host.Click(kInside);
    EXPECT_FALSE(mute->IsSelected());
    ASSERT_EQ(log.Entries().size(), 2u);
    EXPECT_EQ(log.Entries()[0].type, kEventSelect);
    EXPECT_EQ(log.Entries()[1].type, kEventUnSelect);
}

TEST(CheckBoxTest, SpaceOrReturnTogglesTheFocusedCheckBox)
{
    ControlTestHost host(L"<CheckBox name=\"invert\" width=\"60\" height=\"20\" text=\"Invert\"/>");
    auto* invert = host.Find<CheckBox>(L"invert");
    EventLog log;
    log.Watch(*invert);
    host.GetWindow().SetFocus(invert);
    host.KeyDown(VK_SPACE);
    EXPECT_TRUE(invert->IsSelected());
    host.KeyDown(VK_RETURN);
    EXPECT_FALSE(invert->IsSelected());
    EXPECT_EQ(log.Count(kEventSelect), 1u);
    EXPECT_EQ(log.Count(kEventUnSelect), 1u);
    EXPECT_EQ(log.Count(kEventClick), 0u);
}

TEST(CheckBoxTest, ProgramCodeSetsTheStateWithoutEvents)
{
    ControlTestHost host(
        L"<CheckBox name=\"lock\" width=\"20\" height=\"20\"/>"
        L"<CheckBox name=\"phantom\" selected=\"true\" visible=\"false\"/>");
    auto* lock = host.Find<CheckBox>(L"lock");
    EXPECT_TRUE(host.Find<CheckBox>(L"phantom")->IsSelected());
    EventLog log;
    log.Watch(*lock);
    lock->Selected(true, false);
    EXPECT_TRUE(lock->IsSelected());
    lock->Selected(true, true);
    EXPECT_TRUE(log.Entries().empty());
    lock->Selected(false, true);
    EXPECT_EQ(log.Count(kEventUnSelect), 1u);
}

TEST(CheckBoxTest, AnImageOnlyMuteBoxShowsItsSelectedImageAndIgnoresHover)
{
    ASSERT_TRUE(ControlTestHost::WriteImage(L"sound_on.png", 20, 20, 0xFF0000FF));
    ASSERT_TRUE(ControlTestHost::WriteImage(L"sound_off.png", 20, 20, 0xFFFF0000));
    ControlTestHost host(
        L"<CheckBox name=\"mute\" width=\"20\" height=\"20\""
        L" normalimage=\"sound_on.png\" selectednormalimage=\"sound_off.png\"/>");
    auto* mute = host.Find<CheckBox>(L"mute");
    EXPECT_FALSE(mute->HasHotLook());
    host.Paint();
    EXPECT_EQ(host.PixelAt(10, 10).b, 255);

    host.MouseMove(kInside);
    EXPECT_EQ(mute->GetState(), kControlStateHot);
    host.Paint();
    EXPECT_EQ(host.PixelAt(10, 10).b, 255);

    mute->Selected(true, false);
    host.Paint();
    EXPECT_EQ(host.PixelAt(10, 10).r, 255);
    EXPECT_EQ(host.PixelAt(10, 10).b, 0);
    host.MouseMove(UiPoint(12, 12));
    host.Paint();
    EXPECT_EQ(host.PixelAt(10, 10).r, 255);
}

TEST(CheckBoxTest, SelectedColoursReplaceTheStateColours)
{
    ControlTestHost host(
        L"<CheckBox name=\"c\" width=\"20\" height=\"20\" normalcolor=\"blue\""
        L" selectednormalcolor=\"green\"/>");
    auto* box = host.Find<CheckBox>(L"c");
    host.Paint();
    EXPECT_EQ(host.PixelAt(5, 5).b, 255);
    box->Selected(true, false);
    host.Paint();
    EXPECT_EQ(host.PixelAt(5, 5).g, 255);
    EXPECT_EQ(host.PixelAt(5, 5).b, 0);
}

TEST(CheckBoxTest, ADisabledBoxKeepsItsDisabledLookThroughFocusAndRelease)
{
    ControlTestHost host(
        L"<CheckBox name=\"mute\" width=\"20\" height=\"20\"/>"
        L"<Button name=\"other\" width=\"20\" height=\"20\"/>");
    auto* mute = host.Find<CheckBox>(L"mute");
    EventLog log;
    log.Watch(*mute);
    host.Click(kInside);
    ASSERT_TRUE(mute->IsFocused());
    // The device goes away while the clicked box holds the focus.
    mute->SetEnabled(false);
    host.GetWindow().SetFocus(host.Find(L"other"));
    EXPECT_FALSE(mute->IsFocused());
    EXPECT_EQ(mute->GetState(), kControlStateDisabled);

    // Disabled between press and release: no toggle, still disabled.
    mute->SetEnabled(true);
    host.MouseDown(kInside);
    mute->SetEnabled(false);
    host.MouseUp(kInside);
    EXPECT_EQ(mute->GetState(), kControlStateDisabled);
    EXPECT_EQ(log.Count(kEventSelect), 1u);
    EXPECT_EQ(log.Count(kEventUnSelect), 0u);
}

TEST(ButtonTest, OnlyPlainButtonsArePushButtons)
{
    EXPECT_TRUE(Button().IsPushButton());
    EXPECT_FALSE(ButtonBox().IsPushButton());
    EXPECT_FALSE(CheckBox().IsPushButton());
    EXPECT_FALSE(Option().IsPushButton());
    EXPECT_FALSE(Control().IsPushButton());
}

constexpr wchar_t kRates[] =
    L"<Option name=\"a\" group=\"rate\" width=\"20\" height=\"20\" selected=\"true\"/>"
    L"<Option name=\"b\" group=\"rate\" width=\"20\" height=\"20\"/>"
    L"<OptionBox name=\"c\" group=\"rate\" width=\"20\" height=\"20\"/>"
    L"<Option name=\"other\" group=\"mode\" width=\"20\" height=\"20\" selected=\"true\"/>";

TEST(OptionTest, SelectingOneDeselectsTheRestOfItsGroup)
{
    ControlTestHost host(kRates);
    auto* a = host.Find<Option>(L"a");
    auto* b = host.Find<Option>(L"b");
    auto* c = host.Find<OptionBox>(L"c");
    EventLog log;
    for (Control* option : {static_cast<Control*>(a), static_cast<Control*>(b),
                            static_cast<Control*>(c), host.Find(L"other")})
        log.Watch(*option);

    b->Activate();
    EXPECT_TRUE(b->IsSelected());
    EXPECT_FALSE(a->IsSelected());
    EXPECT_FALSE(c->IsSelected());
    EXPECT_TRUE(host.Find<Option>(L"other")->IsSelected());
    // The click comes first; every other member of the group reports
    // "unselect", even one that was not selected.
    ASSERT_EQ(log.Entries().size(), 4u);
    EXPECT_EQ(log.Entries()[0].type, kEventClick);
    EXPECT_EQ(log.Count(kEventUnSelect, a), 1u);
    EXPECT_EQ(log.Count(kEventUnSelect, c), 1u);
    EXPECT_EQ(log.Entries()[3].type, kEventSelect);
    EXPECT_EQ(log.Entries()[3].sender, b);

    // Activating the selected option keeps it selected and reports again.
    b->Activate();
    EXPECT_TRUE(b->IsSelected());
    EXPECT_EQ(log.Count(kEventSelect, b), 2u);
}

TEST(OptionTest, SelectingWithoutNotifyStillDeselectsTheGroup)
{
    ControlTestHost host(kRates);
    auto* a = host.Find<Option>(L"a");
    auto* c = host.Find<OptionBox>(L"c");
    EventLog log;
    log.Watch(*c);
    c->Selected(true, false);
    EXPECT_TRUE(c->IsSelected());
    EXPECT_FALSE(a->IsSelected());
    EXPECT_EQ(log.Count(kEventSelect), 0u);
}

TEST(OptionTest, BuildingSelectsQuietlyAndLaterSelectionsReport)
{
    ControlTestHost host(kRates);
    auto* a = host.Find<Option>(L"a");
    EventLog log;
    log.Watch(*a);
    // More markup built into the live window: its selected option takes
    // over the group without events in the middle of the build.
    WindowBuilder builder;
    builder.Create(L"<Window><Option name=\"d\" group=\"rate\" selected=\"true\"/></Window>", {},
                   &host.GetWindow(), host.Find<Box>(L"root"));
    auto* d = host.Find<Option>(L"d");
    ASSERT_NE(d, nullptr);
    EXPECT_TRUE(d->IsSelected());
    EXPECT_FALSE(a->IsSelected());
    EXPECT_TRUE(log.Entries().empty());
    EXPECT_FALSE(host.GetWindow().IsBuilding());

    log.Watch(*d);
    a->Activate();
    EXPECT_EQ(log.Count(kEventSelect, a), 1u);
    EXPECT_EQ(log.Count(kEventUnSelect, d), 1u);
    EXPECT_FALSE(d->IsSelected());
}

TEST(OptionTest, ChangingTheGroupMovesTheOption)
{
    ControlTestHost host(kRates);
    auto* a = host.Find<Option>(L"a");
    a->SetGroup(L"mode");
    host.Find<Option>(L"b")->Activate();
    EXPECT_TRUE(a->IsSelected());
    a->Activate();
    EXPECT_FALSE(host.Find<Option>(L"other")->IsSelected());
    a->SetGroup(L"");
    host.Find<Option>(L"other")->Activate();
    EXPECT_TRUE(a->IsSelected());
}

TEST(OptionTest, AWindowlessOptionOnlyStoresTheFlag)
{
    Option option;
    EventLog log;
    log.Watch(option);
    option.SetGroup(L"rate");
    option.Selected(true, true);
    EXPECT_TRUE(option.IsSelected());
    option.Selected(false, true);
    EXPECT_FALSE(option.IsSelected());
    EXPECT_TRUE(log.Entries().empty());
}

} // namespace
} // namespace ui
