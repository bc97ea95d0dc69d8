#include "ui/markup/ImageAttributeParser.h"

#include <gtest/gtest.h>

#include <climits>

namespace ui {
namespace {

using Pairs = std::vector<ImageAttributeParser::Pair>;

TEST(ImageAttributeParserTest, PairsNeedABlankBetweenThem)
{
    EXPECT_TRUE(ImageAttributeParser::ParsePairs(L"bg12.png").empty());
    EXPECT_EQ(ImageAttributeParser::ParsePairs(L"file='a.png' corner='1,2,3,4'"),
              (Pairs{{L"file", L"a.png"}, {L"corner", L"1,2,3,4"}}));
    EXPECT_EQ(ImageAttributeParser::ParsePairs(L"file='a.png'corner='1,2,3,4'"),
              (Pairs{{L"file", L"a.png"}}));
    // Blanks around "=" and between pairs are skipped; a trailing blank ends.
    EXPECT_EQ(ImageAttributeParser::ParsePairs(L"\t file = 'a b.png'  \n fade='80' "),
              (Pairs{{L"file", L"a b.png"}, {L"fade", L"80"}}));
    EXPECT_EQ(ImageAttributeParser::ParsePairs(L"file=''"), (Pairs{{L"file", L""}}));
}

TEST(ImageAttributeParserTest, MalformedPairsEndParsing)
{
    const std::wstring good = L"file='a.png' ";
    EXPECT_EQ(ImageAttributeParser::ParsePairs(good + L"corner='1,2"),
              (Pairs{{L"file", L"a.png"}}));
    EXPECT_EQ(ImageAttributeParser::ParsePairs(good + L"corner=\"1\""),
              (Pairs{{L"file", L"a.png"}}));
    EXPECT_EQ(ImageAttributeParser::ParsePairs(good + L"corner '1'"), (Pairs{{L"file", L"a.png"}}));
    EXPECT_EQ(ImageAttributeParser::ParsePairs(good + L"corner="), (Pairs{{L"file", L"a.png"}}));
    EXPECT_TRUE(ImageAttributeParser::ParsePairs(L"file='a.png").empty());
    EXPECT_TRUE(ImageAttributeParser::ParsePairs(L"").empty());
    EXPECT_TRUE(ImageAttributeParser::ParsePairs(L"   ").empty());
    EXPECT_TRUE(ImageAttributeParser::ParsePairs(L"'").empty());
}

TEST(ImageAttributeParserTest, RectanglesReadNumberByNumber)
{
    EXPECT_EQ(ImageAttributeParser::ParseRect(L"0,6,1000,8"), UiRect(0, 6, 1000, 8));
    EXPECT_EQ(ImageAttributeParser::ParseRect(L"0,6"), UiRect(0, 6, 0, 0));
    EXPECT_EQ(ImageAttributeParser::ParseRect(L"8"), UiRect(8, 0, 0, 0));
    EXPECT_EQ(ImageAttributeParser::ParseRect(L"4,,4,4"), UiRect(4, 0, 4, 4));
    EXPECT_EQ(ImageAttributeParser::ParseRect(L""), UiRect(0, 0, 0, 0));
    EXPECT_EQ(ImageAttributeParser::ParseRect(L" -3, +4,5,6"), UiRect(-3, 4, 5, 6));
    // Each number starts one character after the previous one ended.
    EXPECT_EQ(ImageAttributeParser::ParseRect(L"1;2;3;4"), UiRect(1, 2, 3, 4));
    EXPECT_EQ(ImageAttributeParser::ParseRect(L"1, 2,x3,4"), UiRect(1, 2, 0, 3));
    EXPECT_EQ(ImageAttributeParser::ParseRect(L"1 ,2"), UiRect(1, 0, 2, 0));
    EXPECT_EQ(ImageAttributeParser::ParseRect(L"99999999999,-99999999999,1,2"),
              UiRect(INT_MAX, INT_MIN, 1, 2));
}

} // namespace
} // namespace ui
