// Checks what the built program carries: its icon and the skin archive.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace {

std::wstring ProgramPath()
{
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring path = self;
    path.resize(path.find_last_of(L"\\/") + 1);
    return path + L"KorVaneControls.exe";
}

uint32_t Read32(const uint8_t* p)
{
    return p[0] | p[1] << 8 | p[2] << 16 | uint32_t(p[3]) << 24;
}
uint16_t Read16(const uint8_t* p)
{
    return uint16_t(p[0] | p[1] << 8);
}

struct ZipEntry {
    std::string name;
    uint16_t method = 0;
};

// Lists the central directory of a ZIP image; empty when it is not one.
std::vector<ZipEntry> ListZip(const uint8_t* data, size_t size)
{
    std::vector<ZipEntry> entries;
    if (size < 22)
        return entries;
    size_t eocd = size - 22;
    while (eocd > 0 && Read32(data + eocd) != 0x06054b50)
        --eocd;
    if (Read32(data + eocd) != 0x06054b50)
        return entries;
    uint16_t count = Read16(data + eocd + 10);
    size_t at = Read32(data + eocd + 16);
    for (uint16_t i = 0; i < count && at + 46 <= size; ++i) {
        if (Read32(data + at) != 0x02014b50)
            break;
        uint16_t name_length = Read16(data + at + 28);
        ZipEntry entry;
        entry.method = Read16(data + at + 10);
        entry.name.assign(reinterpret_cast<const char*>(data + at + 46), name_length);
        entries.push_back(entry);
        at += 46 + name_length + Read16(data + at + 30) + Read16(data + at + 32);
    }
    return entries;
}

class ProgramResources : public testing::Test {
protected:
    void SetUp() override
    {
        m_module = LoadLibraryExW(ProgramPath().c_str(), nullptr,
                                  LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
        ASSERT_NE(m_module, nullptr) << "cannot open the program file";
    }
    void TearDown() override
    {
        if (m_module)
            FreeLibrary(m_module);
    }
    HMODULE m_module = nullptr;
};

TEST_F(ProgramResources, IconHasSeveralSizes)
{
    HRSRC group = FindResourceW(m_module, MAKEINTRESOURCEW(132), RT_GROUP_ICON);
    ASSERT_NE(group, nullptr);
    const auto* dir = static_cast<const uint8_t*>(LockResource(LoadResource(m_module, group)));
    ASSERT_NE(dir, nullptr);
    EXPECT_GE(Read16(dir + 4), 4) << "the icon should carry small and large images";
    HICON small_icon =
        static_cast<HICON>(LoadImageW(m_module, MAKEINTRESOURCEW(132), IMAGE_ICON, 16, 16, 0));
    HICON large_icon =
        static_cast<HICON>(LoadImageW(m_module, MAKEINTRESOURCEW(132), IMAGE_ICON, 48, 48, 0));
    EXPECT_NE(small_icon, nullptr);
    EXPECT_NE(large_icon, nullptr);
    if (small_icon)
        DestroyIcon(small_icon);
    if (large_icon)
        DestroyIcon(large_icon);
}

TEST_F(ProgramResources, ThemeIsZipWithDeflatedSkin)
{
    HRSRC theme = FindResourceW(m_module, MAKEINTRESOURCEW(134), L"THEME");
    ASSERT_NE(theme, nullptr);
    DWORD size = SizeofResource(m_module, theme);
    const auto* data = static_cast<const uint8_t*>(LockResource(LoadResource(m_module, theme)));
    ASSERT_NE(data, nullptr);
    ASSERT_GE(size, 4u);
    EXPECT_EQ(Read32(data), 0x04034b50u) << "THEME should start with a ZIP local header";

    bool global_found = false;
    bool strings_found = false;
    for (const ZipEntry& entry : ListZip(data, size)) {
        if (entry.name == "resources/themes/default/global.xml") {
            global_found = true;
            EXPECT_EQ(entry.method, 8) << "skin files are stored deflated";
        }
        if (entry.name == "resources/lang/zh_CN/gdstrings.ini")
            strings_found = true;
    }
    EXPECT_TRUE(global_found);
    EXPECT_TRUE(strings_found);
}

TEST_F(ProgramResources, VersionAndManifestPresent)
{
    EXPECT_NE(FindResourceW(m_module, MAKEINTRESOURCEW(1), RT_VERSION), nullptr);
    EXPECT_NE(FindResourceW(m_module, MAKEINTRESOURCEW(1), RT_MANIFEST), nullptr);
}

// Under Wine a thread's whole stack reserve counts as committed private
// memory, and the program runs four threads while connected.
TEST_F(ProgramResources, ThreadStacksReserveOneMegabyte)
{
    HANDLE file = CreateFileW(ProgramPath().c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    uint8_t header[1024] = {};
    DWORD read = 0;
    ReadFile(file, header, sizeof(header), &read, nullptr);
    CloseHandle(file);
    ASSERT_EQ(read, sizeof(header));
    const uint32_t pe = Read32(header + 0x3C);
    ASSERT_LT(pe + 24 + 80, sizeof(header));
    ASSERT_EQ(Read32(header + pe), 0x00004550u);
    const uint8_t* optional = header + pe + 24;
    ASSERT_EQ(Read16(optional), 0x20Bu) << "a 64-bit image";
    uint64_t reserve = 0;
    std::memcpy(&reserve, optional + 72, sizeof(reserve));
    EXPECT_EQ(reserve, 1u << 20);
}

} // namespace
