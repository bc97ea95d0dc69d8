#include "ui/markup/ArchivePath.h"
#include "ui/markup/TextEncoding.h"

#include <gtest/gtest.h>

using ui::ArchivePath;
using ui::TextEncoding;

namespace {

TEST(ArchivePathTest, Normalises)
{
    const std::pair<const wchar_t*, const wchar_t*> cases[] = {
        {L"a/b/../c", L"a/c"},
        {L"b/../c", L"c"},
        {L"./x", L"x"},
        {L"a//b", L"a/b"},
        {L"a///b", L"a/b"},
        {L"resources\\themes\\default\\ControlPanel\\MainForm.xml",
         L"resources/themes/default/ControlPanel/MainForm.xml"},
        {L"resources/themes/default/ControlPanel/../public/combo/normal.png",
         L"resources/themes/default/public/combo/normal.png"},
        {L"a\\.\\b\\..\\..\\c", L"c"},
        {L"/lead/x", L"lead/x"},
        {L"../x", L"x"}, // nothing to climb above: the "../" is dropped
        {L"a/../../x", L"x"},
        {L"a/b/", L"a/b/"},
        {L"a/..", L"a/.."}, // no separator after the dots: kept as written
        {L"", L""},
    };
    for (const auto& [path, expected] : cases) {
        EXPECT_EQ(ArchivePath::Normalize(path), expected) << TextEncoding::WideToUtf8(path);
    }
}

TEST(TextEncodingTest, Utf8RoundTripAndReplacement)
{
    const std::wstring wide = TextEncoding::Utf8ToWide("a\xC3\xA9\xE5\x90\x8D\xF0\x9F\x98\x80z");
    // A supplementary character is one code point, or a surrogate pair where
    // wide characters are 16 bits.
    EXPECT_EQ(wide.size(), sizeof(wchar_t) == 2 ? 6u : 5u);
    EXPECT_EQ(wide, L"a\u00e9\u540d\U0001F600z");
    EXPECT_EQ(TextEncoding::WideToUtf8(wide), "a\xC3\xA9\xE5\x90\x8D\xF0\x9F\x98\x80z");
    EXPECT_EQ(TextEncoding::Utf8ToWide("x\xFFy\xC3"), L"x\uFFFDy\uFFFD");
    // An invalid lead byte, a stray continuation byte, an encoded surrogate.
    EXPECT_EQ(TextEncoding::Utf8ToWide("\xC0\xAF\xED\xA0\x80"), L"\uFFFD\uFFFD\uFFFD");
    EXPECT_EQ(TextEncoding::Utf8ToWide(std::string_view("a\0b", 3)), std::wstring(L"a\0b", 3));
}

} // namespace
