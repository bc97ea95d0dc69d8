#pragma once

#include "ui/core/ControlState.h"

#include <optional>
#include <string_view>

namespace ui {

// The state named inside an attribute name between a prefix and a suffix:
// "selectedhotcolor" with "selected" and "color" is hot; "normal", "hot",
// "pushed" and "disabled" are the names.
std::optional<ControlState> StateInAttributeName(std::wstring_view name, std::wstring_view prefix,
                                                 std::wstring_view suffix);

} // namespace ui
