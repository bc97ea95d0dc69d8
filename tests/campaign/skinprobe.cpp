// skinprobe: the Windows side of the hostile-skin campaign.
//   skinprobe.exe theme SOURCE.exe TARGET.exe ARCHIVE
//       copies the program and replaces its THEME/134 resource with the
//       bytes of ARCHIVE ("-" removes the resource).
//   skinprobe.exe run PROGRAM.exe SECONDS
//       starts the program in the current folder and watches it for at most
//       SECONDS: message boxes are read and closed, a main window must
//       answer; then "PROGRAM.exe -exitall" must end it. Prints one line:
//       outcome=window|message|exit|crash|hang ms=N exit=0xN text=...
#include "tests/campaign/ThemeResource.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

namespace {

constexpr DWORD kPollMs = 50;
constexpr UINT kAnswerMs = 2000;
constexpr DWORD kExitWaitMs = 10000;
// After a message box the program has this long to end or show its window.
constexpr ULONGLONG kAfterMessageMs = 10000;
constexpr UINT kStaticTextId = 0xFFFF;

int ReplaceTheme(const wchar_t* source, const wchar_t* target, const wchar_t* archive)
{
    std::vector<char> bytes;
    if (std::wcscmp(archive, L"-") != 0) {
        FILE* file = _wfopen(archive, L"rb");
        if (file == nullptr) {
            std::fwprintf(stderr, L"cannot read %ls\n", archive);
            return 1;
        }
        char chunk[65536];
        for (size_t n; (n = std::fread(chunk, 1, sizeof chunk, file)) > 0;)
            bytes.insert(bytes.end(), chunk, chunk + n);
        std::fclose(file);
    }
    if (!campaign::CopyWithTheme(source, target, bytes)) {
        std::fwprintf(stderr, L"cannot write %ls\n", target);
        return 1;
    }
    return 0;
}

struct Found {
    DWORD processId = 0;
    HWND box = nullptr;
    HWND main = nullptr;
};

BOOL CALLBACK FindWindows(HWND window, LPARAM param)
{
    auto& found = *reinterpret_cast<Found*>(param);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    if (owner != found.processId)
        return TRUE;
    wchar_t className[64] = {};
    ::GetClassNameW(window, className, 64);
    if (std::wcscmp(className, L"#32770") == 0 && ::IsWindowVisible(window))
        found.box = window;
    else if (std::wcscmp(className, L"KorVaneControls") == 0)
        found.main = window;
    return TRUE;
}

HANDLE Start(const std::wstring& commandLine)
{
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    std::wstring line = commandLine;
    if (!::CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &startup, &info))
        return nullptr;
    ::CloseHandle(info.hThread);
    return info.hProcess;
}

bool Answers(HWND window)
{
    DWORD_PTR result = 0;
    return ::SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kAnswerMs, &result) != 0;
}

// Text for the report: one line, no pipes (it lands in a Markdown table).
std::wstring Flatten(std::wstring text)
{
    for (wchar_t& c : text) {
        if (c == L'\r' || c == L'\n' || c == L'|')
            c = L' ';
    }
    return text;
}

int Watch(const wchar_t* program, int seconds)
{
    const std::wstring quoted = std::wstring(L"\"") + program + L"\"";
    HANDLE process = Start(quoted);
    if (process == nullptr) {
        std::printf("outcome=error ms=0 exit=0x0 text=cannot start\n");
        return 1;
    }
    const ULONGLONG start = ::GetTickCount64();
    ULONGLONG deadline = start + static_cast<ULONGLONG>(seconds) * 1000;
    Found found;
    found.processId = ::GetProcessId(process);
    std::wstring messages;
    const char* outcome = "hang";
    ULONGLONG decided = 0;
    bool window = false;
    while (::GetTickCount64() < deadline) {
        if (::WaitForSingleObject(process, kPollMs) == WAIT_OBJECT_0)
            break;
        found.box = nullptr;
        found.main = nullptr;
        ::EnumWindows(FindWindows, reinterpret_cast<LPARAM>(&found));
        if (found.box != nullptr) {
            wchar_t text[512] = {};
            wchar_t caption[128] = {};
            ::GetDlgItemTextW(found.box, kStaticTextId, text, 512);
            ::GetWindowTextW(found.box, caption, 128);
            if (!messages.empty())
                messages += L" / ";
            messages += Flatten(std::wstring(caption) + L": " + text);
            ::PostMessageW(found.box, WM_COMMAND, IDOK, 0);
            if (decided == 0)
                decided = ::GetTickCount64();
            deadline = std::min(deadline, ::GetTickCount64() + kAfterMessageMs);
            ::Sleep(300);
            continue;
        }
        if (found.main != nullptr && ::IsWindowVisible(found.main) && Answers(found.main)) {
            decided = ::GetTickCount64();
            // Some time to lay out and paint, then it must still answer.
            ::Sleep(1500);
            window = ::WaitForSingleObject(process, 0) == WAIT_TIMEOUT && Answers(found.main);
            break;
        }
    }

    DWORD exitCode = STILL_ACTIVE;
    bool ended = ::WaitForSingleObject(process, 0) == WAIT_OBJECT_0;
    if (!ended) {
        // Whatever state it is in, "-exitall" must end it.
        if (HANDLE exitAll = Start(quoted + L" -exitall")) {
            ::WaitForSingleObject(exitAll, kExitWaitMs);
            ::CloseHandle(exitAll);
        }
        ended = ::WaitForSingleObject(process, kExitWaitMs) == WAIT_OBJECT_0;
    }
    if (ended)
        ::GetExitCodeProcess(process, &exitCode);
    if (decided == 0)
        decided = ::GetTickCount64();

    if (ended && exitCode >= 0xC0000000u)
        outcome = "crash";
    else if (window && ended)
        outcome = "window";
    else if (!messages.empty() && ended)
        outcome = "message";
    else if (ended && !window)
        outcome = "exit";
    if (!ended)
        ::TerminateProcess(process, 0xDEAD);
    ::CloseHandle(process);
    std::printf("outcome=%s ms=%llu exit=0x%lX text=%ls\n", outcome,
                static_cast<unsigned long long>(decided - start), exitCode, messages.c_str());
    return 0;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc == 5 && std::wcscmp(argv[1], L"theme") == 0)
        return ReplaceTheme(argv[2], argv[3], argv[4]);
    if (argc == 4 && std::wcscmp(argv[1], L"run") == 0)
        return Watch(argv[2], _wtoi(argv[3]));
    std::fwprintf(stderr,
                  L"usage: skinprobe theme SOURCE.exe TARGET.exe ARCHIVE|-\n"
                  L"       skinprobe run PROGRAM.exe SECONDS\n");
    return 2;
}
