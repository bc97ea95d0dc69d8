#include "ui/markup/DpiManager.h"
#include "ui/markup/GlobalManager.h"
#include "ui/markup/WindowBuilder.h"
#include "ui/markup/ZipArchive.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

using ui::GlobalBlock;
using ui::GlobalManager;
using ui::ZipArchive;

namespace {

const std::vector<uint8_t>& SkinArchive()
{
    static const std::vector<uint8_t> bytes = [] {
        std::ifstream file(std::string(KV_ZIP_FIXTURE_DIR) + "/skin.zip", std::ios::binary);
        return std::vector<uint8_t>((std::istreambuf_iterator<char>(file)),
                                    std::istreambuf_iterator<char>());
    }();
    return bytes;
}

std::string BlockText(const GlobalBlock& block)
{
    const auto* bytes = reinterpret_cast<const char*>(block.Lock());
    std::string text(bytes, bytes != nullptr ? block.GetSize() : 0);
    block.Unlock();
    return text;
}

class GlobalManagerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_FALSE(SkinArchive().empty());
        ASSERT_EQ(GlobalManager::OpenArchive(SkinArchive().data(), SkinArchive().size(), ""),
                  ZipArchive::kOk);
        GlobalManager::SetResourcePath(L"resources\\themes\\default");
    }
    void TearDown() override
    {
        GlobalManager::CloseArchive();
        GlobalManager::Shutdown();
        ui::DpiManager::GetInstance().SetAdaptDpi(false);
        ui::DpiManager::GetInstance().SetScale(100);
    }
    static void ApplyGlobal(const std::wstring& markup)
    {
        ui::WindowBuilder builder;
        ASSERT_TRUE(builder.LoadLayout(markup));
        builder.ApplyGlobalRoot(builder.GetRoot());
    }
};

TEST_F(GlobalManagerTest, SkinPathsInAnyFormFindTheSameEntry)
{
    EXPECT_EQ(GlobalManager::GetResourcePath(), L"resources\\themes\\default\\");
    const std::string expected = BlockText(
        GlobalManager::GetData(L"resources\\themes\\default\\ControlPanel\\MainForm.xml"));
    EXPECT_EQ(expected.rfind("<?xml", 0), 0u);
    for (const wchar_t* path :
         {L"resources/themes/default/ControlPanel/MainForm.xml",
          L"resources/themes/default/controlpanel/mainform.xml",
          L"resources\\themes\\default\\ControlPanel\\..\\ControlPanel\\.\\MainForm.xml",
          L"resources//themes/default/ControlPanel/MainForm.xml"}) {
        EXPECT_EQ(BlockText(GlobalManager::GetData(path)), expected);
        EXPECT_EQ(GlobalManager::GetLastArchiveResult(), ZipArchive::kOk);
    }
    EXPECT_FALSE(GlobalManager::GetData(L"resources\\themes\\default\\Missing.xml"));
    EXPECT_EQ(GlobalManager::GetLastArchiveResult(), ZipArchive::kNotFound);
    EXPECT_FALSE(GlobalManager::GetData(L""));
    EXPECT_EQ(GlobalManager::GetLastArchiveResult(), ZipArchive::kNotFound); // unchanged

    EXPECT_EQ(GlobalManager::CloseArchive(), ZipArchive::kOk);
    EXPECT_FALSE(GlobalManager::IsArchiveInUse());
    EXPECT_EQ(GlobalManager::CloseArchive(), ZipArchive::kNoArchive);
    EXPECT_FALSE(GlobalManager::GetData(L"resources\\themes\\default\\ControlPanel\\MainForm.xml"));
    EXPECT_EQ(GlobalManager::OpenArchive(SkinArchive().data(), 10, ""), ZipArchive::kCannotOpen);
    EXPECT_FALSE(GlobalManager::IsArchiveInUse());
    // This test program carries no THEME resource.
    EXPECT_EQ(GlobalManager::OpenThemeResource(GetModuleHandleW(nullptr)), ZipArchive::kCannotOpen);
}

TEST_F(GlobalManagerTest, StartupReadsGlobalResourcesAndStringsFromTheArchive)
{
    GlobalManager::Startup(L"resources\\", {}, L"themes\\default", L"lang\\zh_CN");
    EXPECT_EQ(GlobalManager::GetResourcePath(), L"resources\\themes\\default\\");
    EXPECT_EQ(GlobalManager::GetLanguageFolder(), L"lang\\zh_CN");
    const ui::FontInfo* font = GlobalManager::GetFont(L"archive_font");
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(font->faceName, L"Arial");
    EXPECT_EQ(font->logFont.lfHeight, -13);
    EXPECT_EQ(GlobalManager::GetTextColor(L"white"), 0xFFFFFFFFu);
    EXPECT_EQ(GlobalManager::GetDefaultTextColor(), L"white");
    EXPECT_EQ(GlobalManager::GetDefaultDisabledTextColor(), L"textdefaultdisablecolor");
    const ui::LanguageStrings& strings = GlobalManager::GetLanguageStrings();
    EXPECT_EQ(strings.GetStringById(L"STRING_OK"), L"OK");
    EXPECT_EQ(strings.GetStringById(L"STRING_TWO_LINES"), L"first\nsecond");
}

TEST_F(GlobalManagerTest, FontTable)
{
    ApplyGlobal(
        L"<Global>"
        L"<Font id=\"dup\" name=\"Arial\" size=\"14\"/>"
        L"<Font id=\"dup\" name=\"Courier New\" size=\"20\" default=\"true\"/>"
        L"<Font id=\"nameless\" size=\"9\" default=\"true\"/>"
        L"<Font name=\"system\" size=\"12\" bold=\"true\" underline=\"true\" italic=\"TRUE\"/>"
        L"<Font name=\"Arial\"/>"
        L"</Global>");
    const ui::FontInfo* dup = GlobalManager::GetFont(L"dup");
    ASSERT_NE(dup, nullptr);
    EXPECT_EQ(dup->faceName, L"Arial");                   // the first font under an id stays
    EXPECT_EQ(GlobalManager::GetDefaultFontId(), L"dup"); // the second one's default flag counts
    EXPECT_EQ(GlobalManager::GetFont(L""), dup);
    EXPECT_EQ(GlobalManager::GetFont(L"nameless"), nullptr);
    EXPECT_EQ(GlobalManager::GetFont(L"missing"), nullptr);

    const ui::FontInfo* system = GlobalManager::GetFont(L"1"); // ids count the fonts already there
    ASSERT_NE(system, nullptr);
    EXPECT_EQ(system->faceName, L"\u5FAE\u8F6F\u96C5\u9ED1");
    EXPECT_EQ(std::wstring(system->logFont.lfFaceName), system->faceName);
    EXPECT_EQ(system->logFont.lfCharSet, DEFAULT_CHARSET);
    EXPECT_GE(system->logFont.lfWeight, FW_BOLD);
    EXPECT_TRUE(system->logFont.lfUnderline);
    EXPECT_FALSE(system->logFont.lfItalic);
    EXPECT_NE(system->handle.get(), nullptr);
    const ui::FontInfo* plain = GlobalManager::GetFont(L"2");
    ASSERT_NE(plain, nullptr);
    EXPECT_EQ(plain->size, 12);
    EXPECT_EQ(plain->logFont.lfHeight, -12);

    GlobalManager::RemoveAllFonts();
    EXPECT_EQ(GlobalManager::GetFont(L"dup"), nullptr);
}

TEST_F(GlobalManagerTest, TextColoursClassesAndRootAttributes)
{
    ApplyGlobal(
        L"<Global defaultfontcolor=\"black\" disabledfontcolor=\"grey\" linkfontcolor=\"x\">"
        L"<TextColor name=\"a\" value=\"#ff333333\"/>"
        L"<TextColor name=\"noHash\" value=\"ff333333\"/>"
        L"<TextColor name=\"a\" value=\"#80000000\"/>"
        L"<TextColor name=\"\" value=\"#ff000000\"/>"
        L"<TextColor name=\"empty\" value=\"\"/>"
        L"<Class name=\"caption\" height=\"30\" bkimage=\"x.png\" padding=\"1,2,3,4\"/>"
        L"<Class name=\"v\" _value=\"50\" value=\" width=&quot;10&quot;\" other=\"o\"/>"
        L"<Class name=\"lead\" value=\"\t\r\n  x=&quot;1&quot;\"/>"
        L"<Class name=\"lead\" value=\"y=&quot;2&quot;\"/>"
        L"<Class height=\"1\"/>"
        L"<Image name=\"ignored\"/><VBox/>"
        L"</Global>");
    EXPECT_EQ(GlobalManager::GetTextColor(L"a"), 0x80000000u);
    EXPECT_EQ(GlobalManager::GetTextColor(L"noHash"),
              0x0F333333u); // the first digit is taken for the "#"
    EXPECT_EQ(GlobalManager::GetTextColor(L"empty"), 0u);
    EXPECT_EQ(GlobalManager::GetTextColor(L"never_defined"), 0u);
    EXPECT_EQ(GlobalManager::GetDefaultTextColor(), L"black");
    EXPECT_EQ(GlobalManager::GetDefaultDisabledTextColor(), L"grey");

    EXPECT_EQ(GlobalManager::GetClassAttributes(L"caption"),
              L"height=\"30\" bkimage=\"x.png\" padding=\"1,2,3,4\"");
    EXPECT_EQ(GlobalManager::GetClassAttributes(L"v"), L"value=\"50\" width=\"10\" other=\"o\"");
    EXPECT_EQ(GlobalManager::GetClassAttributes(L"lead"), L"y=\"2\"");
    EXPECT_EQ(GlobalManager::GetClassAttributes(L""), L"");
    EXPECT_EQ(GlobalManager::GetClassAttributes(L"missing"), L"");

    // The leading control characters of a hand-written list go.
    ui::WindowBuilder builder;
    ASSERT_TRUE(builder.LoadLayout(L"<Class name=\"lead\" value=\"\t\r\n  x=&quot;1&quot;\"/>"));
    EXPECT_EQ(ui::WindowBuilder::GetClassAttributeList(builder.GetRoot()), L"x=\"1\"");
}

TEST_F(GlobalManagerTest, DpiScaleAppliesOnlyWhenAdapting)
{
    ui::DpiManager& dpi = ui::DpiManager::GetInstance();
    dpi.SetScale(150);
    EXPECT_EQ(dpi.ScaleInt(12), 12);
    dpi.SetAdaptDpi(true);
    EXPECT_EQ(dpi.ScaleInt(12), 18);
    RECT rect = {10, 20, 110, 70};
    dpi.ScaleRect(rect);
    EXPECT_EQ(rect.left, 15);
    EXPECT_EQ(rect.top, 30);
    EXPECT_EQ(rect.right, 165);
    EXPECT_EQ(rect.bottom, 105);
    GlobalManager::AddFont(L"scaled", L"Arial", 12, false, false, false, false);
    ASSERT_NE(GlobalManager::GetFont(L"scaled"), nullptr);
    EXPECT_EQ(GlobalManager::GetFont(L"scaled")->logFont.lfHeight, -18);
}

TEST_F(GlobalManagerTest, ShippedGlobalResourcesLoadFromDisk)
{
    GlobalManager::CloseArchive();
    GlobalManager::SetResourcePath(std::wstring(KV_SOURCE_DIR_W) + L"/resources/themes/default");
    ASSERT_TRUE(GlobalManager::LoadGlobalResources());
    EXPECT_EQ(GlobalManager::GetDefaultFontId(), L"system_12");
    const ui::FontInfo* font = GlobalManager::GetFont(L"");
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(font->faceName, L"\u5FAE\u8F6F\u96C5\u9ED1");
    for (const wchar_t* id : {L"system_14", L"system_22", L"system_bold_12", L"system_underline_12",
                              L"arial_12", L"arial_22"}) {
        EXPECT_NE(GlobalManager::GetFont(id), nullptr);
    }
    for (const wchar_t* name : {L"white", L"black", L"darkcolor", L"textdefaultcolor",
                                L"textdefaultdisablecolor", L"setting_back", L"splitline_level2"}) {
        EXPECT_NE(GlobalManager::GetTextColor(name) >> 24, 0u);
    }
    EXPECT_EQ(GlobalManager::GetDefaultTextColor(), L"textdefaultcolor");
}

} // namespace
