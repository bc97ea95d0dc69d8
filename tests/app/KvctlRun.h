#pragma once

#include <windows.h>

#include <string>

// Runs kvctl.exe (built beside the test) with a command line, inheriting the
// test's environment, and collects its exit code and both output streams.
struct KvctlRun {
    DWORD exitCode = 0xFFFFFFFF; // unchanged when it could not be run or did not end
    std::string out;
    std::string err;

    explicit KvctlRun(const std::wstring& arguments);
};
