#include "ui/markup/DpiManager.h"
#include "ui/markup/ImageAttribute.h"

#include <gtest/gtest.h>

namespace ui {
namespace {

const UiRect kNotSet(-1, -1, -1, -1);

TEST(ImageAttributeTest, BareFileNameKeepsTheDefaults)
{
    ImageAttribute image;
    image.SetImageString(L"bg12.png");
    EXPECT_EQ(image.attributeString, L"bg12.png");
    EXPECT_EQ(image.imageName, L"bg12.png");
    EXPECT_EQ(image.dest, kNotSet);
    EXPECT_EQ(image.source, kNotSet);
    EXPECT_EQ(image.corner, UiRect());
    EXPECT_EQ(image.fade, 255);
    EXPECT_FALSE(image.xTiled || image.yTiled);
    EXPECT_EQ(image.playCount, -1);
    EXPECT_FALSE(image.HasDest() || image.HasSource());
}

TEST(ImageAttributeTest, PairsSetTheirFields)
{
    ImageAttribute image;
    image.SetImageString(L"file='../public/bk/bk_shadow.png' corner='30,30,30,30'");
    EXPECT_EQ(image.imageName, L"../public/bk/bk_shadow.png");
    EXPECT_EQ(image.corner, UiRect(30, 30, 30, 30));

    // Without the blank only the file is taken.
    image.SetImageString(L"file='a.png'corner='1,2,3,4'");
    EXPECT_EQ(image.imageName, L"a.png");
    EXPECT_EQ(image.corner, UiRect());

    image.SetImageString(
        L"res='b.png' source='1,2,3,4' fade='80' xtiled='true' ytiled='TRUE' "
        L"playcount='3' unknown='x'");
    EXPECT_EQ(image.imageName, L"b.png");
    EXPECT_EQ(image.source, UiRect(1, 2, 3, 4));
    EXPECT_TRUE(image.HasSource());
    EXPECT_EQ(image.fade, 80);
    EXPECT_TRUE(image.xTiled);
    EXPECT_FALSE(image.yTiled);
    EXPECT_EQ(image.playCount, 3);
}

TEST(ImageAttributeTest, DestinationIsRelativeAndPadsWithZeros)
{
    ImageAttribute image;
    image.SetImageString(L"file='../public/slider/slider_hor_bk.png' dest='0,6,1000,8'");
    EXPECT_EQ(image.dest, UiRect(0, 6, 1000, 8));
    EXPECT_TRUE(image.HasDest());
    image.SetImageString(L"file='a.png' dest='3,4'");
    EXPECT_EQ(image.dest, UiRect(3, 4, 0, 0));
}

TEST(ImageAttributeTest, DestScaleAffectsOnlyALaterDest)
{
    DpiManager& dpi = DpiManager::GetInstance();
    dpi.SetAdaptDpi(true);
    dpi.SetScale(200);
    ImageAttribute image;
    image.SetImageString(L"file='a.png' dest='1,2,3,4' destscale='false'");
    const UiRect scaledFirst = image.dest;
    image.SetImageString(L"file='a.png' destscale='false' dest='1,2,3,4'");
    const UiRect unscaled = image.dest;
    // destscale starts true again for every string.
    image.Modify(L"dest='1,2,3,4'");
    const UiRect scaledAgain = image.dest;
    image.Modify(L"source='1,2,3,4' corner='1,2,3,4'");
    dpi.SetScale(100);
    dpi.SetAdaptDpi(false);

    EXPECT_EQ(scaledFirst, UiRect(2, 4, 6, 8));
    EXPECT_EQ(unscaled, UiRect(1, 2, 3, 4));
    EXPECT_EQ(scaledAgain, UiRect(2, 4, 6, 8));
    EXPECT_EQ(image.source, UiRect(1, 2, 3, 4));
    EXPECT_EQ(image.corner, UiRect(1, 2, 3, 4));
}

TEST(ImageAttributeTest, ModifyOverwritesOnlyNamedFields)
{
    ImageAttribute image;
    image.SetImageString(L"file='a.png' corner='1,1,1,1' fade='200'");
    image.Modify(L"destscale='false' dest='5,6,7,8'");
    EXPECT_EQ(image.imageName, L"a.png");
    EXPECT_EQ(image.corner, UiRect(1, 1, 1, 1));
    EXPECT_EQ(image.fade, 200);
    EXPECT_EQ(image.dest, UiRect(5, 6, 7, 8));
    EXPECT_EQ(image.attributeString, L"file='a.png' corner='1,1,1,1' fade='200'");

    // An empty value changes nothing; a malformed pair keeps what came before.
    image.Modify(L"fade='' corner='2,2,2,2' source='1,1");
    EXPECT_EQ(image.fade, 200);
    EXPECT_EQ(image.corner, UiRect(2, 2, 2, 2));
    EXPECT_EQ(image.source, kNotSet);

    // A new string starts from the defaults.
    image.SetImageString(L"file='' fade='80'");
    EXPECT_EQ(image.imageName, L"file='' fade='80'");
    EXPECT_EQ(image.corner, UiRect());
    EXPECT_EQ(image.dest, kNotSet);
    EXPECT_EQ(image.fade, 80);
}

TEST(ImageAttributeTest, FadeIsHeldInsideTheByteRange)
{
    ImageAttribute image;
    image.SetImageString(L"file='a.png' fade='300'");
    EXPECT_EQ(image.fade, 255);
    image.SetImageString(L"file='a.png' fade='-5'");
    EXPECT_EQ(image.fade, 0);
    image.SetImageString(L"file='a.png' fade='0'");
    EXPECT_EQ(image.fade, 0);
}

} // namespace
} // namespace ui
