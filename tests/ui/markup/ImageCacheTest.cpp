#include "ui/markup/GlobalManager.h"
#include "ui/markup/ImageAttribute.h"
#include "ui/markup/ImageCache.h"
#include "ui/markup/ImageDecoder.h"
#include "ui/markup/ImageInfo.h"
#include "ui/markup/ImagePainter.h"
#include "ui/render/GdiPlusApi.h"
#include "ui/render/RenderFactory_GdiPlus.h"

#include "tests/ui/markup/ImageTestFiles.h"
#include "tests/ui/render/RenderTestSupport.h"

#include <gtest/gtest.h>

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
    ImageAttribute first;
    ImageAttribute second;
    first.SetImageString(L"../public/opaque32.png");
    second.SetImageString(L"file='..\\public\\opaque32.png' corner='1,1,1,1'");
    ASSERT_TRUE(ImagePainter::LoadAttributeImage(first, L"ControlPanel\\"));
    ASSERT_TRUE(ImagePainter::LoadAttributeImage(second, L"ControlPanel\\"));
    EXPECT_EQ(first.image, second.image);
    EXPECT_TRUE(first.image->cached);
    EXPECT_EQ(ImageCache::GetInstance().GetEntryCount(), 1u);

    // Replace the file: only a new decode can see the new size.
    ASSERT_TRUE(ImageTestFiles::WritePng(root + L"public\\opaque32.png", 9, 4, PixelFormat32bppARGB,
                                         [](int, int) { return kOpaqueRed; }));
    first.SetImageString(L"../public/opaque32.png");
    EXPECT_EQ(ImageCache::GetInstance().GetEntryCount(), 1u);
    EXPECT_EQ(Load(L"../public/opaque32.png")->width, 6);
    second.Clear();
    EXPECT_EQ(ImageCache::GetInstance().GetEntryCount(), 0u);

    std::shared_ptr<ImageInfo> again = Load(L"../public/opaque32.png");
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
