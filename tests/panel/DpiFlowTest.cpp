// The mixer and the settings window drawn for the display's scale, and for
// another scale when the mixer moves to a monitor that has it. The suite
// runs these at 96 DPI; tests/panel/dpi-scales.sh runs the display-scale
// test again in a prefix of its own at 120, 144 and 192 DPI.
#include <gtest/gtest.h>

#include <windows.h>
#include <oleacc.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "panel/MainForm.h"
#include "panel/SettingForm.h"
#include "tests/panel/MainFormTestHost.h"
#include "ui/controls/RichEdit.h"
#include "ui/controls/Slider.h"
#include "ui/controls/SliderGeometry.h"
#include "ui/core/AccessIid.h"
#include "ui/markup/DpiManager.h"
#include "ui/markup/GlobalManager.h"
#include "ui/render/IRenderContext.h"

namespace {

using ui::DpiManager;
using ui::UiRect;

bool WaitFor(const std::function<bool()>& done, DWORD timeoutMs = 5000)
{
    const DWORD start = ::GetTickCount();
    while (!done() && ::GetTickCount() - start < timeoutMs)
        ::Sleep(10);
    return done();
}

UINT DpiOf(int scale)
{
    return static_cast<UINT>(::MulDiv(scale, DpiManager::kDefaultDpi, 100));
}

// Every accessible object under `parent` with its rectangle relative to the
// window's client area, in tree order.
void CollectRects(IAccessible* parent, POINT origin, std::vector<RECT>& rects)
{
    long count = 0;
    parent->get_accChildCount(&count);
    for (long i = 1; i <= count; ++i) {
        VARIANT id;
        ::VariantInit(&id);
        id.vt = VT_I4;
        id.lVal = i;
        IDispatch* dispatch = nullptr;
        IAccessible* child = nullptr;
        if (parent->get_accChild(id, &dispatch) == S_OK && dispatch != nullptr) {
            dispatch->QueryInterface(ui::kIidAccessible, reinterpret_cast<void**>(&child));
            dispatch->Release();
        }
        long x = 0, y = 0, cx = 0, cy = 0;
        if (child != nullptr) {
            VARIANT self;
            ::VariantInit(&self);
            self.vt = VT_I4;
            self.lVal = CHILDID_SELF;
            child->accLocation(&x, &y, &cx, &cy, self);
        } else {
            parent->accLocation(&x, &y, &cx, &cy, id);
        }
        rects.push_back(RECT{x - origin.x, y - origin.y, x - origin.x + cx, y - origin.y + cy});
        if (child != nullptr) {
            CollectRects(child, origin, rects);
            child->Release();
        }
    }
}

// The window's accessible tree as a screen reader's view has it.
std::vector<RECT> AccessRects(HWND window)
{
    std::vector<RECT> rects;
    IAccessible* client = nullptr;
    ::AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), ui::kIidAccessible,
                                 reinterpret_cast<void**>(&client));
    if (client == nullptr)
        return rects;
    POINT origin{0, 0};
    ::ClientToScreen(window, &origin);
    CollectRects(client, origin, rects);
    client->Release();
    return rects;
}

// Top-down 32-bit pixels of a part of a window.
struct Pixels {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> bytes;
};

Pixels Capture(ui::Window& window, const UiRect& area)
{
    Pixels pixels;
    ui::IRenderContext* context = window.GetRenderContext();
    const uint8_t* bits = context->GetBits();
    pixels.width = area.Width();
    pixels.height = area.Height();
    for (int y = area.top; y < area.bottom; ++y) {
        const uint8_t* row = bits + (static_cast<size_t>(y) * context->GetWidth() + area.left) * 4;
        pixels.bytes.insert(pixels.bytes.end(), row, row + pixels.width * 4);
    }
    return pixels;
}

// The pixels stretched the way the system stretches the window of a
// program that does not follow the display's scale.
Pixels Stretch(const Pixels& source, int width, int height)
{
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    const auto section = [&info](int w, int h, void** bits) {
        info.bmiHeader.biWidth = w;
        info.bmiHeader.biHeight = -h;
        return ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, bits, nullptr, 0);
    };
    void* sourceBits = nullptr;
    void* targetBits = nullptr;
    HBITMAP from = section(source.width, source.height, &sourceBits);
    HBITMAP to = section(width, height, &targetBits);
    std::copy(source.bytes.begin(), source.bytes.end(), static_cast<uint8_t*>(sourceBits));
    HDC fromDC = ::CreateCompatibleDC(nullptr);
    HDC toDC = ::CreateCompatibleDC(nullptr);
    HGDIOBJ oldFrom = ::SelectObject(fromDC, from);
    HGDIOBJ oldTo = ::SelectObject(toDC, to);
    ::SetStretchBltMode(toDC, HALFTONE);
    ::StretchBlt(toDC, 0, 0, width, height, fromDC, 0, 0, source.width, source.height, SRCCOPY);
    ::GdiFlush();
    Pixels result{width, height, {}};
    const auto* bytes = static_cast<const uint8_t*>(targetBits);
    result.bytes.assign(bytes, bytes + static_cast<size_t>(width) * height * 4);
    ::SelectObject(fromDC, oldFrom);
    ::SelectObject(toDC, oldTo);
    ::DeleteDC(fromDC);
    ::DeleteDC(toDC);
    ::DeleteObject(from);
    ::DeleteObject(to);
    return result;
}

// How sharp the edges are: the mean squared luminance step between
// neighbouring pixels. An edge spread over more pixels by stretching makes
// smaller steps and scores less.
double Sharpness(const Pixels& pixels)
{
    const auto luma = [&pixels](int x, int y) {
        const uint8_t* p = &pixels.bytes[(static_cast<size_t>(y) * pixels.width + x) * 4];
        return 0.114 * p[0] + 0.587 * p[1] + 0.299 * p[2];
    };
    double sum = 0;
    for (int y = 0; y + 1 < pixels.height; ++y) {
        for (int x = 0; x + 1 < pixels.width; ++x) {
            const double dx = luma(x + 1, y) - luma(x, y);
            const double dy = luma(x, y + 1) - luma(x, y);
            sum += dx * dx + dy * dy;
        }
    }
    return sum / (static_cast<double>(pixels.width) * pixels.height);
}

class DpiFlowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        MainFormTestHost::Sim().Control(L"plugged 1; asio latency 320 256");
    }
    void TearDown() override { ::CoUninitialize(); }

    static RECT WindowRect(HWND window)
    {
        RECT rect{};
        ::GetWindowRect(window, &rect);
        return rect;
    }
    // Tells the mixer that it is now on a monitor of another scale, with the
    // rectangle the system would suggest, and waits for the new layout.
    static void MoveToScale(MainFormTestHost& host, int scale, const RECT& suggested)
    {
        ::SendMessageW(host.Window(), WM_DPICHANGED, MAKEWPARAM(DpiOf(scale), DpiOf(scale)),
                       reinterpret_cast<LPARAM>(&suggested));
        host.Flush();
        EXPECT_TRUE(WaitFor([&] {
            return host.Read<bool>([](MainForm& form) { return !form.IsArrangeNeeded(); });
        }));
        host.Flush();
    }
    static RECT ScaledFromTopLeft(const RECT& rect, int from, int to)
    {
        return RECT{rect.left, rect.top,
                    rect.left + DpiManager::Rescale(rect.right - rect.left, from, to),
                    rect.top + DpiManager::Rescale(rect.bottom - rect.top, from, to)};
    }
    // Each rectangle of `scaled` is the one of `unscaled` times the scale,
    // within two pixels per edge, 2 % of the edge's distance from the
    // client's origin (every size and margin on the way is rounded: the
    // 1-pixel lines between strips are 2 pixels at 150 %) and 3 % of the
    // rectangle's size (font sizes are whole pixels: 14 pixels at 125 % are
    // 18, and a control sized by its text grows that much more).
    static void ExpectScaled(const std::vector<RECT>& unscaled, const std::vector<RECT>& scaled,
                             int scale)
    {
        ASSERT_EQ(unscaled.size(), scaled.size());
        ASSERT_GT(unscaled.size(), 100u);
        for (size_t i = 0; i < unscaled.size(); ++i) {
            const RECT& a = unscaled[i];
            const RECT& b = scaled[i];
            const LONG across = 2 + (b.right - b.left) * 3 / 100;
            const LONG down = 2 + (b.bottom - b.top) * 3 / 100;
            const auto within = [scale](LONG small, LONG large, LONG slack) {
                return std::abs(DpiManager::ScaleBy(small, scale) - large) <= slack + large / 50;
            };
            EXPECT_TRUE(within(a.left, b.left, across) && within(a.right, b.right, across) &&
                        within(a.top, b.top, down) && within(a.bottom, b.bottom, down))
                << "accessible object " << i << ": " << a.left << "," << a.top << "," << a.right
                << "," << a.bottom << " became " << b.left << "," << b.top << "," << b.right << ","
                << b.bottom;
        }
    }
};

// The mixer dragged to a monitor of another scale and back: everything is
// made again for the new scale, and coming back gives exactly the layout
// it started with.
TEST_F(DpiFlowTest, MixerFollowsItsWindowToAMonitorOfAnotherScale)
{
    MainFormTestHost host;
    ASSERT_NE(host.Window(), nullptr);
    const int start = host.Read<int>([](MainForm& form) { return form.GetDpiScale(); });
    // A scale at which the mixer still fits on the suite's 1600 x 1000 display.
    const int target = start == 100 ? 125 : 100;
    const RECT window = WindowRect(host.Window());
    const std::vector<RECT> before = AccessRects(host.Window());
    const auto titleWidth = [&host] {
        return host.Read<int>([](MainForm& form) {
            return form.FindControl(std::wstring(L"title"))->GetRect().Width();
        });
    };
    const int titleBefore = titleWidth();

    struct Fader {
        UiRect rect;
        ui::UiSize thumb;
        int min = 0;
        int max = 0;
    };
    const auto readFader = [&host] {
        return host.Read<Fader>([](MainForm& form) {
            auto* slider = dynamic_cast<ui::Slider*>(form.FindControl(std::wstring(L"input_mic1")));
            return Fader{slider->GetRect(), slider->GetThumbSize(), slider->GetMinValue(),
                         slider->GetMaxValue()};
        });
    };
    const Fader faderBefore = readFader();

    const RECT suggested = ScaledFromTopLeft(window, start, target);
    MoveToScale(host, target, suggested);
    const RECT moved = WindowRect(host.Window());
    EXPECT_EQ(moved.left, suggested.left);
    EXPECT_EQ(moved.right - moved.left, suggested.right - suggested.left);
    EXPECT_EQ(moved.bottom - moved.top, suggested.bottom - suggested.top);
    ExpectScaled(before, AccessRects(host.Window()), target * 100 / start);
    host.OnUi([target](MainForm& form) {
        EXPECT_EQ(form.GetDpiScale(), target);
        EXPECT_EQ(form.GetClientOffset().x, DpiManager::ScaleBy(14, target));
        EXPECT_EQ(form.GetCaptionRect().bottom, DpiManager::ScaleBy(35, target));
    });
    // The title is as wide as its text measured with the font of the scale
    // (14 pixels at 100 %).
    EXPECT_NEAR(titleWidth(),
                titleBefore * DpiManager::ScaleBy(14, target) / DpiManager::ScaleBy(14, start), 2);

    // A fader keeps its range, and a pointer at the same place relative to
    // the groove gives the same value.
    const Fader faderAfter = readFader();
    EXPECT_EQ(faderAfter.min, faderBefore.min);
    EXPECT_EQ(faderAfter.max, faderBefore.max);
    EXPECT_EQ(faderAfter.thumb.cy, DpiManager::ScaleBy(faderBefore.thumb.cy, target * 100 / start));
    for (const double value : {0.0, 11.0, 24.0, 38.0, 44.0}) {
        const UiRect thumb = ui::SliderGeometry::ThumbRect(
            faderBefore.rect, faderBefore.thumb, false, faderBefore.min, faderBefore.max, value);
        const double relative =
            ((thumb.top + thumb.bottom) / 2.0 - faderBefore.rect.top) / faderBefore.rect.Height();
        const ui::UiPoint pointer(
            faderAfter.rect.left + faderAfter.rect.Width() / 2,
            faderAfter.rect.top + static_cast<int>(relative * faderAfter.rect.Height() + 0.5));
        EXPECT_NEAR(ui::SliderGeometry::ValueAtPoint(faderAfter.rect, faderAfter.thumb, false,
                                                     faderAfter.min, faderAfter.max, pointer),
                    value, 0.5);
    }

    MoveToScale(host, start, window);
    const RECT back = WindowRect(host.Window());
    EXPECT_EQ(back.right - back.left, window.right - window.left);
    EXPECT_EQ(back.bottom - back.top, window.bottom - window.top);
    const std::vector<RECT> after = AccessRects(host.Window());
    ASSERT_EQ(after.size(), before.size());
    for (size_t i = 0; i < before.size(); ++i)
        EXPECT_TRUE(::EqualRect(&after[i], &before[i])) << "accessible object " << i;
}

// At the display's scale: the window and every control are that much
// larger than at 100 %, drawn crisply rather than stretched, and the
// settings window shows every line of its texts.
TEST_F(DpiFlowTest, MixerAndSettingsAtTheDisplayScale)
{
    MainFormTestHost host;
    ASSERT_NE(host.Window(), nullptr);
    const int scale = host.Read<int>([](MainForm& form) { return form.GetDpiScale(); });
    EXPECT_EQ(scale, DpiManager::ScaleFromDpi(DpiOf(scale)));
    const RECT window = WindowRect(host.Window());
    EXPECT_NEAR(window.right - window.left, 1138 * scale / 100.0, 2.0);
    EXPECT_NEAR(window.bottom - window.top, 555 * scale / 100.0, 2.0);

    if (scale != 100) {
        // The fader thumb and the name of a strip, as drawn now and as the
        // 100 % window would look stretched to this scale.
        const auto area = [&host] {
            return host.Read<UiRect>([](MainForm& form) {
                UiRect rect = form.FindControl(std::wstring(L"input_master"))->GetRect();
                rect.bottom = rect.top + rect.Width();
                rect.top -= form.GetDpiScale() * 60 / 100;
                return rect;
            });
        };
        const std::vector<RECT> native = AccessRects(host.Window());
        const UiRect nativeArea = area();
        const Pixels drawn =
            host.Read<Pixels>([&nativeArea](MainForm& form) { return Capture(form, nativeArea); });

        MoveToScale(host, 100, ScaledFromTopLeft(window, scale, 100));
        ExpectScaled(AccessRects(host.Window()), native, scale);
        const UiRect smallArea = area();
        const Pixels stretched = Stretch(
            host.Read<Pixels>([&smallArea](MainForm& form) { return Capture(form, smallArea); }),
            drawn.width, drawn.height);
        const double crisp = Sharpness(drawn);
        const double blurred = Sharpness(stretched);
        std::printf("sharpness at %d %%: drawn %.1f, stretched from 100 %% %.1f (%.2fx)\n", scale,
                    crisp, blurred, crisp / blurred);
        EXPECT_GT(crisp, 1.2 * blurred);
        MoveToScale(host, scale, window);
    }

    ::SetCursorPos(window.left + 40, window.top + 40);
    host.Click(L"settings");
    ASSERT_TRUE(WaitFor([&] {
        return host.Read<bool>([](MainForm& form) {
            SettingForm* settings = form.GetSettingForm();
            return settings != nullptr && !settings->IsFirstLayoutPending() &&
                   !settings->IsArrangeNeeded();
        });
    }));
    host.OnUi([scale](MainForm& form) {
        SettingForm* settings = form.GetSettingForm();
        EXPECT_EQ(settings->GetDpiScale(), scale);
        RECT client{};
        ::GetClientRect(settings->GetHWND(), &client);
        for (const wchar_t* name : {L"asio_status", L"device_info", L"driver_info"}) {
            auto* text = dynamic_cast<ui::RichEdit*>(settings->FindControl(std::wstring(name)));
            ASSERT_NE(text, nullptr);
            const std::vector<std::wstring> lines = text->GetAccessLines();
            ASSERT_GE(lines.size(), 2u) << name;
            // The last line (none of them wraps) needs one row of the box's
            // font below its top.
            const ui::FontInfo* font = ui::GlobalManager::GetFont(text->GetFont(), scale);
            ASSERT_NE(font, nullptr);
            HDC screen = ::GetDC(nullptr);
            const HGDIOBJ old = ::SelectObject(screen, font->handle.get());
            TEXTMETRICW metrics{};
            ::GetTextMetricsW(screen, &metrics);
            ::SelectObject(screen, old);
            ::ReleaseDC(nullptr, screen);
            EXPECT_LE(text->GetAccessLineRect(lines.size() - 1).top + metrics.tmHeight,
                      text->GetTextRect().bottom)
                << name << " cuts its last line";
            EXPECT_LE(text->GetRect().bottom, client.bottom) << name;
        }
    });
}

} // namespace
