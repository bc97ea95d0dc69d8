#include "ui/core/StateAttributeName.h"

namespace ui {

std::optional<ControlState> StateInAttributeName(std::wstring_view name, std::wstring_view prefix,
                                                 std::wstring_view suffix)
{
    if (name.size() <= prefix.size() + suffix.size() || !name.starts_with(prefix) ||
        !name.ends_with(suffix))
        return std::nullopt;
    const std::wstring_view state =
        name.substr(prefix.size(), name.size() - prefix.size() - suffix.size());
    if (state == L"normal")
        return kControlStateNormal;
    if (state == L"hot")
        return kControlStateHot;
    if (state == L"pushed")
        return kControlStatePushed;
    if (state == L"disabled")
        return kControlStateDisabled;
    return std::nullopt;
}

} // namespace ui
