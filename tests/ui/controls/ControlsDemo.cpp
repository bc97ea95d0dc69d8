// A window of the mixer's kinds of controls (vertical faders, gain knobs,
// mute and lock check boxes, labels, buttons, a list), built from a small
// skin that this program writes to a temporary folder with images drawn in
// code. Run it on a display to look at the controls and try them by hand.
#include "ui/controls/CheckBoxTemplate.h"
#include "ui/controls/CircleSlider.h"
#include "ui/controls/ControlElements.h"
#include "ui/controls/LabelTemplate.h"
#include "ui/controls/Slider.h"
#include "ui/core/WindowImplBase.h"
#include "ui/markup/GlobalManager.h"
#include "ui/render/GdiPlusApi.h"

#include "tests/ui/markup/ImageTestFiles.h"

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

namespace {

using ui::test::ImageTestFiles;
using Paint = std::function<uint32_t(int, int)>;

constexpr uint32_t kClear = 0x00000000;

bool Inside(int x, int y, int left, int top, int right, int bottom)
{
    return x >= left && x < right && y >= top && y < bottom;
}

double Distance(double x, double y, double cx, double cy)
{
    return std::hypot(x - cx, y - cy);
}

// A groove with a slot down the middle and a tick every 20 pixels.
Paint Groove(int width, uint32_t slot)
{
    return [width, slot](int x, int y) -> uint32_t {
        const int middle = width / 2;
        if (y >= 6 && y < 194 && x >= middle - 2 && x <= middle + 1)
            return slot;
        if (y >= 8 && y < 194 && y % 20 == 10 && (x < 4 || x >= width - 4))
            return 0xFF6A6A6A;
        return kClear;
    };
}

Paint Thumb(int width, int height)
{
    return [width, height](int x, int y) -> uint32_t {
        if (x == 0 || y == 0 || x == width - 1 || y == height - 1)
            return 0xFF505050;
        if (y == height / 2)
            return 0xFFFFFFFF;
        return y < height / 2 ? 0xFFD8D8D8 : 0xFFB0B0B0;
    };
}

// A speaker: box and cone, with sound waves (on) or a red cross (off).
Paint Speaker(bool on)
{
    return [on](int x, int y) -> uint32_t {
        const uint32_t body = 0xFFE0E0E0;
        if (Inside(x, y, 3, 8, 7, 14))
            return body;
        if (x >= 7 && x < 11 && y >= 8 - (x - 6) && y < 14 + (x - 6))
            return body;
        if (on) {
            const double d = Distance(x, y, 10, 11);
            if (x > 12 && ((d > 4 && d < 5.5) || (d > 7 && d < 8.5)))
                return 0xFF4CD964;
        } else if (Inside(x, y, 12, 8, 19, 15) && (x - 12 == y - 8 || x - 12 == 14 - y)) {
            return 0xFFFF3B30;
        }
        return kClear;
    };
}

// A padlock, closed (locked) or with the shackle swung open.
Paint Padlock(bool open)
{
    return [open](int x, int y) -> uint32_t {
        if (Inside(x, y, 4, 10, 17, 19))
            return open ? 0xFFFFCC00 : 0xFFE0E0E0;
        const double cx = open ? 13.5 : 10.5;
        const double d = Distance(x + 0.5, y + 0.5, cx, 8);
        if (y < 10 && d > 3 && d < 5 && (y <= 8 || !open || x > 10))
            return 0xFFE0E0E0;
        return kClear;
    };
}

Paint KnobFace()
{
    return [](int x, int y) -> uint32_t {
        const double d = Distance(x + 0.5, y + 0.5, 15, 15);
        if (d < 13)
            return 0xFF3A3A3A;
        if (d < 14.5)
            return 0xFF8A8A8A;
        return kClear;
    };
}

Paint Box(bool checked)
{
    return [checked](int x, int y) -> uint32_t {
        if (x == 0 || y == 0 || x == 13 || y == 13)
            return 0xFFC0C0C0;
        if (checked && Inside(x, y, 3, 3, 11, 11))
            return 0xFF4CD964;
        return 0xFF202020;
    };
}

void WriteImage(const std::wstring& folder, const wchar_t* name, int width, int height,
                const Paint& paint)
{
    ImageTestFiles::WritePng(folder + name, width, height, PixelFormat32bppARGB, paint);
}

constexpr char kGlobal[] = R"(<?xml version="1.0" encoding="UTF-8"?>
<Global>
  <Font id="system_12" name="Tahoma" size="12" default="true"/>
  <Font id="system_bold_14" name="Tahoma" size="14" bold="true"/>
  <TextColor name="textdefaultcolor" value="#ffdddddd"/>
  <TextColor name="textdefaultdisablecolor" value="#ff777777"/>
  <TextColor name="white" value="#ffffffff"/>
  <TextColor name="gray" value="#ff808080"/>
  <TextColor name="green" value="#ff4cd964"/>
  <TextColor name="darkcolor" value="#ff2b2b2b"/>
  <TextColor name="splitline" value="#ff3c3c3c"/>
  <TextColor name="hotback" value="#ff3c4a5a"/>
  <TextColor name="selectedback" value="#ff2d6cdf"/>
</Global>
)";

// One mono strip: title, fader, mute.
std::string MonoStrip(const std::string& name, const std::string& title, int value, bool muted)
{
    return "<VBox width=\"56\" childmargin=\"6\">"
           "<Label text=\"" +
           title +
           "\" width=\"stretch\" height=\"20\" align=\"center\"/>"
           "<Slider name=\"" +
           name + "\" class=\"fader\" halign=\"center\" value=\"" + std::to_string(value) + "\"" +
           (muted ? " enabled=\"false\"" : "") +
           "/>"
           "<CheckBox name=\"" +
           name + "_mute\" class=\"mute\" halign=\"center\"" + (muted ? " selected=\"true\"" : "") +
           "/></VBox>";
}

// A stereo pair: two faders tied by a lock box, one mute.
std::string StereoStrip(const std::string& name, const std::string& title, int left, int right,
                        bool unlocked)
{
    return "<VBox width=\"86\" childmargin=\"6\">"
           "<Label text=\"" +
           title +
           "\" width=\"stretch\" height=\"20\" align=\"center\"/>"
           "<HBox height=\"200\" childmargin=\"6\" padding=\"6,0,6,0\">"
           "<Slider name=\"" +
           name + "_left\" class=\"fader\" bkimage=\"groove_left.png\"" + " value=\"" +
           std::to_string(left) +
           "\"/>"
           "<Slider name=\"" +
           name + "_right\" class=\"fader\" bkimage=\"groove_right.png\"" + " value=\"" +
           std::to_string(right) +
           "\"/></HBox>"
           "<HBox height=\"20\" padding=\"12,0,0,0\" childmargin=\"14\">"
           "<CheckBox name=\"" +
           name +
           "_mute\" class=\"mute\"/>"
           "<CheckBox name=\"" +
           name + "_lock\" class=\"lock\"" + (unlocked ? " selected=\"true\"" : "") +
           "/></HBox></VBox>";
}

std::string DeviceStrip(const std::string& name, const std::string& title, int value)
{
    return "<VBox width=\"46\" childmargin=\"6\">"
           "<Label text=\"" +
           title +
           "\" width=\"stretch\" height=\"20\" align=\"center\"/>"
           "<Slider name=\"" +
           name +
           "\" hor=\"false\" width=\"15\" height=\"200\""
           " halign=\"center\" thumbsize=\"15,10\" progressbarpadding=\"0,6,0,6\""
           " bkimage=\"groove_device.png\""
           " thumbnormalimage=\"thumb_small.png\" min=\"0\" max=\"100\" step=\"1\" value=\"" +
           std::to_string(value) + "\"/></VBox>";
}

std::string KnobStrip(const std::string& name, const std::string& title, int value)
{
    return "<VBox width=\"70\" childmargin=\"8\">"
           "<Label text=\"" +
           title +
           "\" width=\"stretch\" height=\"20\" align=\"center\"/>"
           "<CircleSlider name=\"" +
           name +
           "\" width=\"30\" height=\"30\" halign=\"center\""
           " bkimage=\"circle2.png\" zeroangle=\"180\" minangle=\"45\" circlewidth=\"2\""
           " bgcolor=\"gray\" fgcolor=\"green\" min=\"3\" max=\"9\" value=\"" +
           std::to_string(value) +
           "\"/>"
           "<Label name=\"" +
           name + "_value\" text=\"" + std::to_string((value - 2) * 3) +
           "DB\" width=\"stretch\" height=\"20\" align=\"center\" normaltextcolor=\"white\"/>"
           "</VBox>";
}

std::string Layout()
{
    std::string list =
        "<VListBox name=\"rates\" width=\"90\" height=\"66\" bordersize=\"1\""
        " bordercolor=\"splitline\" padding=\"1,1,1,1\">";
    for (const char* rate : {"44100 Hz", "48000 Hz", "96000 Hz"}) {
        list += std::string(
                    "<ListContainerElement height=\"21\" hotcolor=\"hotback\""
                    " selectednormalcolor=\"selectedback\" textpadding=\"6,0,0,0\""
                    " align=\"left vcenter\" text=\"") +
                rate + "\"/>";
    }
    list += "</VListBox>";
    return R"(<?xml version="1.0" encoding="UTF-8"?>
<Window size="760,340" caption="0,0,0,34" shadowattached="false">
  <Class name="fader" hor="false" width="29" height="200" thumbsize="29,15"
         progressbarpadding="0,6,0,6" bkimage="groove_single.png"
         thumbnormalimage="thumb.png" min="0" max="44"/>
  <Class name="mute" width="20" height="20" normalimage="sound_on.png"
         selectednormalimage="sound_off.png"/>
  <Class name="lock" width="20" height="20" normalimage="volume_lock.png"
         selectednormalimage="volume_unlock.png"/>
  <VBox bkcolor="darkcolor" bordersize="1" bordercolor="splitline">
    <HBox height="34" bkcolor="splitline">
      <Label text="Mixer controls" font="system_bold_14" normaltextcolor="white"
             width="stretch" height="stretch" textpadding="12,0,0,0" align="left vcenter"/>
      <Button name="closebtn" text="Close" width="60" height="24" valign="center"
              margin="0,0,8,0" normalcolor="darkcolor" hotcolor="hotback" hottextcolor="white"/>
    </HBox>
    <HBox padding="10,10,10,10" childmargin="6">)" +
           MonoStrip("input_master", "MASTER", 44, false) +
           MonoStrip("input_mic1", "MIC1", 30, true) +
           StereoStrip("input_phone1", "PHONE1", 36, 36, false) +
           StereoStrip("output_box", "OUTPUT", 20, 28, true) +
           DeviceStrip("device_MIC1", "DEV1", 60) + DeviceStrip("device_HP", "HP", 85) +
           R"(<VBox width="110" childmargin="10">)" + KnobStrip("mic1amp", "MIC1 GAIN", 5) +
           KnobStrip("mic2amp", "MIC2 GAIN", 8) + R"(</VBox>
      <VBox width="stretch" childmargin="10">
        <CheckBox name="input_invert" text="Invert" width="80" height="18" selected="true"
                  normalimage="file='box.png' dest='0,2,14,16'"
                  selectednormalimage="file='box_checked.png' dest='0,2,14,16'"
                  textpadding="20,0,0,0" align="left vcenter"/>
        <Label name="status" text="Drag a fader or turn a knob" singleline="false"
               width="120" height="auto" normaltextcolor="gray"/>
        )" +
           list + R"(
      </VBox>
    </HBox>
  </VBox>
</Window>
)";
}

class DemoWindow : public ui::WindowImplBase {
public:
    std::wstring GetWindowClassName() const override { return L"KvControlsDemo"; }
    std::wstring GetSkinFolder() override { return L""; }
    std::wstring GetSkinFile() override { return L"demo.xml"; }

    void InitWindow() override
    {
        for (const wchar_t* name : {L"mic1amp", L"mic2amp"}) {
            auto* knob = dynamic_cast<ui::CircleSlider*>(FindControl(std::wstring(name)));
            auto* label = dynamic_cast<ui::Label*>(FindControl(std::wstring(name) + L"_value"));
            if (knob == nullptr || label == nullptr)
                continue;
            knob->AddEventHandler(ui::kEventValueChange, [knob, label](const ui::EventArgs&) {
                const int step = static_cast<int>(knob->GetValue());
                label->SetText(std::to_wstring((step - 2) * 3) + L"DB");
                return true;
            });
        }
        for (const wchar_t* strip : {L"input_master", L"input_mic1"})
            TieMute(std::wstring(strip) + L"_mute", {std::wstring(strip)});
        for (const wchar_t* pair : {L"input_phone1", L"output_box"}) {
            const std::wstring left = std::wstring(pair) + L"_left";
            const std::wstring right = std::wstring(pair) + L"_right";
            TieMute(std::wstring(pair) + L"_mute", {left, right});
            TieFaders(left, right, std::wstring(pair) + L"_lock");
            TieFaders(right, left, std::wstring(pair) + L"_lock");
        }
    }

    void OnFinalMessage(HWND hwnd) override
    {
        ::PostQuitMessage(0);
        WindowImplBase::OnFinalMessage(hwnd);
    }

private:
    // A muted strip greys its faders.
    void TieMute(const std::wstring& mute, std::vector<std::wstring> faders)
    {
        auto* box = dynamic_cast<ui::CheckBox*>(FindControl(mute));
        if (box == nullptr)
            return;
        const auto apply = [this, faders](bool muted) {
            for (const std::wstring& name : faders) {
                if (ui::Control* fader = FindControl(name))
                    fader->SetEnabled(!muted);
            }
            return true;
        };
        box->AddEventHandler(ui::kEventSelect,
                             [apply](const ui::EventArgs&) { return apply(true); });
        box->AddEventHandler(ui::kEventUnSelect,
                             [apply](const ui::EventArgs&) { return apply(false); });
    }

    // While the pair is locked (lock box unselected) the partner follows.
    void TieFaders(const std::wstring& moved, const std::wstring& partner, const std::wstring& lock)
    {
        auto* source = dynamic_cast<ui::Slider*>(FindControl(moved));
        auto* other = dynamic_cast<ui::Slider*>(FindControl(partner));
        auto* box = dynamic_cast<ui::CheckBox*>(FindControl(lock));
        if (source == nullptr || other == nullptr || box == nullptr)
            return;
        source->AddEventHandler(ui::kEventValueChange, [source, other, box](const ui::EventArgs&) {
            if (!box->IsSelected())
                other->SetValue(std::trunc(source->GetValue()));
            return true;
        });
    }
};

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    const std::wstring root = ImageTestFiles::MakeTempFolder(L"kv_controls_demo");
    std::ofstream(std::filesystem::path(root + L"global.xml")) << kGlobal;
    std::ofstream(std::filesystem::path(root + L"demo.xml")) << Layout();

    ui::GlobalManager::CloseArchive();
    ui::GlobalManager::Startup(root, {}, L"", L"lang");
    ui::RegisterControlElements();
    WriteImage(root, L"groove_single.png", 29, 200, Groove(29, 0xFF111111));
    WriteImage(root, L"groove_left.png", 29, 200, Groove(29, 0xFF111111));
    WriteImage(root, L"groove_right.png", 29, 200, Groove(29, 0xFF111111));
    WriteImage(root, L"groove_device.png", 15, 200, Groove(15, 0xFF111111));
    WriteImage(root, L"thumb.png", 29, 15, Thumb(29, 15));
    WriteImage(root, L"thumb_small.png", 15, 10, Thumb(15, 10));
    WriteImage(root, L"sound_on.png", 20, 20, Speaker(true));
    WriteImage(root, L"sound_off.png", 20, 20, Speaker(false));
    WriteImage(root, L"volume_lock.png", 20, 20, Padlock(false));
    WriteImage(root, L"volume_unlock.png", 20, 20, Padlock(true));
    WriteImage(root, L"circle2.png", 30, 30, KnobFace());
    WriteImage(root, L"box.png", 14, 14, Box(false));
    WriteImage(root, L"box_checked.png", 14, 14, Box(true));

    auto* window = new DemoWindow;
    if (window->Create(nullptr, L"Controls", WS_POPUP | WS_CLIPCHILDREN, 0) == nullptr)
        return 1;
    ::SetWindowPos(window->GetHWND(), nullptr, 40, 40, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    window->ShowWindow(true, true);
    MSG message{};
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
    ui::GlobalManager::Shutdown();
    return 0;
}
