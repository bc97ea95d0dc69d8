#include "tests/sim/SimTestEnvironment.h"

#include <windows.h>

#include <algorithm>
#include <atomic>

#include "sim/SimText.h"
#include "sim/simctl/SimControlClient.h"

namespace {

std::atomic<unsigned> instances = 0;

std::wstring TempDirectory()
{
    wchar_t path[MAX_PATH + 1] = {};
    const DWORD length = ::GetTempPathW(MAX_PATH + 1, path);
    return std::wstring(path, length);
}

} // namespace

SimTestEnvironment::SimTestEnvironment(std::wstring_view configuration)
{
    const std::wstring unique =
        SimText::Format("%lu-%u-%llu", ::GetCurrentProcessId(), instances.fetch_add(1),
                        static_cast<unsigned long long>(::GetTickCount64()));
    m_pipeName = L"\\\\.\\pipe\\KvUsbAudioSimTest-" + unique;
    m_journalPath = TempDirectory() + L"kvsim-journal-" + unique + L".txt";
    const std::wstring commands =
        L"pipe " + m_pipeName + L"\njournal " + m_journalPath + L"\n" + std::wstring(configuration);
    ::SetEnvironmentVariableW(L"KVSIM_COMMANDS", commands.c_str());
    ::SetEnvironmentVariableW(L"KVSIM_CONFIG", nullptr);
}

SimTestEnvironment::~SimTestEnvironment()
{
    ::SetEnvironmentVariableW(L"KVSIM_COMMANDS", nullptr);
    ::DeleteFileW(m_journalPath.c_str());
}

std::wstring SimTestEnvironment::LibraryPath(const wchar_t* fileName)
{
    wchar_t path[MAX_PATH] = {};
    const DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring directory(path, length);
    directory.erase(directory.find_last_of(L"\\/") + 1);
    return directory + fileName;
}

std::wstring SimTestEnvironment::Control(std::wstring_view request) const
{
    std::wstring reply;
    const uint32_t status = SimControlClient(m_pipeName).Send(request, reply);
    return status == 0 ? reply : SimText::Format("transport error %u", status);
}

std::wstring SimTestEnvironment::MixerState() const
{
    std::wstring kept;
    const std::wstring state = Control(L"state");
    for (size_t start = 0; start < state.size();) {
        const size_t end = std::min(state.find(L'\n', start), state.size());
        const std::wstring line = state.substr(start, end - start);
        for (const wchar_t* prefix :
             {L"volume ", L"mute ", L"phantom ", L"invert ", L"gain ", L"devvol "}) {
            if (line.rfind(prefix, 0) == 0)
                kept += line + L"\n";
        }
        start = end + 1;
    }
    return kept;
}

std::vector<std::wstring> SimTestEnvironment::Journal() const
{
    std::vector<std::wstring> lines;
    const HANDLE file = ::CreateFileW(m_journalPath.c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return lines;
    }
    std::string bytes;
    char chunk[4096];
    DWORD read = 0;
    while (::ReadFile(file, chunk, sizeof chunk, &read, nullptr) && read != 0) {
        bytes.append(chunk, read);
    }
    ::CloseHandle(file);
    size_t start = 0;
    // Only whole lines: the library may be writing the next one.
    for (size_t end = bytes.find('\n'); end != std::string::npos; end = bytes.find('\n', start)) {
        if (end > start && bytes[start] != '#') {
            lines.push_back(SimText::FromUtf8(std::string_view(bytes).substr(start, end - start)));
        }
        start = end + 1;
    }
    return lines;
}

std::vector<std::wstring> SimTestEnvironment::Calls(std::wstring_view entry) const
{
    const std::wstring prefix = std::wstring(entry) + L"(";
    std::vector<std::wstring> calls;
    for (std::wstring& line : Journal()) {
        if (line.rfind(prefix, 0) == 0) {
            calls.push_back(std::move(line));
        }
    }
    return calls;
}

void SimTestEnvironment::ClearJournal() const
{
    const HANDLE file = ::CreateFileW(m_journalPath.c_str(), GENERIC_WRITE,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        ::SetEndOfFile(file);
        ::CloseHandle(file);
    }
}

bool SimTestEnvironment::WaitForJournal(
    const std::function<bool(const std::vector<std::wstring>&)>& done, uint32_t timeoutMs) const
{
    const ULONGLONG deadline = ::GetTickCount64() + timeoutMs;
    for (;;) {
        if (done(Journal())) {
            return true;
        }
        if (::GetTickCount64() >= deadline) {
            return false;
        }
        ::Sleep(5);
    }
}
