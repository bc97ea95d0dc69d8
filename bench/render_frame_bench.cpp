// Paints a mixer-sized frame (1138 x 555) of nine-grid images, texts and
// fills through the render context and the same drawing through raw calls
// with the same means (GDI for images, GDI+ for fills and text), and times
// the per-pixel alpha scan that image loading runs on 32-bit images. Prints
// the figures; an optional argument names a PNG file that receives the
// frame painted through the render context.

#include "bench/BenchFigure.h"
#include "ui/markup/GlobalManager.h"
#include "ui/markup/ImageDecoder.h"
#include "ui/render/GdiPlusApi.h"
#include "ui/render/GdiPlusSession.h"
#include "ui/render/IRenderContext.h"
#include "ui/render/RenderFactory_GdiPlus.h"

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

using ui::UiRect;

constexpr int kWidth = 1138;
constexpr int kHeight = 555;
constexpr int kStrips = 15;

// A skin image as a GDI bitmap, twice: one for the render context and one
// that the raw painter keeps selected into its own DC (a bitmap can be
// selected into one DC only). Pixels are premultiplied.
struct SkinImage {
    HBITMAP bitmap = nullptr;
    HBITMAP rawBitmap = nullptr;
    int width = 0;
    int height = 0;
    bool alpha = false;
    UiRect corners;
};

SkinImage MakeImage(int width, int height, UiRect corners,
                    const std::function<uint32_t(int, int)>& colour)
{
    SkinImage image;
    image.width = width;
    image.height = height;
    image.corners = corners;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    image.bitmap = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    void* rawBits = nullptr;
    image.rawBitmap = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &rawBits, nullptr, 0);
    auto* pixels = static_cast<uint32_t*>(bits);
    auto* rawPixels = static_cast<uint32_t*>(rawBits);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const uint32_t value = colour(x, y);
            pixels[y * width + x] = value;
            rawPixels[y * width + x] = value;
            image.alpha = image.alpha || (value >> 24) != 255;
        }
    }
    return image;
}

uint32_t Premultiply(uint32_t alpha, uint32_t r, uint32_t g, uint32_t b)
{
    return alpha << 24 | (r * alpha / 255) << 16 | (g * alpha / 255) << 8 | (b * alpha / 255);
}

struct Skin {
    SkinImage background = MakeImage(100, 100, UiRect(30, 30, 30, 30), [](int x, int y) {
        const bool border = x < 4 || y < 4 || x >= 96 || y >= 96;
        return border ? 0xFF101418u : 0xFF202830u + static_cast<uint32_t>(y / 10);
    });
    SkinImage track = MakeImage(8, 100, UiRect(0, 10, 0, 10), [](int x, int) {
        return Premultiply(x == 0 || x == 7 ? 128 : 255, 60, 60, 70);
    });
    SkinImage thumb = MakeImage(30, 20, UiRect(), [](int x, int y) {
        const bool edge = x == 0 || y == 0 || x == 29 || y == 19;
        return Premultiply(edge ? 96 : 255, 200, 200, 210);
    });
    SkinImage button = MakeImage(40, 24, UiRect(4, 4, 4, 4), [](int x, int y) {
        const bool corner = (x < 2 || x >= 38) && (y < 2 || y >= 22);
        return corner ? 0u : Premultiply(255, 180, 40, 40);
    });
};

struct Item {
    const SkinImage* image;
    UiRect dest;
};

struct Text {
    std::wstring text;
    UiRect rect;
};

// The frame: the same list drives both painters.
struct Frame {
    std::vector<Item> images;
    std::vector<Text> texts;
    std::vector<UiRect> fills;

    explicit Frame(const Skin& skin)
    {
        images.push_back({&skin.background, UiRect(0, 0, kWidth, kHeight)});
        for (int strip = 0; strip < kStrips; ++strip) {
            const int x = 30 + strip * 72;
            fills.push_back(UiRect(x - 6, 40, x + 54, 500));
            images.push_back({&skin.track, UiRect(x + 20, 70, x + 28, 370)});
            images.push_back(
                {&skin.thumb, UiRect(x + 9, 150 + strip * 9, x + 39, 170 + strip * 9)});
            images.push_back({&skin.button, UiRect(x + 4, 400, x + 44, 424)});
            texts.push_back({L"MUTE", UiRect(x + 4, 400, x + 44, 424)});
            texts.push_back({L"Phone1 L", UiRect(x - 6, 44, x + 54, 64)});
            texts.push_back(
                {std::to_wstring(-strip * 3) + L" dB", UiRect(x - 6, 440, x + 54, 460)});
        }
    }
};

// As a window paints: one draw around the whole frame.
void PaintWithContext(ui::IRenderContext& context, const Frame& frame)
{
    const UiRect paint(0, 0, kWidth, kHeight);
    context.BeginDraw();
    for (const Item& item : frame.images) {
        const SkinImage& image = *item.image;
        context.DrawImage(item.dest, image.bitmap, image.alpha, paint,
                          UiRect(0, 0, image.width, image.height), image.corners, 255, false,
                          false);
    }
    for (const UiRect& fill : frame.fills)
        context.FillRect(fill, 0x30FFFFFF, 255);
    for (const Text& text : frame.texts)
        context.DrawText(text.rect, text.text, 0xFFE0E0E0, L"bench_12",
                         ui::kTextCenter | ui::kTextVCenter | ui::kTextSingleLine, 255, false);
    context.EndDraw();
}

// The same drawing as a careful Win32 programmer writes it with the means
// the render context uses: each image's bitmap selected into a memory DC
// once, its nine pieces copied (same size), stretched (opaque images, made
// opaque again afterwards since stretching drops the alpha byte) or
// alpha-blended with GDI; fills and texts through GDI+ with the font,
// brushes and string format made once and one graphics object per frame.
class RawPainter {
public:
    RawPainter(HDC dc, uint8_t* bits, const LOGFONTW& logFont, const Skin& skin)
        : m_dc(dc), m_bits(bits)
    {
        using namespace ui::gdip;
        for (const SkinImage* image : {&skin.background, &skin.track, &skin.thumb, &skin.button}) {
            HDC source = ::CreateCompatibleDC(dc);
            ::SelectObject(source, image->rawBitmap);
            m_sources.push_back({image, source});
        }
        ::SetStretchBltMode(dc, HALFTONE);
        GdipCreateFontFromLogfontW(dc, &logFont, &m_font);
        Gdiplus::GpStringFormat* generic = nullptr;
        GdipStringFormatGetGenericTypographic(&generic);
        GdipCloneStringFormat(generic, &m_format);
        GdipSetStringFormatAlign(m_format, Gdiplus::StringAlignmentCenter);
        GdipSetStringFormatLineAlign(m_format, Gdiplus::StringAlignmentCenter);
        GdipSetStringFormatFlags(m_format, Gdiplus::StringFormatFlagsNoWrap);
        GdipCreateSolidFill(0x30FFFFFF, &m_fill);
        GdipCreateSolidFill(0xFEE0E0E0, &m_textBrush);
    }
    ~RawPainter()
    {
        using namespace ui::gdip;
        GdipDeleteBrush(m_textBrush);
        GdipDeleteBrush(m_fill);
        GdipDeleteStringFormat(m_format);
        GdipDeleteFont(m_font);
        for (const auto& [image, source] : m_sources)
            ::DeleteDC(source);
    }
    RawPainter(const RawPainter&) = delete;
    RawPainter& operator=(const RawPainter&) = delete;

    void Paint(const Frame& frame) const
    {
        using namespace ui::gdip;
        for (const Item& item : frame.images)
            DrawNineGrid(*item.image, item.dest);
        Gdiplus::GpGraphics* graphics = nullptr;
        GdipCreateFromHDC(m_dc, &graphics);
        for (const UiRect& rect : frame.fills)
            GdipFillRectangleI(graphics, m_fill, rect.left, rect.top, rect.Width(), rect.Height());
        for (const Text& text : frame.texts) {
            const Gdiplus::RectF layout(
                static_cast<float>(text.rect.left), static_cast<float>(text.rect.top),
                static_cast<float>(text.rect.Width()), static_cast<float>(text.rect.Height()));
            GdipDrawString(graphics, text.text.c_str(), static_cast<INT>(text.text.size()), m_font,
                           &layout, m_format, m_textBrush);
        }
        GdipDeleteGraphics(graphics);
    }

private:
    HDC SourceOf(const SkinImage& image) const
    {
        for (const auto& [known, source] : m_sources) {
            if (known == &image)
                return source;
        }
        return nullptr;
    }

    void DrawNineGrid(const SkinImage& image, const UiRect& dest) const
    {
        HDC source = SourceOf(image);
        const UiRect& c = image.corners;
        const int xs[] = {0, c.left, image.width - c.right, image.width};
        const int ys[] = {0, c.top, image.height - c.bottom, image.height};
        const int xd[] = {dest.left, dest.left + c.left, dest.right - c.right, dest.right};
        const int yd[] = {dest.top, dest.top + c.top, dest.bottom - c.bottom, dest.bottom};
        const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
        for (int row = 0; row < 3; ++row) {
            for (int column = 0; column < 3; ++column) {
                const int sw = xs[column + 1] - xs[column];
                const int sh = ys[row + 1] - ys[row];
                const int dw = xd[column + 1] - xd[column];
                const int dh = yd[row + 1] - yd[row];
                if (sw <= 0 || sh <= 0 || dw <= 0 || dh <= 0)
                    continue;
                if (image.alpha) {
                    ::AlphaBlend(m_dc, xd[column], yd[row], dw, dh, source, xs[column], ys[row], sw,
                                 sh, blend);
                } else if (sw == dw && sh == dh) {
                    ::BitBlt(m_dc, xd[column], yd[row], dw, dh, source, xs[column], ys[row],
                             SRCCOPY);
                } else {
                    ::StretchBlt(m_dc, xd[column], yd[row], dw, dh, source, xs[column], ys[row], sw,
                                 sh, SRCCOPY);
                    MakeOpaque(UiRect(xd[column], yd[row], xd[column] + dw, yd[row] + dh));
                }
            }
        }
    }

    void MakeOpaque(const UiRect& rect) const
    {
        ::GdiFlush();
        for (int y = rect.top; y < rect.bottom; ++y) {
            uint8_t* pixel = m_bits + (static_cast<size_t>(y) * kWidth + rect.left) * 4;
            for (int x = rect.left; x < rect.right; ++x, pixel += 4)
                pixel[3] = 255;
        }
    }

    HDC m_dc = nullptr;
    uint8_t* m_bits = nullptr;
    std::vector<std::pair<const SkinImage*, HDC>> m_sources;
    Gdiplus::GpFont* m_font = nullptr;
    Gdiplus::GpStringFormat* m_format = nullptr;
    Gdiplus::GpSolidFill* m_fill = nullptr;
    Gdiplus::GpSolidFill* m_textBrush = nullptr;
};

double Seconds(const LARGE_INTEGER& start, const LARGE_INTEGER& end)
{
    LARGE_INTEGER frequency;
    ::QueryPerformanceFrequency(&frequency);
    return static_cast<double>(end.QuadPart - start.QuadPart) / frequency.QuadPart;
}

template <typename Paint>
double MillisecondsPerFrame(int frames, Paint paint)
{
    paint();
    ::GdiFlush();
    LARGE_INTEGER start;
    LARGE_INTEGER end;
    ::QueryPerformanceCounter(&start);
    for (int i = 0; i < frames; ++i)
        paint();
    ::GdiFlush();
    ::QueryPerformanceCounter(&end);
    return Seconds(start, end) * 1000.0 / frames;
}

bool SavePng(const ui::IRenderContext& context, const std::wstring& path)
{
    static const CLSID kPngEncoder = {
        0x557CF406, 0x1A04, 0x11D3, {0x9A, 0x73, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E}};
    Gdiplus::GpBitmap* bitmap = nullptr;
    if (ui::gdip::GdipCreateBitmapFromScan0(context.GetWidth(), context.GetHeight(),
                                            context.GetWidth() * 4, PixelFormat32bppPARGB,
                                            context.GetBits(), &bitmap) != ui::gdip::Ok)
        return false;
    const bool saved =
        ui::gdip::GdipSaveImageToFile(bitmap, path.c_str(), &kPngEncoder, nullptr) == ui::gdip::Ok;
    ui::gdip::GdipDisposeImage(bitmap);
    return saved;
}

} // namespace

int main(int argc, char** argv)
{
    ui::GdiPlusSession gdiplus;
    if (!gdiplus.IsStarted()) {
        std::fprintf(stderr, "GDI+ did not start\n");
        return 1;
    }
    ui::GlobalManager::AddFont(L"bench_12", L"Tahoma", 12, false, false, false, false);
    const Skin skin;
    const Frame frame(skin);
    ui::RenderFactory_GdiPlus factory;
    std::unique_ptr<ui::IRenderContext> context = factory.CreateRenderContext();
    context->Resize(kWidth, kHeight, true);
    std::unique_ptr<ui::IRenderContext> rawTarget = factory.CreateRenderContext();
    rawTarget->Resize(kWidth, kHeight, true);
    const RawPainter rawPainter(rawTarget->GetDC(), rawTarget->GetBits(),
                                ui::GlobalManager::GetFont(L"bench_12")->logFont, skin);

    // The painters take turns, and each keeps its best round, so that load
    // from other processes weighs on all of them alike.
    constexpr int kRounds = 8;
    constexpr int kFramesPerRound = 8;
    double ours = 1e9;
    double blended = 1e9;
    double raw = 1e9;
    for (int round = 0; round < kRounds; ++round) {
        ours = std::min(ours, MillisecondsPerFrame(kFramesPerRound, [&] {
                            context->Clear();
                            PaintWithContext(*context, frame);
                        }));
        context->SetRenderTransparent(true);
        blended = std::min(blended, MillisecondsPerFrame(kFramesPerRound, [&] {
                               context->Clear();
                               PaintWithContext(*context, frame);
                           }));
        context->SetRenderTransparent(false);
        raw = std::min(raw, MillisecondsPerFrame(kFramesPerRound, [&] {
                           rawTarget->Clear();
                           rawPainter.Paint(frame);
                       }));
    }

    std::printf("frame %dx%d: %zu nine-grid images, %zu texts, %zu fills\n", kWidth, kHeight,
                frame.images.size(), frame.texts.size(), frame.fills.size());
    std::printf("render context: %.3f ms/frame\n", ours);
    std::printf("raw GDI and GDI+: %.3f ms/frame\n", raw);
    std::printf("ratio (render context / raw): %.3f (goal: at most 1.10)\n", ours / raw);
    std::printf(
        "render context, every piece blended (render-transparent): %.3f ms/frame, "
        "ratio %.3f\n",
        blended, blended / raw);
    PrintFigure("frame through the render context (vs raw GDI images, GDI+ text)", ours, raw, "ms");
    PrintFigure("frame, every piece blended (vs raw GDI images, GDI+ text)", blended, raw, "ms");

    // Alpha scan: an opaque 32-bit bitmap is the worst case (every pixel read).
    constexpr int kScanSide = 1024;
    const SkinImage opaque =
        MakeImage(kScanSide, kScanSide, UiRect(), [](int, int) { return 0xFF336699u; });
    constexpr int kScans = 50;
    bool transparent = false;
    double scanMs = 1e9;
    for (int round = 0; round < kRounds; ++round) {
        scanMs = std::min(scanMs, MillisecondsPerFrame(kScans, [&] {
                              transparent = ui::ImageDecoder::HasTransparentPixel(opaque.bitmap) ||
                                            transparent;
                          }));
    }
    const double megapixels = kScanSide * kScanSide / 1e6;
    std::printf("alpha scan: %.3f ms per megapixel%s\n", scanMs / megapixels,
                transparent ? " (unexpected: found transparency)" : "");
    PrintFigure("alpha scan per megapixel", scanMs / megapixels, NAN, "ms");

    if (argc > 1) {
        // As a layered window presents it: pixels that GDI left at alpha 0
        // (stretched opaque pieces) are made opaque.
        context->Clear();
        PaintWithContext(*context, frame);
        context->RestoreAlpha(UiRect(0, 0, kWidth, kHeight), UiRect(), 0);
        const std::string path = argv[1];
        std::printf("frame saved: %s\n",
                    SavePng(*context, std::wstring(path.begin(), path.end())) ? "yes" : "no");
    }
    return 0;
}
