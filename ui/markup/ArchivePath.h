#pragma once

#include <string>

namespace ui {

// Turns a skin path into the name of an archive entry: "\" becomes "/",
// empty segments and "./" go, and "../" removes the segment before it. A
// "../" with nothing before it cannot climb above the start of the name
// and is dropped. A final "." or ".." without a "/" is kept as written.
class ArchivePath {
public:
    static std::wstring Normalize(const std::wstring& path);
};

} // namespace ui
