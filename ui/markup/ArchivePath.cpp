#include "ui/markup/ArchivePath.h"

#include <string_view>
#include <vector>

namespace ui {

std::wstring ArchivePath::Normalize(const std::wstring& path)
{
    std::wstring slashed = path;
    for (wchar_t& c : slashed) {
        if (c == L'\\') {
            c = L'/';
        }
    }

    // Kept segments as (start, length) in `slashed`, each followed there by
    // a "/" unless it is the final segment of the path.
    struct Segment {
        size_t start = 0;
        size_t length = 0;
    };
    std::vector<Segment> kept;
    size_t start = 0;
    while (start < slashed.size()) {
        size_t end = slashed.find(L'/', start);
        const bool last = (end == std::wstring::npos);
        if (last) {
            end = slashed.size();
        }
        const std::wstring_view segment(slashed.data() + start, end - start);
        if (segment.empty() || (!last && segment == L".")) {
            // "//", a leading "/" and "./" vanish.
        } else if (!last && segment == L"..") {
            if (!kept.empty()) {
                kept.pop_back();
            }
        } else {
            kept.push_back({start, end - start});
        }
        start = end + 1;
    }

    std::wstring result;
    result.reserve(slashed.size());
    for (const Segment& segment : kept) {
        result.append(slashed, segment.start, segment.length);
        if (segment.start + segment.length < slashed.size()) {
            result.push_back(L'/');
        }
    }
    return result;
}

} // namespace ui
