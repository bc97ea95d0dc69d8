#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "panel/Scene.h"

// A scene file: a small XML document naming its format version, with one
// element per control (<fader name=".." db=".."/>, <mute>, <lock>,
// <devicevolume>, <gain>, <invert>). Unknown elements, attributes and
// control names are ignored, so files of a newer minor format still load;
// phantom power is never part of a scene.
class SceneDocument {
public:
    static constexpr int kFormatMajor = 1;
    static constexpr int kFormatMinor = 0;
    // A scene is a few kilobytes; anything far larger is not one.
    static constexpr size_t kMaxFileSize = 64 * 1024;

    struct ReadResult {
        std::optional<Scene> scene; // holds every control a scene keeps
        std::wstring title;
        std::wstring error; // what is wrong with the file, when there is no scene
    };

    // Validates the whole file before anything of it is used.
    static ReadResult Read(const uint8_t* data, size_t size);
    // The file's bytes (UTF-8) for the controls a scene keeps.
    static std::string Write(const Scene& scene, std::wstring_view title);
    // Whether a scene keeps the control of that name.
    static bool Keeps(std::wstring_view control);
};
