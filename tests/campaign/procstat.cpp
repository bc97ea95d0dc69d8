// procstat: prints the figures of running processes, for the campaign
// scripts that watch the panel from outside.
//   procstat.exe NAME.exe   one line per process of that image name:
//   pid=N handles=N private_kb=N cpu_ms=N
#include "tests/campaign/ProcessFigures.h"

#include <tlhelp32.h>

#include <cstdio>
#include <cwchar>

int wmain(int argc, wchar_t** argv)
{
    if (argc != 2) {
        std::fwprintf(stderr, L"usage: procstat NAME.exe\n");
        return 2;
    }
    HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return 1;
    int found = 0;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof(entry);
    for (BOOL more = ::Process32FirstW(snapshot, &entry); more;
         more = ::Process32NextW(snapshot, &entry)) {
        if (_wcsicmp(entry.szExeFile, argv[1]) != 0)
            continue;
        HANDLE process =
            ::OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, entry.th32ProcessID);
        if (process == nullptr)
            continue;
        const campaign::ProcessFigures figures = campaign::MeasureProcess(process);
        ::CloseHandle(process);
        std::printf("pid=%lu handles=%u private_kb=%llu cpu_ms=%llu\n", entry.th32ProcessID,
                    figures.handles, static_cast<unsigned long long>(figures.privateBytes / 1024),
                    static_cast<unsigned long long>(figures.cpuTime100ns / 10000));
        ++found;
    }
    ::CloseHandle(snapshot);
    return found > 0 ? 0 : 1;
}
