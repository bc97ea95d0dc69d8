#include "panel/RecentScenes.h"

#include <algorithm>
#include <cwctype>

namespace {

bool SamePath(std::wstring_view a, std::wstring_view b)
{
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(),
                      [](wchar_t x, wchar_t y) { return std::towlower(x) == std::towlower(y); });
}

} // namespace

void RecentScenes::Load(std::wstring_view text)
{
    m_paths.clear();
    size_t start = 0;
    while (start < text.size() && m_paths.size() < kLimit) {
        const size_t end = std::min(text.find(L'\n', start), text.size());
        std::wstring_view line = text.substr(start, end - start);
        if (!line.empty() && line.back() == L'\r')
            line.remove_suffix(1);
        const bool known = std::any_of(m_paths.begin(), m_paths.end(),
                                       [&](const std::wstring& p) { return SamePath(p, line); });
        if (!line.empty() && !known)
            m_paths.emplace_back(line);
        start = end + 1;
    }
}

std::wstring RecentScenes::Text() const
{
    std::wstring text;
    for (const std::wstring& path : m_paths)
        text += path + L"\n";
    return text;
}

void RecentScenes::Add(std::wstring_view path)
{
    // A line break would split the entry into two when read back.
    if (path.empty() || path.find_first_of(L"\r\n") != std::wstring_view::npos)
        return;
    Remove(path);
    m_paths.insert(m_paths.begin(), std::wstring(path));
    if (m_paths.size() > kLimit)
        m_paths.resize(kLimit);
}

void RecentScenes::Remove(std::wstring_view path)
{
    std::erase_if(m_paths, [&](const std::wstring& p) { return SamePath(p, path); });
}
