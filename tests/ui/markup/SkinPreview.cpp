// Opens one layout file of the program's skin in a window, to look at it
// before (or without) the application code behind it:
//   skin_preview.exe [FOLDER\FILE] [LOOK] [SECONDS] [BACKBUFFER.png] [HOVER]
// FOLDER\FILE defaults to ControlPanel\MainForm.xml. LOOK is "skin" (as the
// layout builds), "connected" (sample levels, a muted strip, an unlocked
// pair) or "disconnected" (every fader greyed at its maximum, every switch
// disabled, as the mixer shows with no device). The window stays open for
// SECONDS (default 8); the back buffer, with its alpha, is saved as PNG
// when a file is named. HOVER names a control that the mouse is moved
// over after half a second, to see its hot look.
#include "tests/ui/markup/SkinForm.h"
#include "tests/ui/render/RenderTestSupport.h"
#include "ui/controls/CheckBoxTemplate.h"
#include "ui/controls/CircleSlider.h"
#include "ui/controls/Slider.h"
#include "ui/markup/GlobalManager.h"

#include <windows.h>

#include <shellapi.h>

#include <cwchar>
#include <string>

namespace {

// The groove image a fader shows with or without a device.
std::wstring GrooveImage(const std::wstring& name, bool enabled)
{
    std::wstring image = L"slidarBar_single";
    if (name.ends_with(L"_left"))
        image = L"slidarBar_left";
    else if (name.ends_with(L"_right"))
        image = L"slidarBar_right";
    return image + (enabled ? L".png" : L"_disable.png");
}

void ShowDisconnected(ui::test::SkinForm& form)
{
    form.ForEachControl([](ui::Control& control) {
        if (auto* fader = dynamic_cast<ui::Slider*>(&control)) {
            fader->SetBkImage(GrooveImage(fader->GetName(), false));
            fader->SetEnabled(false);
            fader->SetValue(fader->GetMaxValue());
        } else if (auto* knob = dynamic_cast<ui::CircleSlider*>(&control)) {
            knob->SetEnabled(false);
        } else if (dynamic_cast<ui::CheckBox*>(&control) != nullptr ||
                   control.GetName() == L"settings") {
            control.SetEnabled(false);
        }
    });
}

void ShowConnected(ui::test::SkinForm& form)
{
    // Levels as a session might leave them: positions of the volume table.
    const struct {
        const wchar_t* name;
        double value;
    } levels[] = {
        {L"input_master", 40},        {L"input_mic1", 30},         {L"input_phone1_left", 34},
        {L"input_phone1_right", 34},  {L"input_mic2", 24},         {L"input_guitar", 36},
        {L"input_phone2_left", 20},   {L"input_phone2_right", 26}, {L"output_master", 44},
        {L"output_ear_left", 38},     {L"output_ear_right", 38},   {L"output_phone1_left", 32},
        {L"output_phone1_right", 32}, {L"output_phone2_left", 12}, {L"output_phone2_right", 12},
        {L"output_box_left", 44},     {L"output_box_right", 44},   {L"device_MIC1", 60},
        {L"device_MIC2", 45},         {L"device_GUITAR", 80},      {L"device_HP", 70},
    };
    for (const auto& level : levels) {
        if (auto* fader = dynamic_cast<ui::Slider*>(form.FindControl(std::wstring(level.name))))
            fader->SetValue(level.value);
    }
    auto* guitarMute = dynamic_cast<ui::CheckBox*>(form.FindControl(L"input_guitar_mute"));
    if (guitarMute != nullptr) {
        guitarMute->Selected(true, false);
        if (ui::Control* fader = form.FindControl(L"input_guitar"))
            fader->SetEnabled(false);
    }
    if (auto* lock = dynamic_cast<ui::CheckBox*>(form.FindControl(L"input_phone2_lock")))
        lock->Selected(true, false);
    if (auto* knob = dynamic_cast<ui::CircleSlider*>(form.FindControl(L"mic1amp")))
        knob->SetValue(6);
    if (auto* label = dynamic_cast<ui::Label*>(form.FindControl(L"mic1_value")))
        label->SetText(L"12DB");
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
    int count = 0;
    wchar_t** arguments = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    std::wstring layout = count > 1 ? arguments[1] : L"ControlPanel\\MainForm.xml";
    const std::wstring look = count > 2 ? arguments[2] : L"skin";
    const int seconds = count > 3 ? _wtoi(arguments[3]) : 8;
    const std::wstring backBufferFile = count > 4 ? arguments[4] : L"";
    const std::wstring hover = count > 5 ? arguments[5] : L"";
    ::LocalFree(arguments);

    const size_t separator = layout.find_last_of(L"\\/");
    const std::wstring folder = separator == std::wstring::npos ? L"" : layout.substr(0, separator);
    const std::wstring file =
        separator == std::wstring::npos ? layout : layout.substr(separator + 1);
    if (!ui::test::SkinForm::StartSkin())
        return 1;
    // A light backdrop, so that the drop shadow shows.
    HWND backdrop = ::CreateWindowExW(
        0, L"STATIC", nullptr, WS_POPUP | WS_VISIBLE, 0, 0, ::GetSystemMetrics(SM_CXSCREEN),
        ::GetSystemMetrics(SM_CYSCREEN), nullptr, nullptr, instance, nullptr);
    ui::test::SkinForm* form = ui::test::SkinForm::Open(folder, file);
    if (form == nullptr)
        return 2;
    if (look == L"connected")
        ShowConnected(*form);
    else if (look == L"disconnected")
        ShowDisconnected(*form);
    ::SetWindowPos(form->GetHWND(), nullptr, 20, 20, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    form->ShowWindow(true, true);
    ::SetTimer(nullptr, 0, 500, nullptr);
    MSG message;
    int ticks = 0;
    while (ticks < seconds * 2 && ::GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (message.message == WM_TIMER && message.hwnd == nullptr) {
            ++ticks;
            if (const ui::Control* target = hover.empty() ? nullptr : form->FindControl(hover)) {
                // The real cursor goes there too, or mouse tracking reports
                // a leave at once; repeated so the hover holds to the end.
                const ui::UiRect rect = target->GetRect();
                POINT point{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
                ::PostMessageW(form->GetHWND(), WM_MOUSEMOVE, 0, MAKELPARAM(point.x, point.y));
                ::ClientToScreen(form->GetHWND(), &point);
                ::SetCursorPos(point.x, point.y);
            }
            continue;
        }
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
    // Let the last input and paint through before the picture is taken.
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
    if (!backBufferFile.empty())
        ui::test::SavePng(*form->GetRenderContext(), backBufferFile);
    if (::IsWindow(form->GetHWND()))
        ::DestroyWindow(form->GetHWND());
    ::DestroyWindow(backdrop);
    ui::GlobalManager::Shutdown();
    return 0;
}
