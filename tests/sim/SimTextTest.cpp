#include <gtest/gtest.h>

#include <string>

#include "sim/SimText.h"

namespace {

TEST(SimTextTest, Utf8RoundTripsEveryPlane)
{
    std::wstring text = L"plain Ünï 漢字 ";
    // U+1F3B5 as one character or as a surrogate pair, whatever wchar_t holds.
    if constexpr (sizeof(wchar_t) == 2) {
        text += L"\xD83C\xDFB5";
    } else {
        text += static_cast<wchar_t>(0x1F3B5);
    }
    const std::string utf8 = SimText::ToUtf8(text);
    EXPECT_EQ(std::string("plain \xC3\x9Cn\xC3\xAF \xE6\xBC\xA2\xE5\xAD\x97 \xF0\x9F\x8E\xB5"),
              utf8);
    EXPECT_EQ(text, SimText::FromUtf8(utf8));
}

TEST(SimTextTest, InvalidUtf8BecomesReplacementCharacters)
{
    EXPECT_EQ(
        L"a\xFFFD"
        L"b",
        SimText::FromUtf8("a\xFF"
                          "b"));
    EXPECT_EQ(L"\xFFFD", SimText::FromUtf8("\xE6\xBC"));     // cut short
    EXPECT_EQ(L"\xFFFD", SimText::FromUtf8("\xC0\x80"));     // overlong
    EXPECT_EQ(L"\xFFFD", SimText::FromUtf8("\xED\xA0\x80")); // a surrogate
    EXPECT_EQ(
        L"\xFFFD"
        L"x",
        SimText::FromUtf8("\xE6x"));
    EXPECT_EQ("\xEF\xBF\xBD",
              SimText::ToUtf8(std::wstring(1, static_cast<wchar_t>(0xDC00)))); // lone low half
}

TEST(SimTextTest, NumbersAreDecimalOrHexadecimal)
{
    EXPECT_EQ(-7168, SimText::ParseNumber(L"-7168"));
    EXPECT_EQ(0xEE000030, SimText::ParseNumber(L"0xEE000030"));
    EXPECT_EQ(255, SimText::ParseNumber(L"0XfF"));
    EXPECT_EQ(12, SimText::ParseNumber(L"+12"));
    for (const wchar_t* bad :
         {L"", L"-", L"0x", L"12a", L"1.5", L" 1", L"0x1234567890ABCDEF", L"9999999999999999999"}) {
        EXPECT_FALSE(SimText::ParseNumber(bad).has_value()) << bad;
    }
}

TEST(SimTextTest, FormatProducesWideText)
{
    EXPECT_EQ(L"0x00000030 -5 seven", SimText::Format("0x%08X %d %s", 0x30u, -5, "seven"));
}

} // namespace
