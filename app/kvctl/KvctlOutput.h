#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "panel/Scene.h"

// What the console tool prints: plain "NAME=VALUE" lines, or one JSON
// object with --json.
namespace KvctlOutput {

// The named controls the scene holds (every one, in the mixer's order, for
// no names).
std::wstring Values(const Scene& scene, const std::vector<std::wstring>& names, bool json);
// A JSON object of (key, JSON value) pairs in the order given.
std::wstring Object(const std::vector<std::pair<std::wstring, std::wstring>>& members);
// A JSON string literal.
std::wstring String(std::wstring_view text);
std::wstring Help();

} // namespace KvctlOutput
