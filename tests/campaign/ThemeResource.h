#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace campaign {

// Copies a program and gives the copy another skin archive: its THEME/134
// resource holds archive, or is left out when archive is empty. False
// when the copy or its resources cannot be written.
bool CopyWithTheme(const std::wstring& source, const std::wstring& target,
                   const std::vector<char>& archive);

} // namespace campaign
