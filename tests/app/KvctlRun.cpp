#include "tests/app/KvctlRun.h"

#include <thread>

namespace {

constexpr DWORD kTimeoutMs = 30000;

std::string ReadAll(HANDLE pipe)
{
    std::string text;
    char buffer[4096];
    DWORD read = 0;
    while (::ReadFile(pipe, buffer, sizeof buffer, &read, nullptr) && read != 0)
        text.append(buffer, read);
    return text;
}

} // namespace

KvctlRun::KvctlRun(const std::wstring& arguments)
{
    wchar_t path[MAX_PATH] = {};
    std::wstring program(path, ::GetModuleFileNameW(nullptr, path, MAX_PATH));
    program.erase(program.find_last_of(L"\\/") + 1);
    std::wstring line = L"\"" + program + L"kvctl.exe\" " + arguments;

    SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
    HANDLE outRead = nullptr;
    HANDLE outWrite = nullptr;
    HANDLE errRead = nullptr;
    HANDLE errWrite = nullptr;
    ::CreatePipe(&outRead, &outWrite, &inherit, 0);
    ::CreatePipe(&errRead, &errWrite, &inherit, 0);
    ::SetHandleInformation(outRead, HANDLE_FLAG_INHERIT, 0);
    ::SetHandleInformation(errRead, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = ::GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = outWrite;
    startup.hStdError = errWrite;
    PROCESS_INFORMATION process{};
    const BOOL started = ::CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE,
                                          CREATE_NO_WINDOW, nullptr, nullptr, &startup, &process);
    ::CloseHandle(outWrite);
    ::CloseHandle(errWrite);
    if (started) {
        // Both streams are drained at once, so a full pipe never blocks it.
        std::thread errors([&] { err = ReadAll(errRead); });
        out = ReadAll(outRead);
        errors.join();
        if (::WaitForSingleObject(process.hProcess, kTimeoutMs) == WAIT_OBJECT_0)
            ::GetExitCodeProcess(process.hProcess, &exitCode);
        else
            ::TerminateProcess(process.hProcess, 1);
        ::CloseHandle(process.hProcess);
        ::CloseHandle(process.hThread);
    }
    ::CloseHandle(outRead);
    ::CloseHandle(errRead);
}
