// The console tool's command line: every NAME=VALUE is checked before
// anything could be sent, and one bad one leaves nothing to send.
#include <gtest/gtest.h>

#include "app/kvctl/KvctlArguments.h"

namespace {

using Command = KvctlArguments::Command;

KvctlArguments Parse(const std::vector<std::wstring>& words)
{
    return KvctlArguments::Parse(words);
}

TEST(KvctlArgumentsTest, ReadsEveryKindOfValue)
{
    const KvctlArguments set =
        Parse({L"set", L"input_mic1=-14dB", L"input_mic2=-3.5", L"output_master=MAX",
               L"input_guitar=min", L"output_ear_mute=on", L"output_ear_lock=off", L"mic2amp=9",
               L"device_HP=80", L"input_invert=OFF", L"--json"});
    ASSERT_EQ(set.error, L"");
    EXPECT_EQ(set.command, Command::kSet);
    EXPECT_TRUE(set.json);
    EXPECT_EQ(*set.changes.Find(L"input_mic1"), -14.0);
    EXPECT_EQ(*set.changes.Find(L"input_mic2"), -3.5);
    EXPECT_EQ(*set.changes.Find(L"output_master"), 0.0);
    EXPECT_EQ(*set.changes.Find(L"input_guitar"), -127.0);
    EXPECT_EQ(*set.changes.Find(L"output_ear_mute"), 1.0);
    EXPECT_EQ(*set.changes.Find(L"output_ear_lock"), 0.0);
    EXPECT_EQ(*set.changes.Find(L"mic2amp"), 9.0);
    EXPECT_EQ(*set.changes.Find(L"device_HP"), 80.0);
    EXPECT_EQ(*set.changes.Find(L"input_invert"), 0.0);
    EXPECT_EQ(set.names.front(), L"input_mic1");

    EXPECT_EQ(Parse({L"--help", L"set", L"nonsense"}).command, Command::kHelp);
    EXPECT_EQ(Parse({L"get", L"input_mic1", L"mic1amp"}).names.size(), 2u);
    EXPECT_EQ(Parse({L"load", L"C:\\scenes\\a b.kvscene"}).file, L"C:\\scenes\\a b.kvscene");
}

TEST(KvctlArgumentsTest, OneBadArgumentLeavesNothingToSend)
{
    const struct {
        std::vector<std::wstring> words;
        const wchar_t* problem;
    } cases[] = {
        {{}, L"no command"},
        {{L"mute"}, L"unknown command 'mute'"},
        {{L"set"}, L"at least one NAME=VALUE"},
        {{L"set", L"input_mic1=-6", L"input_mic9=-6"}, L"no control named 'input_mic9'"},
        {{L"set", L"input_mic1=-6", L"input_mic1"}, L"is not NAME=VALUE"},
        {{L"set", L"input_mic1=-6", L"input_mic1=-3"}, L"input_mic1 is given twice"},
        {{L"set", L"input_mic1=-6", L"output_ear_mute=maybe"}, L"is not on or off"},
        {{L"set", L"input_mic1=-6", L"input_mic2=-300dB"}, L"is not a level in dB"},
        {{L"set", L"input_mic1=-6", L"input_mic2=6 dB"}, L"is not a level in dB"},
        {{L"set", L"input_mic1=-6", L"device_HP=256"}, L"is not a level from 0 to 255"},
        {{L"set", L"input_mic1=-6", L"mic1amp=16"}, L"is not a gain step"},
        {{L"set", L"input_mic1=-6", L"input_48v=on"}, L"phantom power"},
        {{L"get", L"input_mic1", L"nothing"}, L"no control named 'nothing'"},
        {{L"save"}, L"exactly one FILE"},
        {{L"load", L"a", L"b"}, L"exactly one FILE"},
        {{L"status", L"now"}, L"takes no arguments"},
    };
    for (const auto& bad : cases) {
        const KvctlArguments parsed = Parse(bad.words);
        EXPECT_NE(parsed.error.find(bad.problem), std::wstring::npos)
            << "expected '" << std::wstring(bad.problem) << "' in: " << parsed.error;
        EXPECT_EQ(parsed.changes.Size(), 0u) << parsed.error;
    }
}

} // namespace
