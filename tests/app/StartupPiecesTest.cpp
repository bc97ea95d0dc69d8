#include "app/CommandLineOptions.h"
#include "app/DriverLoadMessage.h"
#include "app/ExitAllRequest.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(CommandLineOptions, WholeStringComparedWithoutCase)
{
    EXPECT_TRUE(CommandLineOptions(L"-hide").IsHide());
    EXPECT_TRUE(CommandLineOptions(L"-HIDE").IsHide());
    EXPECT_TRUE(CommandLineOptions(L"-ExitAll").IsExitAll());
    EXPECT_FALSE(CommandLineOptions(L"-ExitAll").IsHide());
    for (const wchar_t* normal : {L"", L"-hide -exitall", L"-hidex", L" -hide", L"hide"}) {
        const CommandLineOptions options(normal);
        EXPECT_FALSE(options.IsHide()) << normal;
        EXPECT_FALSE(options.IsExitAll()) << normal;
    }
}

// A scripted sequence of windows found by the request.
struct FakeWindows {
    explicit FakeWindows(std::vector<HWND> windows) : found(std::move(windows)) {}

    std::vector<HWND> found;
    size_t next = 0;
    std::vector<HWND> posted;
    DWORD slept = 0;

    ExitAllRequest::Platform Platform()
    {
        return {[this] { return next < found.size() ? found[next++] : found.back(); },
                [this](HWND window) { posted.push_back(window); },
                [this](DWORD ms) { slept += ms; }};
    }
};

HWND Handle(uintptr_t value)
{
    return reinterpret_cast<HWND>(value);
}

TEST(ExitAllRequest, EndsWhenTheWindowGoesAndGivesUpOnOneThatStays)
{
    FakeWindows none({nullptr});
    EXPECT_EQ(ExitAllRequest(none.Platform()).Run(), 0);
    EXPECT_TRUE(none.posted.empty());

    FakeWindows leaves({Handle(1), Handle(1), nullptr});
    EXPECT_EQ(ExitAllRequest(leaves.Platform()).Run(), 0);
    EXPECT_EQ(leaves.posted.size(), 2u);
    EXPECT_EQ(leaves.slept, 1000u);

    // Seen first, then 21 more times: 21 posts and the give-up code.
    FakeWindows stays({Handle(7)});
    EXPECT_EQ(ExitAllRequest(stays.Platform()).Run(), ExitAllRequest::kGaveUp);
    EXPECT_EQ(stays.posted.size(), 21u);
    EXPECT_EQ(stays.slept, 21u * 500u);

    // A new window (the instance restarted) starts the count again.
    std::vector<HWND> sequence(15, Handle(1));
    sequence.insert(sequence.end(), 30, Handle(2));
    FakeWindows restarted(sequence);
    EXPECT_EQ(ExitAllRequest(restarted.Platform()).Run(), ExitAllRequest::kGaveUp);
    EXPECT_EQ(restarted.posted.size(), 15u + 21u);
}

TEST(DriverLoadMessage, TextsForEachFailure)
{
    const DriverLoadMessage missing = DriverLoadMessageFor(2);
    EXPECT_STREQ(missing.text, L"Can't find driver!");
    EXPECT_STREQ(missing.caption, L"KORVANE");
    EXPECT_EQ(missing.style, static_cast<UINT>(MB_OK | MB_ICONERROR));
    EXPECT_STREQ(DriverLoadMessageFor(0xEE000060).text, L"The driver version mismatched!");
    const DriverLoadMessage other = DriverLoadMessageFor(ERROR_BAD_EXE_FORMAT);
    EXPECT_STREQ(other.text, L"_tWinMain");
    EXPECT_STREQ(other.caption, L"Load");
    // Not the status as style flags: a plain error box.
    EXPECT_EQ(other.style, static_cast<UINT>(MB_OK | MB_ICONERROR));
}

} // namespace
