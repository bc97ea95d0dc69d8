#pragma once

#include <string>
#include <string_view>

#include "panel/SceneDocument.h"

// Scene files on disk. Messages name the file and what is wrong with it.
namespace SceneFile {

SceneDocument::ReadResult Read(const std::wstring& path);
// Writes the scene, titled after the file's name, in place of any file
// there; an existing file is replaced only once the new one is complete.
// Returns what went wrong, or "" when it is written.
std::wstring Write(const std::wstring& path, const Scene& scene);
// "Tracking" for "C:\Scenes\Tracking.kvscene".
std::wstring Title(std::wstring_view path);

} // namespace SceneFile
