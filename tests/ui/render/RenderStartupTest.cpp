#include "ui/markup/GlobalManager.h"
#include "ui/render/IRenderFactory.h"

#include "tests/ui/render/RenderTestSupport.h"

#include <gtest/gtest.h>

#include <fstream>
#include <filesystem>

namespace ui {
namespace {

// Start-up installs the render factory and starts GDI+ around loading the
// skin's global resources; shut-down takes both away again.
TEST(RenderStartupTest, StartupInstallsTheFactoryAndShutdownRemovesIt)
{
    const std::filesystem::path root =
        std::filesystem::temp_directory_path() /
        ("render_startup_test_" + std::to_string(::GetCurrentProcessId()));
    std::filesystem::create_directories(root / "themes" / "default");
    std::ofstream(root / "themes" / "default" / "global.xml")
        << "<Global><Font id=\"startup_font\" name=\"Tahoma\" size=\"20\" default=\"true\"/>"
           "<TextColor name=\"startup_green\" value=\"#ff00ff00\"/></Global>";

    GlobalManager::CloseArchive();
    GlobalManager::Startup(root.wstring() + L"\\", {}, L"themes\\default", L"lang\\zh_CN");
    IRenderFactory* factory = GlobalManager::GetRenderFactory();
    ASSERT_NE(factory, nullptr);
    EXPECT_EQ(GlobalManager::GetDefaultFontId(), L"startup_font");

    std::unique_ptr<IRenderContext> context = factory->CreateRenderContext();
    ASSERT_TRUE(context->Resize(60, 30, true));
    context->DrawColor(UiRect(0, 0, 10, 10), L"startup_green", 255);
    EXPECT_EQ(test::PixelAt(*context, 5, 5).g, 255);
    const UiRect text = context->MeasureText(L"Wide text", L"", kTextSingleLine, -1);
    EXPECT_GT(text.Height(), 15);
    context.reset();

    GlobalManager::Shutdown();
    EXPECT_EQ(GlobalManager::GetRenderFactory(), nullptr);
    EXPECT_EQ(GlobalManager::GetFont(L""), nullptr);
    std::filesystem::remove_all(root);
}

} // namespace
} // namespace ui
