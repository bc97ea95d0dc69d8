#include "ui/markup/GlobalManager.h"
#include "ui/markup/MarkupDocument.h"
#include "ui/markup/WindowBuilder.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

using ui::GlobalManager;
using ui::MarkupDocument;

namespace {

class MarkupFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_folder = std::filesystem::temp_directory_path() /
                   (L"kv_markup_file_test_" + std::to_wstring(GetCurrentProcessId()));
        std::filesystem::create_directories(m_folder);
    }
    void TearDown() override
    {
        GlobalManager::CloseArchive();
        GlobalManager::SetResourcePath(L"");
        std::filesystem::remove_all(m_folder);
    }
    std::wstring Write(const std::wstring& name, const std::string& bytes)
    {
        const std::filesystem::path path = m_folder / name;
        std::ofstream(path, std::ios::binary) << bytes;
        return path.wstring();
    }

    std::filesystem::path m_folder;
    MarkupDocument m_document;
};

TEST_F(MarkupFileTest, FileRules)
{
    EXPECT_TRUE(m_document.LoadFromFile(Write(L"bom.xml", "\xEF\xBB\xBF<Window size=\"1,2\"/>")));
    EXPECT_STREQ(m_document.GetRoot().GetAttributeValue(L"size"), L"1,2");

    EXPECT_FALSE(m_document.LoadFromFile((m_folder / L"absent.xml").wstring()));
    EXPECT_STREQ(m_document.GetErrorMessage(), L"Error opening file");
    EXPECT_STREQ(m_document.GetErrorLocation(), L"");
    EXPECT_FALSE(m_document.LoadFromFile(Write(L"empty.xml", "")));
    EXPECT_STREQ(m_document.GetErrorMessage(), L"File is empty");

    std::string big = "<big>";
    big.resize(MarkupDocument::kMaxFileSize - 6, ' ');
    big += "</big>";
    EXPECT_TRUE(m_document.LoadFromFile(Write(L"limit.xml", big)));
    EXPECT_FALSE(m_document.LoadFromFile(Write(L"over.xml", big + " ")));
    EXPECT_STREQ(m_document.GetErrorMessage(), L"File too large");
    EXPECT_FALSE(m_document.GetRoot().IsValid());
}

TEST_F(MarkupFileTest, RelativePathsAreTakenUnderTheResourceRoot)
{
    Write(L"relative.xml", "<Relative/>");
    GlobalManager::SetResourcePath(m_folder.wstring());
    ASSERT_TRUE(m_document.LoadFromFile(L"relative.xml"));
    EXPECT_STREQ(m_document.GetRoot().GetName(), L"Relative");
}

TEST_F(MarkupFileTest, BuilderReadsMarkupArchiveAndDisk)
{
    std::ifstream file(std::string(KV_ZIP_FIXTURE_DIR) + "/skin.zip", std::ios::binary);
    const std::vector<uint8_t> skin((std::istreambuf_iterator<char>(file)),
                                    std::istreambuf_iterator<char>());
    ASSERT_EQ(GlobalManager::OpenArchive(skin.data(), skin.size(), ""), 0u);
    GlobalManager::SetResourcePath(L"resources\\themes\\default\\");

    ui::WindowBuilder builder;
    ASSERT_TRUE(builder.LoadLayout(L"<Inline/>"));
    EXPECT_STREQ(builder.GetRoot().GetName(), L"Inline");
    ASSERT_TRUE(builder.LoadLayout(L"ControlPanel\\MainForm.xml"));
    EXPECT_STREQ(builder.GetRoot().GetAttributeValue(L"size"), L"800,600");
    // An archive document keeps its byte-order mark, unlike a file.
    EXPECT_FALSE(builder.LoadLayout(L"bom.xml"));
    EXPECT_STREQ(builder.GetDocument().GetErrorMessage(), L"Expected start tag");

    // A layout the archive does not hold comes from disk under the root.
    Write(L"OnlyOnDisk.xml", "<Window><VBox/></Window>");
    GlobalManager::SetResourcePath(m_folder.wstring());
    ASSERT_TRUE(builder.LoadLayout(L"OnlyOnDisk.xml"));
    EXPECT_STREQ(builder.GetRoot().GetChild().GetName(), L"VBox");
    EXPECT_FALSE(builder.LoadLayout(L"Nowhere.xml"));
    EXPECT_STREQ(builder.GetDocument().GetErrorMessage(), L"Error opening file");
}

} // namespace
