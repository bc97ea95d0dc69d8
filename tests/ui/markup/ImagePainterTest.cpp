#include "ui/markup/GlobalManager.h"
#include "ui/markup/ImageAnimation.h"
#include "ui/markup/ImageAttribute.h"
#include "ui/markup/ImageInfo.h"
#include "ui/markup/ImagePainter.h"
#include "ui/render/GdiPlusApi.h"
#include "ui/render/RenderFactory_GdiPlus.h"

#include "tests/ui/markup/ImageTestFiles.h"
#include "tests/ui/render/RenderTestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace ui {
namespace {

using test::ImageTestFiles;
using test::PixelAt;

// A 10x10 image: left half red, right half blue.
uint32_t Halves(int x, int)
{
    return x < 5 ? 0xFFFF0000 : 0xFF0000FF;
}

class ImagePainterTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        test::StartGdiPlus();
        folder = ImageTestFiles::MakeTempFolder(L"image_painter_test");
        ASSERT_TRUE(
            ImageTestFiles::WritePng(folder + L"halves.png", 10, 10, PixelFormat32bppARGB, Halves));
        ASSERT_TRUE(ImageTestFiles::WriteFile(
            folder + L"anim.gif", ImageTestFiles::MakeGif(2, 2, {0xFF0000, 0x00FF00}, {5, 5})));
    }

    void SetUp() override
    {
        GlobalManager::SetResourcePath(folder);
        ASSERT_TRUE(context->Resize(200, 100, true));
    }

    bool Draw(ImageAttribute& image, const UiRect& control, const std::wstring& modify = L"",
              int fade = ImagePainter::kAttributeFade, ImageAnimation* animation = nullptr)
    {
        return ImagePainter::DrawImage(*context, image, control, UiRect(0, 0, 200, 100), L"",
                                       modify, fade, animation);
    }

    static inline std::wstring folder;
    RenderFactory_GdiPlus factory;
    std::unique_ptr<IRenderContext> context = factory.CreateRenderContext();
};

TEST_F(ImagePainterTest, ImageFillsTheControlWithoutDest)
{
    ImageAttribute image;
    image.SetImageString(L"halves.png");
    ASSERT_TRUE(Draw(image, UiRect(100, 50, 120, 60)));
    EXPECT_EQ(PixelAt(*context, 100, 50).r, 255);
    EXPECT_EQ(PixelAt(*context, 119, 59).b, 255);
    EXPECT_EQ(PixelAt(*context, 120, 59).a, 0);
    EXPECT_EQ(PixelAt(*context, 99, 50).a, 0);
}

TEST_F(ImagePainterTest, DestIsRelativeToTheControlAndSourcePicksAPart)
{
    ImageAttribute image;
    image.SetImageString(L"file='halves.png' dest='0,6,20,8' source='5,0,10,10'");
    ASSERT_TRUE(Draw(image, UiRect(100, 50, 200, 100)));
    EXPECT_EQ(PixelAt(*context, 100, 56).b, 255);
    EXPECT_EQ(PixelAt(*context, 119, 57).b, 255);
    EXPECT_EQ(PixelAt(*context, 100, 56).r, 0);
    EXPECT_EQ(PixelAt(*context, 100, 55).a, 0);
    EXPECT_EQ(PixelAt(*context, 100, 58).a, 0);
    EXPECT_EQ(PixelAt(*context, 120, 56).a, 0);
}

TEST_F(ImagePainterTest, ModifyAndFadeApplyToThisDrawOnly)
{
    ImageAttribute image;
    image.SetImageString(L"file='halves.png' fade='80'");
    ASSERT_TRUE(Draw(image, UiRect(0, 0, 10, 10), L"destscale='false' dest='20,0,30,10'"));
    EXPECT_EQ(image.dest, UiRect(-1, -1, -1, -1));
    EXPECT_EQ(PixelAt(*context, 0, 0).a, 0);
    const test::Pixel faded = PixelAt(*context, 20, 0);
    EXPECT_LE(std::abs(faded.a - 80), 1);
    EXPECT_LE(std::abs(faded.r - 80), 1);

    ASSERT_TRUE(Draw(image, UiRect(50, 0, 60, 10), L"", 255));
    EXPECT_EQ(PixelAt(*context, 50, 0).a, 255);
}

TEST_F(ImagePainterTest, AnimationChoosesTheFrame)
{
    int repaints = 0;
    ImageAnimation animation([&repaints] { ++repaints; });
    ImageAttribute image;
    image.SetImageString(L"file='anim.gif' playcount='1'");
    ASSERT_TRUE(Draw(image, UiRect(0, 0, 2, 2), L"", ImagePainter::kAttributeFade, &animation));
    EXPECT_TRUE(animation.IsPlaying());
    EXPECT_EQ(PixelAt(*context, 1, 1).r, 255);

    animation.OnTick();
    EXPECT_EQ(animation.GetCurrentFrame(), 1);
    ASSERT_TRUE(Draw(image, UiRect(0, 0, 2, 2), L"", ImagePainter::kAttributeFade, &animation));
    EXPECT_EQ(PixelAt(*context, 1, 1).g, 255);

    // One loop played: back on frame 0, and drawing does not start it again.
    animation.OnTick();
    EXPECT_FALSE(animation.IsPlaying());
    EXPECT_EQ(animation.GetCompletedLoops(), 1);
    ASSERT_TRUE(Draw(image, UiRect(0, 0, 2, 2), L"", ImagePainter::kAttributeFade, &animation));
    EXPECT_FALSE(animation.IsPlaying());
    EXPECT_EQ(PixelAt(*context, 1, 1).r, 255);
    EXPECT_EQ(repaints, 2);

    // Without an animation the still frame is drawn.
    ImageAttribute still;
    still.SetImageString(L"anim.gif");
    ASSERT_TRUE(Draw(still, UiRect(10, 0, 12, 2)));
    EXPECT_EQ(PixelAt(*context, 11, 1).r, 255);
}

} // namespace
} // namespace ui
