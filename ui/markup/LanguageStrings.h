#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>

namespace ui {

// The language string table: "id = text" lines of UTF-8, ";" comments.
// Lookups expand the escapes \r and \n; an absent id gives "".
class LanguageStrings {
public:
    // Clears the table first; false when the file cannot be opened.
    bool LoadFromFile(const std::wstring& path);
    // Adds to the table; lines end at a line feed or a NUL byte.
    bool LoadFromMemory(const uint8_t* data, size_t size);
    std::wstring GetStringById(const std::wstring& id) const;
    void Clear() { m_strings.clear(); }

private:
    void AddLine(std::string_view utf8Line);

    std::map<std::wstring, std::wstring> m_strings;
};

} // namespace ui
