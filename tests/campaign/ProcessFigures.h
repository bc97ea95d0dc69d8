#pragma once

#include <windows.h>

#include <cstdint>

namespace campaign {

// What the campaigns watch of a process: its kernel handles, private
// committed memory and processor time used.
struct ProcessFigures {
    uint32_t handles = 0;
    uint64_t privateBytes = 0;
    uint64_t cpuTime100ns = 0;
};

// Measures a process opened with PROCESS_QUERY_INFORMATION | PROCESS_VM_READ.
// Handles are counted in the system's handle table, which every host
// answers (the per-process count is missing on some). Private memory is the
// sum of the committed private regions of the address space, counted the
// way the system counts "private bytes".
ProcessFigures MeasureProcess(HANDLE process);

} // namespace campaign
