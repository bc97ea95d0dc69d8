#include "ui/core/AttributeText.h"

#include "ui/core/EventType.h"
#include "ui/core/FadeCurve.h"
#include "ui/core/SizeRequest.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace ui {
namespace {

TEST(AttributeTextTest, NumbersReadLikeDecimalConversion)
{
    size_t consumed = 0;
    EXPECT_EQ(AttributeText::ParseInt(L"  -42px", &consumed), -42);
    EXPECT_EQ(consumed, 5u);
    EXPECT_EQ(AttributeText::ParseInt(L"+7"), 7);
    EXPECT_EQ(AttributeText::ParseInt(L"x1", &consumed), 0);
    EXPECT_EQ(consumed, 0u);
    EXPECT_EQ(AttributeText::ParseInt(L""), 0);
    EXPECT_EQ(AttributeText::ParseInt(L"99999999999999999999"), 2147483647);
    EXPECT_EQ(AttributeText::ParseInt(L"-99999999999999999999"), -2147483647 - 1);
}

TEST(AttributeTextTest, NumberListsFillMissingNumbersWithZero)
{
    EXPECT_EQ(AttributeText::ParseRect(L"8"), UiRect(8, 0, 0, 0));
    EXPECT_EQ(AttributeText::ParseRect(L"4,,4,4"), UiRect(4, 0, 4, 4));
    EXPECT_EQ(AttributeText::ParseRect(L"1, 2, -3,4,5"), UiRect(1, 2, -3, 4));
    EXPECT_EQ(AttributeText::ParseRect(L"1,2,"), UiRect(1, 2, 0, 0));
    EXPECT_EQ(AttributeText::ParseRect(L""), UiRect());
    EXPECT_EQ(AttributeText::ParseSize(L"1110,527"), UiSize(1110, 527));
    EXPECT_EQ(AttributeText::ParsePoint(L"3"), UiPoint(3, 0));
}

TEST(AttributeTextTest, BooleansAndSizeKeywords)
{
    EXPECT_TRUE(AttributeText::ParseBool(L"true"));
    EXPECT_FALSE(AttributeText::ParseBool(L"True"));
    EXPECT_FALSE(AttributeText::ParseBool(L"1"));
    EXPECT_EQ(AttributeText::ParseSizeKeyword(L"stretch"), kSizeStretch);
    EXPECT_EQ(AttributeText::ParseSizeKeyword(L"auto"), kSizeAuto);
    EXPECT_FALSE(AttributeText::ParseSizeKeyword(L"Auto").has_value());
}

std::vector<std::pair<std::wstring, std::wstring>> Pairs(std::wstring_view list)
{
    std::vector<std::pair<std::wstring, std::wstring>> pairs;
    AttributeText::ForEachPair(list, [&](const std::wstring& name, const std::wstring& value) {
        pairs.emplace_back(name, value);
    });
    return pairs;
}

TEST(AttributeTextTest, AttributeListsStopAtTheFirstMalformedPair)
{
    using P = std::vector<std::pair<std::wstring, std::wstring>>;
    EXPECT_EQ(Pairs(L"width=\"10\" bkimage=\"file='a b.png' corner='1,1,1,1'\""),
              (P{{L"width", L"10"}, {L"bkimage", L"file='a b.png' corner='1,1,1,1'"}}));
    EXPECT_EQ(Pairs(L"width=\"\""), (P{{L"width", L""}}));
    // A second blank becomes part of the next name, which no control knows.
    EXPECT_EQ(Pairs(L"a=\"1\"  b=\"2\""), (P{{L"a", L"1"}, {L" b", L"2"}}));
    EXPECT_EQ(Pairs(L"a=\"1\"b=\"2\""), (P{{L"a", L"1"}}));
    EXPECT_EQ(Pairs(L"a=\"1\" "), (P{{L"a", L"1"}}));
    EXPECT_EQ(Pairs(L"a=1 b=\"2\""), P{});
    EXPECT_EQ(Pairs(L"a=\"1\" b"), (P{{L"a", L"1"}}));
    EXPECT_EQ(Pairs(L"a=\"1\" b=\"unterminated"), (P{{L"a", L"1"}}));
    EXPECT_EQ(Pairs(L""), P{});
}

TEST(AttributeTextTest, WordsColoursAndLineBreaks)
{
    EXPECT_EQ(AttributeText::SplitWords(L"a bb  c "),
              (std::vector<std::wstring>{L"a", L"bb", L"c"}));
    EXPECT_TRUE(AttributeText::SplitWords(L"").empty());
    EXPECT_EQ(AttributeText::SkipLeadingBlanks(L" \t\x01white"), L"white");
    EXPECT_EQ(AttributeText::ExpandLineBreaks(L"one<n>two<n>"), L"one\r\ntwo\r\n");
    EXPECT_EQ(AttributeText::ExpandLineBreaks(L"<n"), L"<n");
}

TEST(AttributeTextTest, EventNamesAreExact)
{
    EXPECT_EQ(EventTypeFromName(L"select"), kEventSelect);
    EXPECT_EQ(EventTypeFromName(L"buttonup"), kEventMouseButtonUp);
    EXPECT_EQ(EventTypeFromName(L"valuechange"), kEventValueChange);
    EXPECT_EQ(EventTypeFromName(L"all"), kEventAll);
    EXPECT_EQ(EventTypeFromName(L"Select"), kEventNone);
    EXPECT_EQ(EventTypeFromName(L"click"), kEventNone);
    EXPECT_TRUE(IsMouseEvent(kEventMouseMove));
    EXPECT_TRUE(IsMouseEvent(kEventMouseScrollWheel));
    EXPECT_FALSE(IsMouseEvent(kEventPointDown));
}

TEST(AttributeTextTest, FadeAcceleratesThenDecelerates)
{
    constexpr int64_t kDuration = 250000;
    EXPECT_EQ(FadeCurve::ValueAt(0, 255, 0, kDuration), 0);
    EXPECT_EQ(FadeCurve::ValueAt(0, 255, kDuration, kDuration), 255);
    EXPECT_EQ(FadeCurve::ValueAt(0, 255, kDuration + 1, kDuration), 255);
    // After 30 % of the time 30 % of the way is covered, at top speed.
    EXPECT_EQ(FadeCurve::ValueAt(0, 255, kDuration * 3 / 10, kDuration), 77);
    int32_t previous = 0;
    int32_t previousStep = 0;
    for (int64_t t = 0; t <= kDuration; t += 2500) {
        const int32_t value = FadeCurve::ValueAt(0, 255, t, kDuration);
        EXPECT_GE(value, previous);
        if (t > kDuration / 2) {
            EXPECT_LE(value - previous, previousStep + 1);
        }
        previousStep = value - previous;
        previous = value;
    }
    // Backwards runs the same course from the other end.
    EXPECT_EQ(FadeCurve::ValueAt(255, 0, kDuration * 3 / 10, kDuration), 255 - 77);
}

} // namespace
} // namespace ui
