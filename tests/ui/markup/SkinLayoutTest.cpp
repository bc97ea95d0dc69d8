// The program's own skin, built from the archive the program embeds: every
// control the mixer's code binds by name is there with the type, range and
// start state it relies on, the images named in code are in the archive,
// and the dB scale marks stand where a fader's thumb centre rests.
#include "tests/ui/markup/SkinForm.h"
#include "ui/controls/ButtonTemplate.h"
#include "ui/controls/CheckBoxTemplate.h"
#include "ui/controls/CircleSlider.h"
#include "ui/controls/Slider.h"
#include "ui/markup/GlobalManager.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <typeinfo>

namespace ui::test {
namespace {

class SkinEnvironment : public ::testing::Environment {
public:
    void SetUp() override { ASSERT_TRUE(SkinForm::StartSkin()); }
    void TearDown() override
    {
        GlobalManager::Shutdown();
        GlobalManager::CloseArchive();
    }
};

[[maybe_unused]] const auto* const g_environment =
    ::testing::AddGlobalTestEnvironment(new SkinEnvironment);

class MainFormSkin : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_form = SkinForm::Open(L"ControlPanel", L"MainForm.xml");
        ASSERT_NE(m_form, nullptr);
    }
    void TearDown() override
    {
        if (m_form != nullptr && ::IsWindow(m_form->GetHWND()))
            ::DestroyWindow(m_form->GetHWND());
    }
    template <typename T>
    T* Find(const wchar_t* name)
    {
        auto* control = dynamic_cast<T*>(m_form->FindControl(std::wstring(name)));
        EXPECT_NE(control, nullptr)
            << "missing or of another type: " << testing::PrintToString(name);
        return control;
    }
    void LayOut()
    {
        ::ShowWindow(m_form->GetHWND(), SW_SHOWNOACTIVATE);
        const DWORD start = ::GetTickCount();
        while (m_form->IsFirstLayoutPending() && ::GetTickCount() - start < 3000) {
            MSG message;
            while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
                ::DispatchMessageW(&message);
            ::Sleep(5);
        }
        ASSERT_FALSE(m_form->IsFirstLayoutPending());
    }

    SkinForm* m_form = nullptr;
};

const wchar_t* const kSingleFaders[] = {L"input_master", L"input_mic1", L"input_mic2",
                                        L"input_guitar", L"output_master"};
const wchar_t* const kPairs[] = {L"input_phone1",  L"input_phone2",  L"output_ear",
                                 L"output_phone1", L"output_phone2", L"output_box"};
const wchar_t* const kMutes[] = {L"input_master_mute",  L"input_mic1_mute",   L"input_mic2_mute",
                                 L"input_guitar_mute",  L"input_phone1_mute", L"input_phone2_mute",
                                 L"output_master_mute", L"output_ear_mute",   L"output_phone1_mute",
                                 L"output_phone2_mute", L"output_box_mute"};
const wchar_t* const kDeviceFaders[] = {L"device_MIC1", L"device_MIC2", L"device_GUITAR",
                                        L"device_HP"};

TEST_F(MainFormSkin, EveryBoundControlIsThereWithItsStartState)
{
    RECT window{};
    ::GetWindowRect(m_form->GetHWND(), &window);
    EXPECT_EQ(window.right - window.left, 1138); // 1110 x 527 and the default shadow
    EXPECT_EQ(window.bottom - window.top, 555);

    auto checkFader = [this](const std::wstring& name, int width, UiSize thumb) {
        auto* fader = Find<Slider>(name.c_str());
        if (fader == nullptr)
            return;
        EXPECT_FALSE(fader->IsHorizontal()) << testing::PrintToString(name);
        EXPECT_EQ(fader->GetMinValue(), 0);
        EXPECT_EQ(fader->GetMaxValue(), 44) << testing::PrintToString(name);
        EXPECT_EQ(fader->GetValue(), 44.0) << testing::PrintToString(name);
        EXPECT_EQ(fader->GetFixedWidth(), width) << testing::PrintToString(name);
        EXPECT_EQ(fader->GetFixedHeight(), 200);
        EXPECT_EQ(fader->GetThumbSize().cx, thumb.cx);
        EXPECT_EQ(fader->GetThumbSize().cy, thumb.cy);
        EXPECT_TRUE(fader->IsEnabled());
    };
    for (const wchar_t* name : kSingleFaders)
        checkFader(name, 29, UiSize(29, 15));
    for (const wchar_t* pair : kPairs) {
        checkFader(std::wstring(pair) + L"_left", 15, UiSize(15, 10));
        checkFader(std::wstring(pair) + L"_right", 15, UiSize(15, 10));
        if (auto* lock = Find<CheckBox>((std::wstring(pair) + L"_lock").c_str())) {
            EXPECT_FALSE(lock->IsSelected()); // pairs start locked
        }
    }
    for (const wchar_t* name : kDeviceFaders) {
        if (auto* fader = Find<Slider>(name)) {
            EXPECT_EQ(fader->GetMaxValue(), 100);
            EXPECT_EQ(fader->GetValue(), 0.0);
            EXPECT_EQ(fader->GetChangeStep(), 1);
        }
    }
    for (const wchar_t* name : kMutes) {
        if (auto* mute = Find<CheckBox>(name)) {
            EXPECT_FALSE(mute->IsSelected());
        }
    }
    if (auto* phantom = Find<CheckBox>(L"input_48v")) {
        EXPECT_FALSE(phantom->IsVisible());
        EXPECT_TRUE(phantom->IsSelected());
    }
    if (auto* invert = Find<CheckBox>(L"input_invert")) {
        EXPECT_TRUE(invert->IsSelected());
        EXPECT_EQ(invert->GetText(), L"Invert");
    }
    for (const wchar_t* name : {L"mic1amp", L"mic2amp"}) {
        if (auto* knob = Find<CircleSlider>(name)) {
            EXPECT_EQ(knob->GetMinValue(), 3);
            EXPECT_EQ(knob->GetMaxValue(), 9);
            EXPECT_EQ(knob->GetValue(), 1.0);
            EXPECT_EQ(knob->GetFixedWidth(), 30);
            EXPECT_EQ(knob->GetFixedHeight(), 30);
        }
    }
    for (const wchar_t* name : {L"mic1_value", L"mic2_value"}) {
        if (auto* label = Find<Label>(name)) {
            EXPECT_EQ(label->GetText(), L"3DB");
        }
    }
    Find<Button>(L"settings");
    Find<Button>(L"hidebtn");

    // Every text the layout takes from the language file is there.
    m_form->ForEachControl([](Control& control) {
        // Plain labels only: buttons, check boxes and sliders derive from
        // the label and are often image-only.
        if (typeid(control) == typeid(Label)) {
            EXPECT_FALSE(static_cast<Label&>(control).GetText().empty())
                << "empty label " << testing::PrintToString(control.GetName());
        }
    });
}

TEST(SkinArchive, HoldsTheImagesTheProgramNamesInCode)
{
    const std::wstring panel = GlobalManager::GetResourcePath() + L"ControlPanel\\";
    for (const wchar_t* image :
         {L"slidarBar_single.png", L"slidarBar_left.png", L"slidarBar_right.png",
          L"slidarBar_single_disable.png", L"slidarBar_left_disable.png",
          L"slidarBar_right_disable.png", L"sound_on.png", L"sound_off.png", L"volume_lock.png",
          L"volume_unlock.png", L"circle2.png", L"../public/bk/bk_shadow.png",
          L"../public/combo/normal.png", L"../public/slider/slider_hor_bk.png"}) {
        EXPECT_TRUE(static_cast<bool>(GlobalManager::GetData(panel + image)))
            << testing::PrintToString(std::wstring(image));
    }
    EXPECT_EQ(GlobalManager::GetLanguageStrings().GetStringById(L"STRING_OK"), L"OK");
    EXPECT_EQ(GlobalManager::GetLanguageStrings().GetStringById(L"STRING_CANCEL"), L"Cancel");
}

TEST_F(MainFormSkin, DbScaleMarksMeetTheThumbCentre)
{
    LayOut();
    auto* fader = Find<Slider>(L"output_master");
    ASSERT_NE(fader, nullptr);
    const struct {
        double position;
        const wchar_t* mark;
    } marks[] = {{44, L"db_scale_0"},
                 {38, L"db_scale_6"},
                 {32, L"db_scale_12"},
                 {24, L"db_scale_20"},
                 {0, L"db_scale_127"}};
    for (const auto& mark : marks) {
        fader->SetValue(mark.position);
        const UiRect thumb = fader->GetThumbRect();
        const Control* tick = m_form->FindControl(std::wstring(mark.mark));
        ASSERT_NE(tick, nullptr);
        EXPECT_EQ(tick->GetRect().top, thumb.top + thumb.Height() / 2)
            << testing::PrintToString(std::wstring(mark.mark));
    }
}

} // namespace
} // namespace ui::test
