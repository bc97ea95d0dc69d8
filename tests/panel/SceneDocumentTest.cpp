// Scene files: what the writer writes comes back, and every kind of bad
// file is refused with a message naming the problem.
#include <gtest/gtest.h>

#include <string>

#include "panel/ChannelMap.h"
#include "panel/SceneDocument.h"

namespace {

// Every control a scene keeps, at distinct values.
Scene FullScene()
{
    Scene scene;
    double n = 0;
    for (const MixerControl& control : ChannelMap::Controls()) {
        n += 1;
        switch (control.kind) {
        case ControlKind::kFader:
            scene.Set(control.name, -n - 0.8125); // not a whole dB
            break;
        case ControlKind::kDeviceVolume:
            scene.Set(control.name, 40 + n);
            break;
        case ControlKind::kGain:
            scene.Set(control.name, 3 + static_cast<int>(n) % 7);
            break;
        case ControlKind::kPhantomPower:
            break;
        default:
            scene.Set(control.name, static_cast<int>(n) % 2);
        }
    }
    return scene;
}

SceneDocument::ReadResult Read(const std::string& text)
{
    return SceneDocument::Read(reinterpret_cast<const uint8_t*>(text.data()), text.size());
}

std::string Replace(std::string text, const std::string& from, const std::string& to)
{
    const size_t at = text.find(from);
    return at == std::string::npos ? text : text.replace(at, from.size(), to);
}

TEST(SceneDocumentTest, WhatIsWrittenReadsBackWithItsTitle)
{
    Scene scene = FullScene();
    scene.Set(L"input_48v", 1); // never part of a scene
    const std::string text = SceneDocument::Write(scene, L"Podcast & \"live\" <1>");
    EXPECT_EQ(text.find("input_48v"), std::string::npos);
    EXPECT_NE(text.find("title=\"Podcast &amp; &quot;live&quot; &lt;1&gt;\""), std::string::npos);
    EXPECT_NE(text.find("<fader name=\"input_master\" db=\"-7.8125\"/>"), std::string::npos);

    const SceneDocument::ReadResult read = Read(text);
    ASSERT_TRUE(read.scene.has_value()) << read.error;
    scene.Erase(L"input_48v");
    EXPECT_EQ(*read.scene, scene);
    EXPECT_EQ(read.title, L"Podcast & \"live\" <1>");

    // A newer minor format with things this version does not know still loads.
    std::string newer = Replace(text, "format=\"1.0\"", "format=\"1.7\" colour=\"blue\"");
    newer = Replace(newer, "</scene>",
                    "  <fader name=\"input_mic3\" db=\"-3\"/>\n  <mute name=\"input_48v\" "
                    "on=\"true\"/>\n  <phantom name=\"input_48v\" on=\"true\"/>\n"
                    "  <eq band=\"1\"><gain db=\"3\"/></eq>\n</scene>");
    const SceneDocument::ReadResult newerRead = Read("\xEF\xBB\xBF" + newer);
    ASSERT_TRUE(newerRead.scene.has_value()) << newerRead.error;
    EXPECT_EQ(*newerRead.scene, scene);
}

TEST(SceneDocumentTest, BadFilesAreRefusedWithTheirProblem)
{
    const std::string good = SceneDocument::Write(FullScene(), L"t");
    const std::string faderLine = "<fader name=\"input_mic1\" db=\"-8.8125\"/>";
    ASSERT_NE(good.find(faderLine), std::string::npos);
    const struct {
        std::string text;
        const wchar_t* problem;
    } cases[] = {
        {"", L"empty"},
        {std::string(SceneDocument::kMaxFileSize + 1, ' '), L"too large"},
        {std::string("\x89PNG\r\n\x1a\n\0\0", 10), L"not text"},
        {good.substr(0, good.find(faderLine) + 30), L"not well-formed"},
        {good.substr(0, good.rfind("</scene>")), L"does not end with </scene>"},
        {"<skin format=\"1.0\"></skin>", L"root element is <skin>"},
        {Replace(good, "format=\"1.0\" ", ""), L"no format version"},
        {Replace(good, "format=\"1.0\"", "format=\"2.0\""), L"format 2.0"},
        {Replace(good, "format=\"1.0\"", "format=\"one\""), L"not a version number"},
        {Replace(good, "db=\"-8.8125\"", "db=\"loud\""), L"input_mic1: \"loud\" is not a level"},
        {Replace(good, "db=\"-8.8125\"", "db=\"-200\""), L"outside -128..127.99 dB"},
        {Replace(good, "db=\"-8.8125\"", "db=\"1e3\""), L"is not a level"},
        {Replace(good, faderLine, "<mute name=\"input_mic1\" on=\"true\"/>"),
         L"input_mic1 is a fader, not a mute switch"},
        {Replace(good, faderLine, faderLine + faderLine), L"input_mic1 appears twice"},
        {Replace(good, faderLine, ""), L"input_mic1 is missing"},
        {Replace(good, faderLine, "<fader db=\"-3\"/>"), L"has no name"},
        {Replace(good, "db=\"-8.8125\"", "level=\"3\""), L"input_mic1 has no db value"},
        {Replace(good, "level=\"", "level=\"9"), L"not a level from 0 to 255"},
        {Replace(good, "step=\"", "step=\"1."), L"not a gain step"},
        {Replace(good, "on=\"false\"", "on=\"no\""), L"neither true nor false"},
    };
    for (const auto& bad : cases) {
        const SceneDocument::ReadResult read = Read(bad.text);
        EXPECT_FALSE(read.scene.has_value()) << bad.text.substr(0, 200);
        EXPECT_NE(read.error.find(bad.problem), std::wstring::npos)
            << "expected '" << std::wstring(bad.problem) << "' in: " << read.error;
    }
}

} // namespace
