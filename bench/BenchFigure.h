#pragma once

#include <cmath>
#include <cstdio>

// One figure as a line that scripts read (scripts/campaign/perf.sh):
//   figure|<name>|<value>|<baseline>|<unit>
// The baseline is the same quantity measured for the bare counterpart in the
// same run; a figure without one leaves it empty (pass NAN).
inline void PrintFigure(const char* name, double value, double baseline, const char* unit)
{
    if (std::isnan(baseline))
        std::printf("figure|%s|%.4f||%s\n", name, value, unit);
    else
        std::printf("figure|%s|%.4f|%.4f|%s\n", name, value, baseline, unit);
    std::fflush(stdout);
}
