#include "ui/markup/TextEncoding.h"
#include "ui/markup/ZipArchive.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

using ui::ZipArchive;
using ui::ZipEntryInfo;

namespace {

using Bytes = std::vector<uint8_t>;

std::filesystem::path FixturePath(const std::string& utf8Relative)
{
    const std::string full = std::string(KV_ZIP_FIXTURE_DIR) + "/" + utf8Relative;
    return std::filesystem::path(std::u8string(full.begin(), full.end()));
}

Bytes ReadFixture(const std::string& utf8Relative)
{
    std::ifstream file(FixturePath(utf8Relative), std::ios::binary);
    EXPECT_TRUE(file.good()) << utf8Relative;
    return Bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

// The files every real-tool archive holds, as UTF-8 entry names.
std::vector<std::string> TreeFiles()
{
    return {"top.txt", "empty.txt", "nested/deeper/leaf.xml", "big/compressible.bin",
            ui::TextEncoding::WideToUtf8(L"\u00fcn\u00efcode/\u540d\u524d.txt")};
}

struct ArchiveCase {
    const char* file;
    const char* password;
};

std::string CaseName(const ::testing::TestParamInfo<ArchiveCase>& info)
{
    std::string name = info.param.file;
    name = name.substr(0, name.find('.'));
    for (char& c : name) {
        c = (c == '-') ? '_' : c;
    }
    return name;
}

class RealToolArchive : public ::testing::TestWithParam<ArchiveCase> {};

TEST_P(RealToolArchive, EveryFileReadsBackByteForByte)
{
    const Bytes data = ReadFixture(GetParam().file);
    uint32_t result = 1;
    auto archive = ZipArchive::Open(data.data(), data.size(), GetParam().password, result);
    ASSERT_EQ(result, ZipArchive::kOk);
    ASSERT_TRUE(archive);
    // Walk the names in reverse so that the cursor has to restart.
    const std::vector<std::string> files = TreeFiles();
    for (auto name = files.rbegin(); name != files.rend(); ++name) {
        SCOPED_TRACE(*name);
        uint32_t index = 0;
        ASSERT_EQ(archive->FindEntry(*name, index), ZipArchive::kOk);
        ZipEntryInfo info;
        ASSERT_EQ(archive->GetEntryInfo(index, info), ZipArchive::kOk);
        EXPECT_EQ(info.index, index);
        EXPECT_EQ(ui::TextEncoding::WideToUtf8(info.name), *name);
        const Bytes expected = ReadFixture("tree/" + *name);
        ASSERT_EQ(info.uncompressedSize, expected.size());
        Bytes buffer(expected.size() + 1, 0xCC);
        ASSERT_EQ(archive->UnzipToMemory(index, buffer.data(), expected.size()), ZipArchive::kOk);
        buffer.pop_back();
        EXPECT_TRUE(buffer == expected);
    }
}

INSTANTIATE_TEST_SUITE_P(Tools, RealToolArchive,
                         ::testing::Values(ArchiveCase{"zip-tool.zip", ""},
                                           ArchiveCase{"python-stored.zip", ""},
                                           ArchiveCase{"python-deflated.zip", ""},
                                           ArchiveCase{"cmake-tar.zip", ""},
                                           ArchiveCase{"zip-tool-encrypted.zip", "secret"}),
                         CaseName);

class ZipArchiveTest : public ::testing::Test {
protected:
    std::unique_ptr<ZipArchive> Open(const Bytes& data, uint32_t expected = ZipArchive::kOk)
    {
        uint32_t result = 1;
        auto archive = ZipArchive::Open(data.data(), data.size(), "", result);
        EXPECT_EQ(result, expected);
        EXPECT_EQ(archive != nullptr, expected == ZipArchive::kOk);
        return archive;
    }
    uint32_t Unzip(ZipArchive& archive, const std::string& name, size_t size = 4 * 1024 * 1024)
    {
        uint32_t index = 0;
        if (const uint32_t status = archive.FindEntry(name, index); status != ZipArchive::kOk) {
            return status;
        }
        Bytes buffer(size);
        return archive.UnzipToMemory(index, buffer.data(), buffer.size());
    }
    // Offset of the local header of an entry, found through its name.
    static size_t LocalHeaderOf(const Bytes& data, const std::string& name)
    {
        const std::string header("PK\x03\x04", 4);
        for (size_t pos = 0; pos + 30 + name.size() <= data.size(); ++pos) {
            if (std::equal(header.begin(), header.end(), data.begin() + pos) &&
                std::equal(name.begin(), name.end(), data.begin() + pos + 30)) {
                return pos;
            }
        }
        ADD_FAILURE() << "no local header for " << name;
        return 0;
    }
};

TEST_F(ZipArchiveTest, LookupFoldsAsciiCaseOnly)
{
    const Bytes data = ReadFixture("python-deflated.zip");
    auto archive = Open(data);
    uint32_t exact = 0;
    uint32_t folded = 0;
    ASSERT_EQ(archive->FindEntry("nested/deeper/leaf.xml", exact), ZipArchive::kOk);
    ASSERT_EQ(archive->FindEntry("NESTED/Deeper/LEAF.xml", folded), ZipArchive::kOk);
    EXPECT_EQ(exact, folded);
    // Non-ASCII bytes must match exactly.
    uint32_t index = 0;
    EXPECT_EQ(archive->FindEntry(
                  ui::TextEncoding::WideToUtf8(L"\u00dcN\u00cfCODE/\u540d\u524d.txt"), index),
              ZipArchive::kNotFound);
    EXPECT_EQ(archive->FindEntry("nested\\deeper\\leaf.xml", index), ZipArchive::kNotFound);
    EXPECT_EQ(archive->FindEntry(std::string(256, 'a'), index), ZipArchive::kNotFound);
}

TEST_F(ZipArchiveTest, ArgumentAndStateResults)
{
    uint32_t result = 0;
    EXPECT_FALSE(ZipArchive::Open(nullptr, 10, "", result));
    EXPECT_EQ(result, ZipArchive::kNoArchive);
    Open(Bytes(100, 0), ZipArchive::kCannotOpen);

    const Bytes data = ReadFixture("zip-tool.zip");
    auto archive = Open(data);
    ZipEntryInfo info;
    EXPECT_EQ(archive->GetEntryInfo(archive->GetEntryCount(), info), ZipArchive::kNotFound);
    EXPECT_EQ(Unzip(*archive, "top.txt", 15), ZipArchive::kBufferTooSmall);
    EXPECT_EQ(Unzip(*archive, "big/compressible.bin", 1000), ZipArchive::kBufferTooSmall);
    EXPECT_EQ(Unzip(*archive, "top.txt"), ZipArchive::kOk);
    archive->Close();
    EXPECT_EQ(Unzip(*archive, "top.txt"), ZipArchive::kNotOpenForReading);
    EXPECT_EQ(archive->GetEntryInfo(0, info), ZipArchive::kNotOpenForReading);
}

TEST_F(ZipArchiveTest, WrongPasswordIsRefused)
{
    const Bytes data = ReadFixture("zip-tool-encrypted.zip");
    uint32_t result = 0;
    auto archive = ZipArchive::Open(data.data(), data.size(), "wrong", result);
    ASSERT_TRUE(archive);
    uint32_t index = 0;
    ASSERT_EQ(archive->FindEntry("big/compressible.bin", index), ZipArchive::kOk);
    Bytes buffer(4 * 1024 * 1024);
    const uint32_t status = archive->UnzipToMemory(index, buffer.data(), buffer.size());
    // The check byte lets one wrong password in 256 through; the data then
    // fail to inflate or fail the CRC.
    EXPECT_TRUE(status == ZipArchive::kWrongPassword || status == ZipArchive::kInflateFailed ||
                status == ZipArchive::kCorrupt)
        << status;
}

TEST_F(ZipArchiveTest, DamagedArchivesGiveDefinedResults)
{
    const Bytes good = ReadFixture("python-deflated.zip");
    {
        Bytes data = good;
        data.resize(data.size() - 1); // the end record loses its last byte
        Open(data, ZipArchive::kCannotOpen);
    }
    {
        Bytes data = good;
        const size_t local = LocalHeaderOf(data, "top.txt");
        data[local] = 'X';
        auto archive = Open(data);
        EXPECT_EQ(Unzip(*archive, "top.txt"), ZipArchive::kCorrupt);
        EXPECT_EQ(Unzip(*archive, "nested/deeper/leaf.xml"), ZipArchive::kOk);
    }
    {
        Bytes data = good;
        const size_t local = LocalHeaderOf(data, "big/compressible.bin");
        const size_t payload =
            local + 30 + std::string("big/compressible.bin").size() + data[local + 28];
        for (size_t i = 0; i < 64; ++i) {
            data[payload + 100 + i] ^= 0x5A;
        }
        auto archive = Open(data);
        const uint32_t status = Unzip(*archive, "big/compressible.bin");
        EXPECT_TRUE(status == ZipArchive::kInflateFailed || status == ZipArchive::kCorrupt)
            << status;
    }
    {
        // A central directory record with a broken signature.
        Bytes data = good;
        const std::string central("PK\x01\x02", 4);
        const auto at = std::search(data.begin(), data.end(), central.begin(), central.end());
        ASSERT_NE(at, data.end());
        *at = 'X';
        auto archive = Open(data);
        ZipEntryInfo info;
        EXPECT_EQ(archive->GetEntryInfo(0, info), ZipArchive::kCorrupt);
        uint32_t index = 0;
        EXPECT_EQ(archive->FindEntry("top.txt", index), ZipArchive::kCorrupt);
    }
}

TEST_F(ZipArchiveTest, EveryTruncationFailsCleanly)
{
    // Cut the archive at many lengths and read everything that still opens.
    const Bytes good = ReadFixture("zip-tool.zip");
    for (size_t length = 1; length < good.size(); length += 997) {
        const Bytes data(good.begin(), good.begin() + length);
        uint32_t result = 0;
        auto archive = ZipArchive::Open(data.data(), data.size(), "", result);
        if (!archive) {
            EXPECT_EQ(result, ZipArchive::kCannotOpen);
            continue;
        }
        for (uint32_t i = 0; i < archive->GetEntryCount(); ++i) {
            Bytes buffer(4 * 1024 * 1024);
            const uint32_t status = archive->UnzipToMemory(i, buffer.data(), buffer.size());
            EXPECT_TRUE(status == ZipArchive::kCorrupt || status == ZipArchive::kInflateFailed)
                << status;
        }
    }
}

TEST_F(ZipArchiveTest, EntryInformationNamesAreSanitised)
{
    const Bytes data = ReadFixture("sanitise.zip");
    auto archive = Open(data);
    const std::vector<std::pair<std::string, std::wstring>> names = {
        {"C:/abs/x.txt", L"abs/x.txt"},       {"/lead.txt", L"lead.txt"},
        {"x\\..\\y.txt", L"y.txt"},           {"dir/../z.txt", L"z.txt"},
        {"D:\\\\d:/twice.txt", L"twice.txt"}, {"plain/name.txt", L"plain/name.txt"},
    };
    for (const auto& [stored, sanitised] : names) {
        uint32_t index = 0;
        ASSERT_EQ(archive->FindEntry(stored, index), ZipArchive::kOk) << stored;
        ZipEntryInfo info;
        ASSERT_EQ(archive->GetEntryInfo(index, info), ZipArchive::kOk);
        EXPECT_EQ(info.name, sanitised) << stored;
        uint32_t other = 0;
        if (ui::TextEncoding::WideToUtf8(sanitised) != stored) {
            EXPECT_EQ(archive->FindEntry(ui::TextEncoding::WideToUtf8(sanitised), other),
                      ZipArchive::kNotFound);
        }
    }
}

} // namespace
