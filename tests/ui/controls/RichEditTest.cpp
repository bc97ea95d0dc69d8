#include "ui/controls/RichEdit.h"

#include "tests/ui/controls/ControlTestHost.h"

#include <gtest/gtest.h>

#include <string>

namespace ui {
namespace {

using test::ControlTestHost;
using test::Pixel;

// The settings window's kind of box: read-only, multi-line, no scrolling.
const wchar_t kReadOnlyBox[] =
    L"<RichEdit name=\"edit\" width=\"200\" height=\"60\" font=\"small\" bkcolor=\"black\" "
    L"multiline=\"true\" vscrollbar=\"false\" hscrollbar=\"false\" autovscroll=\"fals\" "
    L"readonly=\"true\" rich=\"false\" normaltextcolor=\"black\" normaltextcolor=\"white\"/>";

std::wstring ClipboardText(HWND owner)
{
    std::wstring text;
    if (!::OpenClipboard(owner))
        return text;
    if (HANDLE data = ::GetClipboardData(CF_UNICODETEXT)) {
        text = static_cast<const wchar_t*>(::GlobalLock(data));
        ::GlobalUnlock(data);
    }
    ::CloseClipboard();
    return text;
}

void SetControlKey(bool down)
{
    BYTE keys[256] = {};
    ::GetKeyboardState(keys);
    keys[VK_CONTROL] = down ? 0x80 : 0;
    ::SetKeyboardState(keys);
}

TEST(RichEditTest, TextGoesInAndOutAndAReadOnlyBoxTakesNoTyping)
{
    ControlTestHost host(kReadOnlyBox);
    auto* edit = host.Find<RichEdit>(L"edit");
    ASSERT_NE(edit, nullptr);
    ASSERT_TRUE(edit->HasTextServices());
    // "fals" is no boolean: auto vertical scroll keeps its default (off);
    // the colour given last is the one in effect.
    EXPECT_EQ(edit->GetStyle() & RichEdit::kAutoVScroll, 0u);
    EXPECT_EQ(edit->GetStyle() & (RichEdit::kReadOnly | RichEdit::kMultiLine),
              RichEdit::kReadOnly | RichEdit::kMultiLine);
    EXPECT_EQ(edit->GetCurrentTextColor(), L"white");

    edit->SetText(L"Input Latency:256 samples(5.33ms)\nASIO active(PCM mode)");
    EXPECT_EQ(edit->GetText(), L"Input Latency:256 samples(5.33ms)\nASIO active(PCM mode)");
    edit->SetText(L"Version 1.2.3  \nRelease Build\n");
    EXPECT_EQ(edit->GetText(), L"Version 1.2.3  \nRelease Build\n");

    host.Click(UiPoint(20, 10));
    ASSERT_EQ(host.GetWindow().GetFocus(), edit);
    ::SendMessageW(host.GetWindow().GetHWND(), WM_CHAR, L'x', 0);
    host.KeyDown(VK_DELETE);
    EXPECT_EQ(edit->GetText(), L"Version 1.2.3  \nRelease Build\n");

    edit->SetReadOnly(false);
    edit->SetSel(0, 0);
    ::SendMessageW(host.GetWindow().GetHWND(), WM_CHAR, L'x', 0);
    EXPECT_EQ(edit->GetText(), L"xVersion 1.2.3  \nRelease Build\n");
}

TEST(RichEditTest, TheMouseSelectsAndControlCCopiesTheSelection)
{
    ControlTestHost host(kReadOnlyBox);
    auto* edit = host.Find<RichEdit>(L"edit");
    ASSERT_NE(edit, nullptr);
    edit->SetText(L"Serial No:    KV-0001");
    host.Paint();
    host.MouseDown(UiPoint(1, 8));
    host.MouseMove(UiPoint(195, 8));
    host.MouseUp(UiPoint(195, 8));
    EXPECT_EQ(edit->GetSelText(), L"Serial No:    KV-0001");

    ::OpenClipboard(host.GetWindow().GetHWND());
    ::EmptyClipboard();
    ::CloseClipboard();
    SetControlKey(true);
    host.KeyDown('C');
    SetControlKey(false);
    EXPECT_EQ(ClipboardText(host.GetWindow().GetHWND()), L"Serial No:    KV-0001");
}

// Counts over the box's pixels after painting into a cleared (transparent)
// back buffer, as a layered window does before presenting it.
struct AlphaCounts {
    int opaque = 0;
    int clear = 0;
    int other = 0;
    int lit = 0; // opaque and bright: text drawn in white
};

AlphaCounts CountAlpha(ControlTestHost& host, const UiRect& rect)
{
    host.Paint();
    AlphaCounts counts;
    for (int y = rect.top; y < rect.bottom; ++y) {
        for (int x = rect.left; x < rect.right; ++x) {
            const Pixel pixel = host.PixelAt(x, y);
            if (pixel.a == 255)
                ++counts.opaque;
            else if (pixel.a == 0 && pixel.r == 0 && pixel.g == 0 && pixel.b == 0)
                ++counts.clear;
            else
                ++counts.other;
            if (pixel.a == 255 && pixel.r > 128)
                ++counts.lit;
        }
    }
    return counts;
}

TEST(RichEditTest, TextDrawnIntoALayeredBackBufferHasItsAlphaRestored)
{
    const UiRect box(0, 0, 200, 60);
    {
        ControlTestHost host(kReadOnlyBox);
        host.Find<RichEdit>(L"edit")->SetText(L"Manufacturer: KorVane\nProduct: KV-2");
        const AlphaCounts counts = CountAlpha(host, box);
        // On its opaque background every pixel stays opaque, text included.
        EXPECT_EQ(counts.opaque, box.Width() * box.Height());
        EXPECT_GT(counts.lit, 50);
    }
    {
        // Without a background the text alone is opaque; the rest stays
        // fully transparent.
        ControlTestHost host(
            L"<RichEdit name=\"edit\" width=\"200\" height=\"60\" "
            L"font=\"small\" readonly=\"true\" normaltextcolor=\"white\"/>");
        host.Find<RichEdit>(L"edit")->SetText(L"Manufacturer: KorVane");
        const AlphaCounts counts = CountAlpha(host, box);
        EXPECT_GT(counts.lit, 50);
        EXPECT_GT(counts.clear, box.Width() * box.Height() / 2);
        EXPECT_EQ(counts.other, 0);
    }
}

} // namespace
} // namespace ui
