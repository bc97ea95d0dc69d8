#include "ui/markup/GlobalManager.h"

#include <windows.h>

#include <gtest/gtest.h>

namespace ui::test {
namespace {

// The UI resources of the test program: the test skin archive embedded as
// the THEME resource, opened and started as the program does it.
class CoreEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        ASSERT_EQ(GlobalManager::OpenThemeResource(::GetModuleHandleW(nullptr)), 0u);
        GlobalManager::Startup(L"coretest\\", {}, L"skin", L"lang");
    }
    void TearDown() override
    {
        GlobalManager::Shutdown();
        GlobalManager::CloseArchive();
    }
};

[[maybe_unused]] const auto* const g_environment =
    ::testing::AddGlobalTestEnvironment(new CoreEnvironment);

} // namespace
} // namespace ui::test
