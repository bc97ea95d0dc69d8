#include "ui/markup/ImageScaleSet.h"

#include <algorithm>

namespace ui {

const std::vector<int>& ImageScaleSet::Scales()
{
    static const std::vector<int> scales = {125, 150, 175, 200};
    return scales;
}

std::wstring ImageScaleSet::VariantName(const std::wstring& name, int scale)
{
    if (scale == 100)
        return name;
    const std::wstring suffix = L"@" + std::to_wstring(scale);
    const size_t folder = name.find_last_of(L"/\\");
    const size_t dot = name.find_last_of(L'.');
    if (dot == std::wstring::npos || (folder != std::wstring::npos && dot < folder))
        return name + suffix;
    return name.substr(0, dot) + suffix + name.substr(dot);
}

std::vector<int> ImageScaleSet::Candidates(int scale)
{
    std::vector<int> result;
    if (scale <= 100)
        return result;
    for (const int set : Scales()) {
        if (set >= scale)
            result.push_back(set);
    }
    for (auto set = Scales().rbegin(); set != Scales().rend(); ++set) {
        if (*set < scale)
            result.push_back(*set);
    }
    return result;
}

} // namespace ui
