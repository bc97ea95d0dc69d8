#pragma once

#include <optional>
#include <string>
#include <string_view>

// Decimal numbers as scene files and the console tool write them: an
// optional sign, digits and an optional fraction ("-14", "+6", "-7.8125");
// no exponent, no spaces, nothing else.
std::optional<double> ParseDecimal(std::wstring_view text);
// The shortest text with at most eight decimals, exact for 1/256 steps.
std::wstring FormatDecimal(double value);
