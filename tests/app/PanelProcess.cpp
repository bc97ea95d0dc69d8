#include "tests/app/PanelProcess.h"

std::wstring ProgramPath()
{
    wchar_t path[MAX_PATH] = {};
    std::wstring directory(path, ::GetModuleFileNameW(nullptr, path, MAX_PATH));
    directory.erase(directory.find_last_of(L"\\/") + 1);
    return directory + L"KorVaneControls.exe";
}

namespace {

struct WindowSearch {
    DWORD processId;
    const wchar_t* className;
    HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM data)
{
    auto& search = *reinterpret_cast<WindowSearch*>(data);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    wchar_t name[64] = {};
    ::GetClassNameW(window, name, 64);
    if (owner == search.processId && std::wstring(name) == search.className) {
        search.found = window;
        return FALSE;
    }
    return TRUE;
}

} // namespace

bool WaitFor(const std::function<bool()>& cond, DWORD timeoutMs)
{
    const DWORD start = ::GetTickCount();
    while (!cond()) {
        if (::GetTickCount() - start > timeoutMs)
            return false;
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            ::DispatchMessageW(&msg);
        ::Sleep(20);
    }
    return true;
}

PanelProcess::PanelProcess(const std::wstring& commandLine)
    : PanelProcess(commandLine, ProgramPath(), std::wstring())
{
}

PanelProcess::PanelProcess(const std::wstring& commandLine, const std::wstring& program,
                           const std::wstring& folder)
{
    std::wstring line = L"\"" + program + L"\"";
    if (!commandLine.empty())
        line += L" " + commandLine;
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    if (!::CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          folder.empty() ? nullptr : folder.c_str(), &startup, &m_process))
        m_process = PROCESS_INFORMATION{};
}

PanelProcess::~PanelProcess()
{
    if (!Started())
        return;
    if (::WaitForSingleObject(m_process.hProcess, 0) == WAIT_TIMEOUT) {
        ::TerminateProcess(m_process.hProcess, 1);
        ::WaitForSingleObject(m_process.hProcess, 5000);
    }
    ::CloseHandle(m_process.hThread);
    ::CloseHandle(m_process.hProcess);
}

std::optional<DWORD> PanelProcess::Wait(DWORD timeoutMs)
{
    if (!Started() || ::WaitForSingleObject(m_process.hProcess, timeoutMs) != WAIT_OBJECT_0)
        return std::nullopt;
    DWORD code = 0;
    ::GetExitCodeProcess(m_process.hProcess, &code);
    return code;
}

HWND PanelProcess::FindOwnWindow(const wchar_t* className) const
{
    WindowSearch search{m_process.dwProcessId, className, nullptr};
    ::EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND PanelProcess::WaitOwnWindow(const wchar_t* className, DWORD timeoutMs) const
{
    HWND found = nullptr;
    WaitFor([&] { return (found = FindOwnWindow(className)) != nullptr; }, timeoutMs);
    return found;
}

std::optional<PanelProcess::MessageBoxText> PanelProcess::DismissMessageBox(DWORD timeoutMs)
{
    HWND box = WaitOwnWindow(L"#32770", timeoutMs);
    if (box == nullptr)
        return std::nullopt;
    // The box may be found before its text is filled in.
    MessageBoxText read;
    WaitFor(
        [&] {
            wchar_t text[256] = {};
            ::GetDlgItemTextW(box, 0xFFFF, text, 256);
            read.text = text;
            ::GetWindowTextW(box, text, 256);
            read.caption = text;
            return !read.text.empty() && !read.caption.empty();
        },
        timeoutMs);
    ::PostMessageW(box, WM_COMMAND, IDOK, 0);
    return read;
}
