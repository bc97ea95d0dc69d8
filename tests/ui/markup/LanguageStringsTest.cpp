#include "ui/markup/LanguageStrings.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

using ui::LanguageStrings;

using namespace std::string_literals;

namespace {

void Load(LanguageStrings& strings, const std::string& text)
{
    EXPECT_TRUE(strings.LoadFromMemory(reinterpret_cast<const uint8_t*>(text.data()), text.size()));
}

TEST(LanguageStringsTest, LineRules)
{
    LanguageStrings strings;
    Load(strings,
         "\xEF\xBB\xBFSTRING_FIRST = first line\r\n"
         "; STRING_COMMENT = commented out\n"
         "\tSTRING_OK\t=\tOK \r\n"
         "STRING_THREE = a = b\n"
         "STRING_DOUBLE == doubled\n"
         "A;B = semicolon inside the id\n"
         "\n   \n"
         "STRING_LINES = one\\ntwo\\r\\nthree \\t\n"
         "STRING_OK = replaced\n"
         "STRING_EMPTY_TEXT =   \n"
         "STRING_NUL = before\0after\n"
         "= no id\n"
         "STRING_LAST = no final line feed"s);
    EXPECT_EQ(strings.GetStringById(L"STRING_FIRST"), L"first line"); // byte-order mark dropped
    EXPECT_EQ(strings.GetStringById(L"; STRING_COMMENT"), L"");
    EXPECT_EQ(strings.GetStringById(L"STRING_OK"), L"replaced");
    EXPECT_EQ(strings.GetStringById(L"STRING_THREE"), L"");
    EXPECT_EQ(strings.GetStringById(L"STRING_DOUBLE"), L"doubled");
    EXPECT_EQ(strings.GetStringById(L"A;B"), L"");
    EXPECT_EQ(strings.GetStringById(L"STRING_LINES"), L"one\ntwo\r\nthree \\t");
    EXPECT_EQ(strings.GetStringById(L"STRING_EMPTY_TEXT"), L"");
    EXPECT_EQ(strings.GetStringById(L"STRING_NUL"), L"before");
    EXPECT_EQ(strings.GetStringById(L"after"), L"");
    EXPECT_EQ(strings.GetStringById(L"STRING_LAST"), L"no final line feed");
    EXPECT_EQ(strings.GetStringById(L"string_ok"), L""); // ids are case-sensitive
    EXPECT_EQ(strings.GetStringById(L""), L"");
    EXPECT_EQ(strings.GetStringById(L"ABSENT"), L"");
}

TEST(LanguageStringsTest, MemoryAddsFileReplaces)
{
    const std::filesystem::path path =
        std::filesystem::temp_directory_path() / "kv_language_strings_test.ini";
    {
        std::ofstream file(path, std::ios::binary);
        file << "\xEF\xBB\xBF; comment\r\nFROM_FILE = \xE6\x96\x87\r\nLONG = "
             << std::string(6000, 'x') << "\r\n";
    }
    LanguageStrings strings;
    Load(strings, "FROM_MEMORY = m\n");
    Load(strings, "SECOND = s\n");
    EXPECT_EQ(strings.GetStringById(L"FROM_MEMORY"), L"m");
    ASSERT_TRUE(strings.LoadFromFile(path.wstring()));
    EXPECT_EQ(strings.GetStringById(L"FROM_MEMORY"), L"");
    EXPECT_EQ(strings.GetStringById(L"FROM_FILE"), L"\u6587");
    EXPECT_EQ(strings.GetStringById(L"LONG"), std::wstring(6000, L'x')); // lines of any length
    std::filesystem::remove(path);
    EXPECT_FALSE(strings.LoadFromFile(path.wstring()));
    EXPECT_EQ(strings.GetStringById(L"FROM_FILE"), L"");
}

} // namespace
