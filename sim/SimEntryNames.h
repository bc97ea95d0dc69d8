#pragma once

#include <string_view>

// The names of the 75 entry points the simulated library exports.
namespace SimEntryNames {

bool IsEntryName(std::wstring_view name);

} // namespace SimEntryNames
