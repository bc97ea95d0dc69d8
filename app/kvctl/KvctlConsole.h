#pragma once

#include <windows.h>

#include <string>

// The console tool's standard output and error: wide text for a console,
// UTF-8 for a file or a pipe.
class KvctlConsole {
public:
    void Out(const std::wstring& text) const { Write(::GetStdHandle(STD_OUTPUT_HANDLE), text); }
    void Err(const std::wstring& text) const { Write(::GetStdHandle(STD_ERROR_HANDLE), text); }

private:
    static void Write(HANDLE stream, const std::wstring& text);
};
