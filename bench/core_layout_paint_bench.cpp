// Layout pass and full paint of a window of about 500 controls (nested
// boxes, labels, colour and image controls), each against the same run's
// baseline: the bare render-context drawing of the same rectangles.
#include "bench/BenchFigure.h"
#include "ui/controls/ControlElements.h"
#include "ui/controls/LabelTemplate.h"
#include "ui/core/Box.h"
#include "ui/core/FindFlags.h"
#include "ui/core/Window.h"
#include "ui/markup/GlobalManager.h"
#include "ui/markup/ImageCache.h"
#include "ui/markup/ImageInfo.h"
#include "ui/markup/WindowBuilder.h"
#include "ui/render/IRenderContext.h"
#include "ui/render/IRenderFactory.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

namespace {

constexpr int kWidth = 1138;
constexpr int kHeight = 555;
constexpr int kBatches = 7;
constexpr int kRounds = 5;

// A 16 x 16 checked tile.
const unsigned char kTilePng[] = {
    0x89, 0x50, 0x4e, 0x47, 0x0d, 0x0a, 0x1a, 0x0a, 0x00, 0x00, 0x00, 0x0d, 0x49, 0x48,
    0x44, 0x52, 0x00, 0x00, 0x00, 0x10, 0x00, 0x00, 0x00, 0x10, 0x08, 0x06, 0x00, 0x00,
    0x00, 0x1f, 0xf3, 0xff, 0x61, 0x00, 0x00, 0x00, 0x28, 0x49, 0x44, 0x41, 0x54, 0x78,
    0xda, 0x63, 0xf8, 0xf0, 0xe1, 0xc3, 0x7f, 0x64, 0x6c, 0x53, 0x71, 0x03, 0x05, 0x13,
    0x92, 0x67, 0x18, 0x06, 0x06, 0x90, 0xaa, 0x01, 0x5d, 0x7e, 0x38, 0x18, 0x30, 0x9a,
    0x0e, 0x46, 0xd3, 0x01, 0x10, 0x03, 0x00, 0x17, 0x4d, 0x2d, 0x2e, 0x0d, 0xc5, 0x79,
    0x49, 0x00, 0x00, 0x00, 0x00, 0x49, 0x45, 0x4e, 0x44, 0xae, 0x42, 0x60, 0x82};

class BenchWindow : public ui::Window {
public:
    std::wstring GetWindowClassName() const override { return L"KvCoreBenchWindow"; }
    void PaintAll()
    {
        Invalidate(ui::UiRect(0, 0, kWidth, kHeight));
        Paint();
    }
};

double NowMicroseconds()
{
    LARGE_INTEGER frequency{};
    LARGE_INTEGER counter{};
    ::QueryPerformanceFrequency(&frequency);
    ::QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) * 1e6 / static_cast<double>(frequency.QuadPart);
}

// Microseconds of one run of each step: the steps take turns in batches
// (so that a busy machine slows them alike) and the median batch counts.
std::vector<double> Measure(const std::vector<std::function<void(int)>>& steps)
{
    std::vector<std::vector<double>> batches(steps.size());
    for (const auto& step : steps)
        step(-1);
    for (int batch = 0; batch < kBatches; ++batch) {
        for (size_t i = 0; i < steps.size(); ++i) {
            const double start = NowMicroseconds();
            for (int round = 0; round < kRounds; ++round)
                steps[i](round);
            batches[i].push_back((NowMicroseconds() - start) / kRounds);
        }
    }
    std::vector<double> medians;
    for (std::vector<double>& times : batches) {
        std::sort(times.begin(), times.end());
        medians.push_back(times[times.size() / 2]);
    }
    return medians;
}

std::wstring BenchMarkup(const std::wstring& tile)
{
    const std::wstring image = L"bkimage=\"" + tile + L"\"";
    std::wstring markup = LR"(<Window><VBox bkcolor="panel" padding="4,4,4,4">)";
    for (int row = 0; row < 10; ++row) {
        markup += LR"(<HBox childmargin="4" padding="2,2,2,2">)";
        for (int group = 0; group < 5; ++group) {
            const std::wstring name = std::to_wstring(row * 5 + group);
            markup += LR"(<VBox bordercolor="gray" bordersize="1" padding="3,3,3,3" )";
            markup += LR"(childmargin="2"><Label text="Channel )" + name;
            markup += LR"(" height="14" normaltextcolor="black"/>)";
            markup += LR"(<Control height="4" bkcolor="accent"/>)";
            markup += LR"(<Control height="4" bkcolor="gray" bordercolor="black" bordersize="1"/>)";
            markup += LR"(<Control height="4" bkcolor="green"/>)";
            markup += LR"(<Control width="16" height="8" )" + image + L"/>";
            markup += LR"(<Control width="16" height="8" halign="right" )" + image + L"/>";
            markup += LR"(<HBox height="4"><Control bkcolor="red"/>)";
            markup += LR"(<Control bkcolor="blue"/></HBox>)";
            markup += L"</VBox>";
        }
        markup += L"</HBox>";
    }
    return markup + L"</VBox></Window>";
}

// What the controls draw, drawn straight through the render context.
struct BareItem {
    ui::UiRect rect;
    uint32_t fill = 0;
    uint32_t border = 0;
    int borderSize = 0;
    std::wstring text;
    bool image = false;
};

} // namespace

int main()
{
    using namespace ui;
    GlobalManager::Startup(L"", {}, L"", L"");
    RegisterControlElements();
    GlobalManager::AddFont(L"bench", L"Arial", 12, false, false, false, true);
    const std::pair<const wchar_t*, const wchar_t*> colours[] = {
        {L"panel", L"#ffe8e8ec"}, {L"accent", L"#ff3c78d8"}, {L"gray", L"#ff808080"},
        {L"black", L"#ff000000"}, {L"green", L"#ff00a000"},  {L"red", L"#ffd00000"},
        {L"blue", L"#ff0000d0"}};
    for (const auto& [name, value] : colours)
        GlobalManager::AddTextColor(name, value);

    wchar_t temp[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, temp);
    const std::wstring tile = std::wstring(temp) + L"core_bench_tile.png";
    std::ofstream(std::filesystem::path(tile), std::ios::binary)
        .write(reinterpret_cast<const char*>(kTilePng), sizeof(kTilePng));

    BenchWindow window;
    if (window.Create(nullptr, L"bench", WS_POPUP, 0, true, UiRect(0, 0, kWidth, kHeight)) ==
        nullptr) {
        std::fprintf(stderr, "cannot create the window (is there a display?)\n");
        return 1;
    }
    window.Init(window.GetHWND());
    // Hidden windows have no update region and would not paint at all.
    ::ShowWindow(window.GetHWND(), SW_SHOWNOACTIVATE);
    WindowBuilder builder;
    window.AttachRoot(builder.Create(BenchMarkup(tile), {}, &window));
    Control* root = window.GetRoot();
    window.PaintAll();

    std::vector<Control*> controls;
    root->FindControl(
        [&](Control* control) -> Control* {
            controls.push_back(control);
            return nullptr;
        },
        UiPoint(), kFindAll);
    std::vector<Label*> labels;
    std::vector<BareItem> bare;
    for (Control* control : controls) {
        BareItem item;
        item.rect = control->GetRect();
        item.fill = GlobalManager::GetTextColor(control->GetBkColor());
        item.border = GlobalManager::GetTextColor(control->GetBorderColor());
        item.borderSize = control->GetBorderSize();
        item.image = !control->GetBkImage().empty();
        if (auto* label = dynamic_cast<Label*>(control)) {
            item.text = label->GetText();
            labels.push_back(label);
        }
        bare.push_back(item);
    }
    const std::shared_ptr<ImageInfo> image =
        ImageCache::GetInstance().GetImage(ImageCache::GetFullPath(L"", tile));

    auto context = GlobalManager::GetRenderFactory()->CreateRenderContext();
    context->Resize(kWidth, kHeight, true);
    const UiRect all(0, 0, kWidth, kHeight);

    // Both drawings are one draw each, as a window's paint is.
    const auto bareDrawing = [&](int) {
        context->BeginDraw();
        for (const BareItem& item : bare) {
            if (item.fill != 0)
                context->FillRect(item.rect, item.fill, 255);
            if (item.image && image)
                context->DrawImage(item.rect, image->GetFrame(0), image->alphaChannel, all,
                                   UiRect(0, 0, image->width, image->height), UiRect(), 255, false,
                                   false);
            if (!item.text.empty())
                context->DrawText(item.rect, item.text, 0xFF000000, L"", 0x8120, 255, false);
            if (item.border != 0 && item.borderSize > 0)
                context->DrawRect(item.rect, item.borderSize, item.border);
        }
        context->EndDraw();
    };
    const auto arrangeOnly = [&](int round) {
        root->SetRect(UiRect(0, 0, kWidth - (round & 1), kHeight));
    };
    const auto remeasure = [&](int round) {
        for (Label* label : labels)
            label->RelayoutFromAncestor();
        root->SetRect(UiRect(0, 0, kWidth - (round & 1), kHeight));
    };
    const auto treePaint = [&](int) {
        context->BeginDraw();
        root->PaintWithAlpha(*context, all);
        context->EndDraw();
    };
    const auto windowPaint = [&](int) { window.PaintAll(); };
    const std::vector<double> times =
        Measure({bareDrawing, arrangeOnly, remeasure, treePaint, windowPaint});
    const double baseline = times[0];

    std::printf("window of %zu controls (%zu labels, %d x %d); median of %d batches of %d\n",
                controls.size(), labels.size(), kWidth, kHeight, kBatches, kRounds);
    std::printf("baseline: bare render-context drawing of the same rectangles  %9.1f us\n",
                baseline);
    const auto report = [&](const char* what, double us) {
        std::printf("%-62s %9.1f us  x%.2f of baseline\n", what, us, us / baseline);
        PrintFigure(what, us, baseline, "us");
    };
    report("layout pass (every rectangle moves, estimates cached)", times[1]);
    report("layout pass with every label measured again", times[2]);
    report("full paint of the control tree into the back buffer", times[3]);
    report("full window paint (layout check, alpha fix, present)", times[4]);
    ::DeleteFileW(tile.c_str());
    return 0;
}
