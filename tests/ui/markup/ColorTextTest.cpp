#include "ui/markup/ColorText.h"

#include <gtest/gtest.h>

namespace ui {
namespace {

TEST(ColorTextTest, HexDigitsAfterTheFirstCharacter)
{
    EXPECT_EQ(ColorText::Parse(L"#FFaB01cD"), 0xFFAB01CDu);
    EXPECT_EQ(ColorText::Parse(L"ff333333"), 0x0F333333u); // the first digit stands for "#"
    EXPECT_EQ(ColorText::Parse(L"#12zz34"), 0x12u);
    // Nine or more digits saturate instead of wrapping round.
    EXPECT_EQ(ColorText::Parse(L"#123456789"), 0xFFFFFFFFu);
    EXPECT_EQ(ColorText::Parse(L"#"), 0u);
    EXPECT_EQ(ColorText::Parse(L""), 0u);
    EXPECT_EQ(ColorText::Parse(std::wstring_view(L"#1\0"
                                                 L"2",
                                                 4)),
              1u);
}

} // namespace
} // namespace ui
