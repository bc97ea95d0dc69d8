#include "sim/dll/SimRuntime.h"

#include <windows.h>

#include <atomic>

#include "sim/SimText.h"

namespace {

std::wstring Environment(const wchar_t* name)
{
    const DWORD size = ::GetEnvironmentVariableW(name, nullptr, 0);
    if (size == 0) {
        return {};
    }
    std::wstring value(size, L'\0');
    value.resize(::GetEnvironmentVariableW(name, value.data(), size));
    return value;
}

bool ReadTextFile(const std::wstring& path, std::wstring& text)
{
    const HANDLE file =
        ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    std::string bytes;
    char chunk[4096];
    DWORD read = 0;
    while (::ReadFile(file, chunk, sizeof chunk, &read, nullptr) && read != 0) {
        bytes.append(chunk, read);
    }
    ::CloseHandle(file);
    if (bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) {
        bytes.erase(0, 3);
    }
    text = SimText::FromUtf8(bytes);
    return true;
}

std::wstring OneLine(std::wstring_view text)
{
    std::wstring line(text);
    for (wchar_t& c : line) {
        if (c == L'\n' || c == L'\r') {
            c = L';';
        }
    }
    return line;
}

std::atomic<SimRuntime*> startedRuntime = nullptr;

} // namespace

SimRuntime& SimRuntime::Get()
{
    static SimRuntime runtime;
    return runtime;
}

void SimRuntime::ShutdownIfStarted()
{
    if (SimRuntime* runtime = startedRuntime.load()) {
        runtime->m_pipe.Stop();
    }
}

void SimRuntime::EnsureStarted()
{
    std::call_once(m_started, [this] { Start(); });
}

SimRuntime::Guard::Guard(SimRuntime& runtime) : m_runtime(&runtime)
{
    runtime.m_lock.lock();
    runtime.m_machine.Enter(runtime.m_driver);
}

void SimRuntime::Guard::Release()
{
    if (m_runtime == nullptr) {
        return;
    }
    SimRuntime& runtime = *m_runtime;
    m_runtime = nullptr;
    runtime.Deliver(runtime.m_driver.TakeSignals());
    runtime.m_machine.Leave(runtime.m_driver);
    runtime.m_lock.unlock();
}

void SimRuntime::Start()
{
    startedRuntime = this;
    std::wstring pipeName;
    {
        Guard guard(*this);
        const std::wstring configPath = Environment(L"KVSIM_CONFIG");
        std::wstring config;
        std::wstring configError;
        if (!configPath.empty() && !ReadTextFile(configPath, config)) {
            configError = L"error: cannot read " + configPath + L"\n";
        }
        const std::wstring commands = Environment(L"KVSIM_COMMANDS");
        // The journal may only be named by the configuration, so it is reported once it exists.
        const std::wstring fromFile = config.empty() ? L"ok\n" : RunLocked(config);
        const std::wstring fromEnvironment = commands.empty() ? L"ok\n" : RunLocked(commands);
        for (const std::wstring& result : {configError, fromFile, fromEnvironment}) {
            if (result.rfind(L"error", 0) == 0) {
                m_journal.Write(L"# configuration " + OneLine(result));
                ::OutputDebugStringW((L"KvUsbAudioSim configuration " + result).c_str());
            }
        }
        m_driver.TakeSignals(); // nobody can be registered before the first call
        pipeName = m_driver.m_pipeName;
        // Every process naming the same pipe uses the same interface.
        if (!m_machine.Join(pipeName, m_driver)) {
            m_journal.Write(L"# interface " + pipeName + L" not shared with other processes");
        }
    }
    const auto catchUp = [this] { Guard guard(*this); };
    if (!m_pipe.Start(
            pipeName, [this](std::wstring_view request) { return Control(request); },
            m_machine.WakeEvent(), catchUp)) {
        Guard guard(*this);
        m_journal.Write(L"# control pipe " + pipeName + L" not available");
    }
}

std::wstring SimRuntime::Control(std::wstring_view request)
{
    Guard guard(*this);
    m_journal.Write(L"# " + OneLine(request));
    return RunLocked(request);
}

std::wstring SimRuntime::RunLocked(std::wstring_view request)
{
    std::wstring reply = m_interpreter.Execute(request);
    if (m_driver.m_journalPath != m_journal.Path() && !m_journal.Open(m_driver.m_journalPath)) {
        reply += L"warning: cannot open journal " + m_driver.m_journalPath + L"\n";
    }
    return reply;
}

void SimRuntime::Deliver(const SimSignals& signals)
{
    if (signals.events.empty() && signals.posts.empty()) {
        return;
    }
    if (const uint32_t late = m_driver.m_injection.TakeDelay(kSimSignalsDelay)) {
        ::Sleep(late);
    }
    for (const uintptr_t event : signals.events) {
        ::SetEvent(reinterpret_cast<HANDLE>(event));
    }
    for (const SimPost& post : signals.posts) {
        ::PostMessageW(reinterpret_cast<HWND>(post.window), post.message, post.wParam, 0);
    }
}
