#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// The scenes used last, most recent first, for one-click recall: full
// paths, each at most once (compared without regard to case, as Windows
// paths are), at most kLimit of them. Stored as one path per line.
class RecentScenes {
public:
    static constexpr size_t kLimit = 5;

    void Load(std::wstring_view text);
    std::wstring Text() const;

    // Puts the path first.
    void Add(std::wstring_view path);
    void Remove(std::wstring_view path);
    const std::vector<std::wstring>& Paths() const { return m_paths; }

private:
    std::vector<std::wstring> m_paths;
};
