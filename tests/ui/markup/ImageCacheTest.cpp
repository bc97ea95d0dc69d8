#include "ui/markup/DpiManager.h"
#include "ui/markup/GlobalManager.h"
#include "ui/markup/ImageAttribute.h"
#include "ui/markup/ImageCache.h"
#include "ui/markup/ImageDecoder.h"
#include "ui/markup/ImageInfo.h"
#include "ui/markup/ImagePainter.h"
#include "ui/markup/ZipArchive.h"
#include "ui/render/GdiPlusApi.h"
#include "ui/render/RenderFactory_GdiPlus.h"

#include "tests/ui/markup/ImageTestFiles.h"
#include "tests/ui/render/RenderTestSupport.h"

#include <gtest/gtest.h>

#include <zlib.h>

#include <algorithm>
#include <cstring>

namespace ui {
namespace {

using test::ImageTestFiles;

constexpr uint32_t kOpaqueRed = 0xFFFF0000;

class ImageCacheTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        test::StartGdiPlus();
        root = ImageTestFiles::MakeTempFolder(L"image_cache_test");
        ::CreateDirectoryW((root + L"ControlPanel").c_str(), nullptr);
        ::CreateDirectoryW((root + L"public").c_str(), nullptr);
        const auto opaque = [](int, int) { return kOpaqueRed; };
        ASSERT_TRUE(ImageTestFiles::WritePng(root + L"public\\opaque32.png", 6, 4,
                                             PixelFormat32bppARGB, opaque));
        ASSERT_TRUE(ImageTestFiles::WritePng(root + L"public\\opaque24.png", 6, 4,
                                             PixelFormat24bppRGB, opaque));
        ASSERT_TRUE(ImageTestFiles::WritePng(
            root + L"public\\translucent.png", 6, 4, PixelFormat32bppARGB,
            [](int x, int y) { return (x == 5 && y == 3) ? 0x80FF0000u : kOpaqueRed; }));
    }

    void SetUp() override { GlobalManager::SetResourcePath(root); }
    void TearDown() override { GlobalManager::CloseArchive(); }

    static std::shared_ptr<ImageInfo> Load(const std::wstring& name)
    {
        ImageAttribute attribute;
        attribute.SetImageString(name);
        ImagePainter::LoadAttributeImage(attribute, L"ControlPanel\\");
        return attribute.image;
    }

    static inline std::wstring root;
};

TEST_F(ImageCacheTest, FullPathsAreTakenUnderTheRootAndNormalised)
{
    EXPECT_EQ(ImageCache::GetFullPath(L"ControlPanel\\", L"../public/combo/normal.png"),
              root + L"ControlPanel\\..\\public\\combo\\normal.png");
    EXPECT_EQ(ImageCache::GetFullPath(L"ControlPanel/", L"a//b.png"),
              root + L"ControlPanel\\a\\b.png");
    EXPECT_EQ(ImageCache::GetFullPath(L"ControlPanel\\", L"C:/skins\\x.png"), L"C:\\skins\\x.png");
}

TEST_F(ImageCacheTest, UsersShareOneDecodeUntilTheLastIsGone)
{
    // A file of its own: it is replaced below, and the suite's cases share a process.
    ASSERT_TRUE(ImageTestFiles::WritePng(root + L"public\\replaced.png", 6, 4, PixelFormat32bppARGB,
                                         [](int, int) { return kOpaqueRed; }));
    ImageAttribute first;
    ImageAttribute second;
    first.SetImageString(L"../public/replaced.png");
    second.SetImageString(L"file='..\\public\\replaced.png' corner='1,1,1,1'");
    ASSERT_TRUE(ImagePainter::LoadAttributeImage(first, L"ControlPanel\\"));
    ASSERT_TRUE(ImagePainter::LoadAttributeImage(second, L"ControlPanel\\"));
    EXPECT_EQ(first.image, second.image);
    EXPECT_TRUE(first.image->cached);
    EXPECT_EQ(ImageCache::GetInstance().GetEntryCount(), 1u);

    // Replace the file: only a new decode can see the new size.
    ASSERT_TRUE(ImageTestFiles::WritePng(root + L"public\\replaced.png", 9, 4, PixelFormat32bppARGB,
                                         [](int, int) { return kOpaqueRed; }));
    first.SetImageString(L"../public/replaced.png");
    EXPECT_EQ(ImageCache::GetInstance().GetEntryCount(), 1u);
    EXPECT_EQ(Load(L"../public/replaced.png")->width, 6);
    second.Clear();
    EXPECT_EQ(ImageCache::GetInstance().GetEntryCount(), 0u);

    std::shared_ptr<ImageInfo> again = Load(L"../public/replaced.png");
    ASSERT_TRUE(again);
    EXPECT_EQ(again->width, 9);
    again.reset();
    EXPECT_EQ(ImageCache::GetInstance().GetEntryCount(), 0u);
}

TEST_F(ImageCacheTest, AlphaChannelFollowsThePixels)
{
    std::shared_ptr<ImageInfo> opaque32 = Load(L"../public/opaque32.png");
    std::shared_ptr<ImageInfo> opaque24 = Load(L"../public/opaque24.png");
    std::shared_ptr<ImageInfo> translucent = Load(L"../public/translucent.png");
    ASSERT_TRUE(opaque32 && opaque24 && translucent);
    EXPECT_FALSE(opaque32->alphaChannel);
    EXPECT_FALSE(opaque24->alphaChannel);
    EXPECT_TRUE(translucent->alphaChannel);
    EXPECT_EQ(translucent->GetFrameCount(), 1u);
    EXPECT_TRUE(translucent->frameDelays.empty());
    EXPECT_EQ(translucent->height, 4);
}

// Above 100 % the set drawn for the scale is used, or the nearest larger
// one brought down to the scale, or else the nearest smaller one; a skin
// without sets gets its 100 % images.
TEST_F(ImageCacheTest, ImageSetsOfTheCurrentScale)
{
    const auto colour = [](uint32_t argb) { return [argb](int, int) { return argb; }; };
    ASSERT_TRUE(ImageTestFiles::WritePng(root + L"public\\set.png", 10, 6, PixelFormat32bppARGB,
                                         colour(kOpaqueRed)));
    ASSERT_TRUE(ImageTestFiles::WritePng(root + L"public\\set@150.png", 15, 9, PixelFormat32bppARGB,
                                         colour(0xFF0000FF)));
    ASSERT_TRUE(ImageTestFiles::WritePng(root + L"public\\set@200.png", 20, 12,
                                         PixelFormat32bppARGB, colour(0xFF00FF00)));
    DpiManager& dpi = DpiManager::GetInstance();
    dpi.SetAdaptDpi(true);
    const auto at = [&dpi](int scale, const wchar_t* name) {
        dpi.SetScale(scale);
        return Load(name);
    };
    // The colour in the middle of the first frame, as a COLORREF.
    const auto middle = [](const ImageInfo& image) {
        HDC dc = ::CreateCompatibleDC(nullptr);
        const HGDIOBJ old = ::SelectObject(dc, image.GetFrame(0));
        const COLORREF colour = ::GetPixel(dc, image.width / 2, image.height / 2);
        ::SelectObject(dc, old);
        ::DeleteDC(dc);
        return colour;
    };

    const std::shared_ptr<ImageInfo> plain = at(100, L"../public/set.png");
    const std::shared_ptr<ImageInfo> exact = at(150, L"../public/set.png");
    const std::shared_ptr<ImageInfo> larger = at(125, L"../public/set.png");
    const std::shared_ptr<ImageInfo> smaller = at(250, L"../public/set.png");
    const std::shared_ptr<ImageInfo> withoutSets = at(150, L"../public/opaque32.png");
    dpi.SetScale(100);
    dpi.SetAdaptDpi(false);
    ASSERT_TRUE(plain && exact && larger && smaller && withoutSets);

    EXPECT_EQ(plain->width, 10);
    EXPECT_EQ(plain->scale, 100);
    EXPECT_EQ(exact->width, 15);
    EXPECT_EQ(exact->scale, 150);
    EXPECT_EQ(middle(*exact), RGB(0, 0, 255));
    // 12.5 x 7.5 rounded as sizes are, from the 150 % set.
    EXPECT_EQ(larger->width, 13);
    EXPECT_EQ(larger->height, 8);
    EXPECT_EQ(larger->scale, 125);
    EXPECT_EQ(middle(*larger), RGB(0, 0, 255));
    EXPECT_EQ(smaller->width, 20);
    EXPECT_EQ(smaller->scale, 200);
    EXPECT_EQ(withoutSets->width, 6);
    EXPECT_EQ(withoutSets->scale, 100);
    // Each scale has its own decode of the same name.
    EXPECT_NE(plain, exact);
}

TEST_F(ImageCacheTest, AnimatedGifYieldsFramesAndDelays)
{
    const std::vector<uint8_t> gif =
        ImageTestFiles::MakeGif(4, 3, {0xFF0000, 0x00FF00, 0x0000FF}, {2, 4, 7});
    ASSERT_TRUE(ImageTestFiles::WriteFile(root + L"public\\anim.gif", gif));
    std::shared_ptr<ImageInfo> image = Load(L"../public/anim.gif");
    ASSERT_TRUE(image);
    ASSERT_EQ(image->GetFrameCount(), 3u);
    EXPECT_EQ(image->frameDelays, (std::vector<uint32_t>{2, 4, 7}));
    // 20 ms is below 30: 100 ms; 40 ms is below 50: 50 ms; 70 ms stays.
    EXPECT_EQ(image->GetFrameDelay(0), 100u);
    EXPECT_EQ(image->GetFrameDelay(1), 50u);
    EXPECT_EQ(image->GetFrameDelay(2), 70u);
    EXPECT_EQ(image->GetFrameDelay(3), 100u);

    // Each frame bitmap holds its own colour.
    RenderFactory_GdiPlus factory;
    for (size_t frame = 0; frame < 3; ++frame) {
        std::unique_ptr<IRenderContext> context = factory.CreateRenderContext();
        ASSERT_TRUE(context->Resize(4, 3, true));
        context->DrawImage(UiRect(0, 0, 4, 3), image->GetFrame(frame), image->alphaChannel,
                           UiRect(0, 0, 4, 3), UiRect(0, 0, 4, 3), UiRect(), 255, false, false);
        const test::Pixel pixel = test::PixelAt(*context, 2, 1);
        EXPECT_EQ(pixel.r, frame == 0 ? 255 : 0) << frame;
        EXPECT_EQ(pixel.g, frame == 1 ? 255 : 0) << frame;
        EXPECT_EQ(pixel.b, frame == 2 ? 255 : 0) << frame;
    }
}

TEST_F(ImageCacheTest, ImagesComeFromTheArchiveFirst)
{
    const std::vector<uint8_t> png = ImageTestFiles::ReadFile(root + L"public\\translucent.png");
    const std::vector<uint8_t> zip = ImageTestFiles::MakeZip(
        {{"skin/public/only_in_archive.png", png}, {"skin/public/broken.png", {1, 2, 3}}});
    ASSERT_EQ(GlobalManager::OpenArchive(zip.data(), zip.size(), ""), 0u);
    GlobalManager::SetResourcePath(L"skin");

    ImageAttribute attribute;
    attribute.SetImageString(L"../public/only_in_archive.png");
    ASSERT_TRUE(ImagePainter::LoadAttributeImage(attribute, L"ControlPanel\\"));
    EXPECT_EQ(attribute.image->cacheKey, L"skin/public/only_in_archive.png");
    EXPECT_EQ(attribute.image->width, 6);
    EXPECT_TRUE(attribute.image->alphaChannel);

    // An entry that does not decode gives no image.
    EXPECT_FALSE(Load(L"../public/broken.png"));
}

TEST_F(ImageCacheTest, MissingImagesGiveNothingAndDrawNothing)
{
    const std::vector<uint8_t> zip = ImageTestFiles::MakeZip({{"other.txt", {'x'}}});
    ASSERT_EQ(GlobalManager::OpenArchive(zip.data(), zip.size(), ""), 0u);
    GlobalManager::SetResourcePath(root);

    RenderFactory_GdiPlus factory;
    std::unique_ptr<IRenderContext> context = factory.CreateRenderContext();
    ASSERT_TRUE(context->Resize(10, 10, true));
    ImageAttribute attribute;
    attribute.SetImageString(L"file='../public/absent.png' fade='80'");
    EXPECT_FALSE(ImagePainter::DrawImage(*context, attribute, UiRect(0, 0, 10, 10),
                                         UiRect(0, 0, 10, 10), L"ControlPanel\\"));
    EXPECT_FALSE(attribute.image);
    EXPECT_EQ(test::PixelAt(*context, 5, 5).a, 0);

    ImageAttribute empty;
    EXPECT_FALSE(ImagePainter::DrawImage(*context, empty, UiRect(0, 0, 10, 10),
                                         UiRect(0, 0, 10, 10), L"ControlPanel\\"));
    EXPECT_FALSE(ImageDecoder::DecodeFile(root + L"public\\absent.png"));
    EXPECT_FALSE(ImageDecoder::DecodeBlock(GlobalBlock()));
}

} // namespace
} // namespace ui

namespace ui {
namespace {

void Put32BigEndian(std::vector<uint8_t>& out, uint32_t value)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<uint8_t>(value >> shift));
}

void PutChunk(std::vector<uint8_t>& out, const char* kind, const std::vector<uint8_t>& data)
{
    Put32BigEndian(out, static_cast<uint32_t>(data.size()));
    std::vector<uint8_t> body(kind, kind + 4);
    body.insert(body.end(), data.begin(), data.end());
    out.insert(out.end(), body.begin(), body.end());
    Put32BigEndian(out,
                   static_cast<uint32_t>(crc32(0, body.data(), static_cast<uInt>(body.size()))));
}

// A valid black 8-bit grey PNG.
std::vector<uint8_t> GreyPng(uint32_t width, uint32_t height)
{
    std::vector<uint8_t> header;
    Put32BigEndian(header, width);
    Put32BigEndian(header, height);
    header.insert(header.end(), {8, 0, 0, 0, 0});
    const std::vector<uint8_t> raw(static_cast<size_t>(width + 1) * height, 0);
    uLongf packedSize = compressBound(static_cast<uLong>(raw.size()));
    std::vector<uint8_t> packed(packedSize);
    compress2(packed.data(), &packedSize, raw.data(), static_cast<uLong>(raw.size()), 9);
    packed.resize(packedSize);
    std::vector<uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    PutChunk(png, "IHDR", header);
    PutChunk(png, "IDAT", packed);
    PutChunk(png, "IEND", {});
    return png;
}

// A black and white BMP (GDI+ reads its size only when decoding it).
std::vector<uint8_t> MonochromeBmp(int32_t width, int32_t height)
{
    const uint32_t rowBytes = ((static_cast<uint32_t>(width) + 31) / 32) * 4;
    const uint32_t offset = 14 + 40 + 8;
    std::vector<uint8_t> bmp(offset + rowBytes * static_cast<uint32_t>(height), 0);
    BITMAPFILEHEADER file{0x4D42, static_cast<DWORD>(bmp.size()), 0, 0, offset};
    BITMAPINFOHEADER info{40, width, height, 1, 1, BI_RGB, 0, 0, 0, 2, 2};
    std::memcpy(bmp.data(), &file, 14);
    std::memcpy(bmp.data() + 14, &info, 40);
    std::memset(bmp.data() + 58, 0xFF, 3); // palette entry 1: white
    return bmp;
}

GlobalBlock BlockOf(const std::vector<uint8_t>& bytes)
{
    GlobalBlock block(::GlobalAlloc(GMEM_MOVEABLE, bytes.size()));
    std::memcpy(::GlobalLock(block.Get()), bytes.data(), bytes.size());
    ::GlobalUnlock(block.Get());
    return block;
}

TEST(HostileImageTest, HugeImagesAndOversizedEntriesGiveNoImage)
{
    test::StartGdiPlus();
    const std::wstring folder = test::ImageTestFiles::MakeTempFolder(L"hostile_image_test");
    // 20 M pixels would be 80 MiB per frame; the same grey PNG at a normal
    // size decodes.
    const std::vector<uint8_t> huge = GreyPng(5000, 4000);
    ASSERT_TRUE(test::ImageTestFiles::WriteFile(folder + L"huge.png", huge));
    EXPECT_FALSE(ImageDecoder::DecodeFile(folder + L"huge.png"));
    EXPECT_FALSE(ImageDecoder::DecodeBlock(BlockOf(huge)));
    ASSERT_TRUE(test::ImageTestFiles::WriteFile(folder + L"huge.bmp", MonochromeBmp(5000, 4000)));
    EXPECT_FALSE(ImageDecoder::DecodeFile(folder + L"huge.bmp"));
    ASSERT_TRUE(test::ImageTestFiles::WriteFile(folder + L"small.bmp", MonochromeBmp(50, 40)));
    EXPECT_TRUE(ImageDecoder::DecodeFile(folder + L"small.bmp"));
    ASSERT_TRUE(test::ImageTestFiles::WriteFile(folder + L"small.png", GreyPng(300, 200)));
    const auto small = ImageDecoder::DecodeFile(folder + L"small.png");
    ASSERT_TRUE(small);
    EXPECT_EQ(small->width, 300);

    // An archive entry that claims more than 64 MiB (an inflation bomb) is
    // refused before anything is allocated or inflated; others still read.
    std::vector<uint8_t> zip = test::ImageTestFiles::MakeZip(
        {{"skin/bomb.png", GreyPng(30, 20)}, {"skin/fine.png", GreyPng(30, 20)}});
    const uint8_t central[] = {'P', 'K', 1, 2};
    const auto record = std::search(zip.begin(), zip.end(), central, central + 4);
    ASSERT_NE(record, zip.end());
    const uint32_t claimed = 65u * 1024 * 1024;
    std::memcpy(&*(record + 24), &claimed, 4);
    ASSERT_EQ(GlobalManager::OpenArchive(zip.data(), zip.size(), ""), 0u);
    EXPECT_FALSE(GlobalManager::GetData(L"skin\\bomb.png"));
    EXPECT_EQ(GlobalManager::GetLastArchiveResult(), ZipArchive::kBufferTooSmall);
    EXPECT_FALSE(ImageCache::GetInstance().GetImage(L"skin\\bomb.png"));
    EXPECT_TRUE(ImageCache::GetInstance().GetImage(L"skin\\fine.png"));
    GlobalManager::CloseArchive();
}

std::vector<uint8_t> Pixels(HBITMAP bitmap)
{
    DIBSECTION dib{};
    if (::GetObjectW(bitmap, sizeof dib, &dib) != sizeof dib || dib.dsBm.bmBits == nullptr)
        return {};
    ::GdiFlush();
    const auto* bits = static_cast<const uint8_t*>(dib.dsBm.bmBits);
    return {bits, bits + static_cast<size_t>(dib.dsBm.bmWidthBytes) * dib.dsBm.bmHeight};
}

// Skin archive entries of the plain kind are decoded without the system's
// codecs; every image of the skin must come out exactly as they give it
// (the file path still goes through them).
TEST(ImageDecoderTest, EverySkinImageDecodesAsTheSystemCodecsDecodeIt)
{
    test::StartGdiPlus();
    std::vector<std::wstring> folders = {std::wstring(KV_SOURCE_DIR_W) + L"\\resources\\themes"};
    int compared = 0;
    while (!folders.empty()) {
        const std::wstring folder = folders.back();
        folders.pop_back();
        WIN32_FIND_DATAW found{};
        const HANDLE search = ::FindFirstFileW((folder + L"\\*").c_str(), &found);
        ASSERT_NE(search, INVALID_HANDLE_VALUE);
        do {
            const std::wstring name = found.cFileName;
            const std::wstring path = folder + L"\\" + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                if (name != L"." && name != L"..")
                    folders.push_back(path);
                continue;
            }
            if (name.size() < 4 || name.compare(name.size() - 4, 4, L".png") != 0)
                continue;
            const auto fromCodecs = ImageDecoder::DecodeFile(path);
            const auto plain =
                ImageDecoder::DecodeBlock(BlockOf(test::ImageTestFiles::ReadFile(path)));
            ASSERT_TRUE(fromCodecs && plain);
            const std::string label(name.begin(), name.end());
            EXPECT_EQ(plain->width, fromCodecs->width) << label;
            EXPECT_EQ(plain->height, fromCodecs->height) << label;
            EXPECT_EQ(plain->alphaChannel, fromCodecs->alphaChannel) << label;
            ASSERT_EQ(plain->GetFrameCount(), 1u) << label;
            EXPECT_EQ(Pixels(plain->GetFrame(0)), Pixels(fromCodecs->GetFrame(0))) << label;
            ++compared;
        } while (::FindNextFileW(search, &found));
        ::FindClose(search);
    }
    EXPECT_GT(compared, 200);
}

} // namespace
} // namespace ui
