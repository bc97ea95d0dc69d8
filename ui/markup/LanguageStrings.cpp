#include "ui/markup/LanguageStrings.h"

#include "ui/markup/TextEncoding.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <type_traits>
#include <vector>

namespace ui {
namespace {

// Spaces and code units 0 to 29 (tab, carriage return, line feed among
// them) are insignificant at both ends of a line and of each token.
bool IsTrimmed(wchar_t c)
{
    return c == L' ' || static_cast<std::make_unsigned_t<wchar_t>>(c) <= 29;
}

std::wstring_view Trim(std::wstring_view text)
{
    while (!text.empty() && IsTrimmed(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsTrimmed(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

// A UTF-8 byte-order mark in front of the first line would otherwise
// become part of that line's id.
std::string_view WithoutByteOrderMark(std::string_view text)
{
    if (text.size() >= 3 && text.substr(0, 3) == "\xEF\xBB\xBF") {
        text.remove_prefix(3);
    }
    return text;
}

} // namespace

bool LanguageStrings::LoadFromFile(const std::wstring& path)
{
    m_strings.clear();
    std::ifstream file(std::filesystem::path(path), std::ios::binary);
    if (!file) {
        return false;
    }
    const std::vector<char> bytes((std::istreambuf_iterator<char>(file)),
                                  std::istreambuf_iterator<char>());
    // Lines of any length; a NUL byte ends the text of its line.
    const std::string_view text = WithoutByteOrderMark({bytes.data(), bytes.size()});
    size_t start = 0;
    while (start < text.size()) {
        const size_t end = std::min(text.find('\n', start), text.size());
        const std::string_view line = text.substr(start, end - start);
        AddLine(line.substr(0, line.find('\0')));
        start = end + 1;
    }
    return true;
}

bool LanguageStrings::LoadFromMemory(const uint8_t* data, size_t size)
{
    const std::string_view text =
        WithoutByteOrderMark({reinterpret_cast<const char*>(data), data == nullptr ? 0 : size});
    size_t start = 0;
    while (start < text.size()) {
        const size_t end = text.find_first_of(std::string_view("\n\0", 2), start);
        AddLine(text.substr(start,
                            end == std::string_view::npos ? std::string_view::npos : end - start));
        if (end == std::string_view::npos) {
            break;
        }
        start = end + 1;
    }
    return true;
}

void LanguageStrings::AddLine(std::string_view utf8Line)
{
    const std::wstring wide = TextEncoding::Utf8ToWide(utf8Line);
    const std::wstring_view line = Trim(wide);
    if (line.empty()) {
        return;
    }
    // Runs of "=" separate tokens; empty tokens do not count.
    std::wstring_view tokens[2];
    size_t count = 0;
    size_t pos = 0;
    while (pos < line.size()) {
        const size_t end = std::min(line.find(L'=', pos), line.size());
        if (end > pos) {
            if (count == 2) {
                return;
            }
            tokens[count++] = line.substr(pos, end - pos);
        }
        pos = end + 1;
    }
    if (count != 2) {
        return;
    }
    const std::wstring_view id = Trim(tokens[0]);
    if (id.empty() || id.find(L';') != std::wstring_view::npos) {
        return;
    }
    m_strings[std::wstring(id)] = std::wstring(Trim(tokens[1]));
}

std::wstring LanguageStrings::GetStringById(const std::wstring& id) const
{
    const auto found = m_strings.find(id);
    if (found == m_strings.end()) {
        return {};
    }
    std::wstring text;
    text.reserve(found->second.size());
    const std::wstring& stored = found->second;
    for (size_t i = 0; i < stored.size(); ++i) {
        if (stored[i] == L'\\' && i + 1 < stored.size() &&
            (stored[i + 1] == L'n' || stored[i + 1] == L'r')) {
            text.push_back(stored[i + 1] == L'n' ? L'\n' : L'\r');
            ++i;
        } else {
            text.push_back(stored[i]);
        }
    }
    return text;
}

} // namespace ui
