// Fault-injection campaign: the mixer window, its settings window and the
// device manager, in this process, against the simulated interface. For each
// step of the program's life and each driver entry point that the step calls
// (taken from the journal of a clean run of the step), one run with the entry
// failing and one with it slower than the time-outs around it. Every run has
// a fresh simulator state and a fresh main window; it passes when nothing
// crashed, the shown window answered within 2 s throughout, no kernel handle
// was left behind once the window was gone, and every control is in the state
// the failure handling gives it.
//
//   fault_injection.exe              every step
//   fault_injection.exe STEP...      only these steps
// Prints one Markdown table row per run on standard output as it ends, then
// a totals line; progress and "run:" lines on standard error.
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <functional>
#include <cmath>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "device/DeviceManager.h"
#include "panel/ChannelMap.h"
#include "panel/MainForm.h"
#include "panel/SettingForm.h"
#include "tests/campaign/EventOrigins.h"
#include "tests/campaign/ProcessFigures.h"
#include "tests/panel/MainFormTestHost.h"
#include "ui/controls/CheckBoxTemplate.h"
#include "ui/controls/CircleSlider.h"
#include "ui/controls/Combo.h"
#include "ui/controls/ListBox.h"
#include "ui/controls/Slider.h"

namespace {

constexpr uint32_t kFailStatus = 0xEE000050;
// Longer than the monitor's 1000 ms stop wait, the 1000 ms audio-control
// time-out and the 200 ms poll; one call only, so the 2 s answer rule holds
// for a program that does not wait on the driver while holding its window.
constexpr uint32_t kDelayMs = 1500;
constexpr DWORD kAnswerTimeoutMs = 2000;
constexpr DWORD kExitLimitMs = 8000;

enum class Mode { kClean, kFail, kSlow };

struct RunResult {
    bool passed = true;
    std::vector<std::wstring> problems;
    std::vector<std::wstring> called; // entries seen in the step
    DWORD worstAnswerMs = 0;
    DWORD exitMs = 0;
    // Handles opened during the run and still open after it, with their types.
    std::map<uintptr_t, std::wstring> newHandles;
    void Fail(const std::wstring& problem)
    {
        passed = false;
        problems.push_back(problem);
    }
};

SimTestEnvironment& Sim()
{
    return MainFormTestHost::Sim();
}

DeviceManager& Manager()
{
    return *DeviceManager::GetInstance();
}

std::string Narrow(const std::wstring& text)
{
    return std::string(text.begin(), text.end());
}

bool WaitFor(const std::function<bool()>& done, DWORD timeoutMs)
{
    const ULONGLONG deadline = ::GetTickCount64() + timeoutMs;
    while (!done()) {
        if (::GetTickCount64() >= deadline)
            return false;
        ::Sleep(10);
    }
    return true;
}

// Runs a function on a thread of the system's own. The C++ library's thread
// bookkeeping makes an event the first time a join meets the thread's own
// ending and keeps it for the life of the process; that would count as a
// handle left by whichever run it happened in.
class SystemThread {
public:
    explicit SystemThread(std::function<void()> body) : m_body(std::move(body)) {}
    SystemThread(const SystemThread&) = delete;
    SystemThread& operator=(const SystemThread&) = delete;
    ~SystemThread() { Join(); }
    void Join()
    {
        if (m_handle == nullptr)
            return;
        ::WaitForSingleObject(m_handle, INFINITE);
        ::CloseHandle(m_handle);
        m_handle = nullptr;
    }

private:
    static DWORD WINAPI Main(void* self)
    {
        static_cast<SystemThread*>(self)->m_body();
        return 0;
    }

    std::function<void()> m_body;
    HANDLE m_handle = ::CreateThread(nullptr, 0, &Main, this, 0, nullptr);
};

// Sends WM_NULL to the shown main window every 50 ms from its own thread
// and closes any message box the program raises (noting its text).
class Watcher {
public:
    ~Watcher()
    {
        m_running = false;
        m_thread.Join();
    }
    DWORD WorstAnswerMs() const { return m_worst; }
    bool Unanswered() const { return m_unanswered; }
    std::vector<std::wstring> Boxes()
    {
        std::vector<std::wstring> boxes;
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            boxes = m_boxes;
        }
        return boxes;
    }

private:
    void Run()
    {
        while (m_running) {
            CloseMessageBoxes();
            HWND window = ::FindWindowW(MainForm::kClassName, nullptr);
            if (window != nullptr && ::IsWindowVisible(window)) {
                const ULONGLONG start = ::GetTickCount64();
                DWORD_PTR result = 0;
                if (::SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, kAnswerTimeoutMs,
                                          &result) == 0 &&
                    ::GetLastError() == ERROR_TIMEOUT && ::IsWindow(window))
                    m_unanswered = true;
                m_worst = std::max(m_worst.load(), static_cast<DWORD>(::GetTickCount64() - start));
            }
            ::Sleep(50);
        }
        CloseMessageBoxes();
    }
    void CloseMessageBoxes()
    {
        ::EnumWindows(
            [](HWND window, LPARAM self) -> BOOL {
                DWORD process = 0;
                ::GetWindowThreadProcessId(window, &process);
                wchar_t className[32] = {};
                ::GetClassNameW(window, className, 32);
                if (process == ::GetCurrentProcessId() && std::wstring(className) == L"#32770" &&
                    ::IsWindowVisible(window)) {
                    wchar_t text[256] = {};
                    wchar_t caption[256] = {};
                    ::GetDlgItemTextW(window, 0xFFFF, text, 256);
                    ::GetWindowTextW(window, caption, 256);
                    auto* watcher = reinterpret_cast<Watcher*>(self);
                    std::lock_guard<std::mutex> lock(watcher->m_mutex);
                    watcher->m_boxes.push_back(std::wstring(caption) + L": " + text);
                    ::PostMessageW(window, WM_COMMAND, IDOK, 0);
                }
                return TRUE;
            },
            reinterpret_cast<LPARAM>(this));
    }

    std::atomic<bool> m_running = true;
    std::atomic<DWORD> m_worst = 0;
    std::atomic<bool> m_unanswered = false;
    std::mutex m_mutex;
    std::vector<std::wstring> m_boxes;
    SystemThread m_thread{[this] { Run(); }}; // last: starts once the rest exists
};

// The simulator as it was before the first run, minus injection rules.
std::wstring g_baseline;

void ResetSimulator()
{
    const std::wstring state = Sim().Control(L"state");
    std::wstring commands;
    size_t start = state.find(L'\n') + 1; // after "ok"
    while (start < state.size()) {
        size_t end = state.find(L'\n', start);
        if (end == std::wstring::npos)
            end = state.size();
        const std::wstring line = state.substr(start, end - start);
        // Rules still standing are removed; everything else comes from the baseline.
        if (line.rfind(L"fail ", 0) == 0 || line.rfind(L"delay ", 0) == 0) {
            const size_t second = line.find(L' ', line.find(L' ') + 1);
            commands += line.substr(0, second) + L" 0\n";
        }
        start = end + 1;
    }
    Sim().Control(commands + g_baseline);
}

std::wstring Baseline()
{
    const std::wstring state = Sim().Control(L"state");
    std::wstring commands;
    size_t start = state.find(L'\n') + 1;
    while (start < state.size()) {
        size_t end = state.find(L'\n', start);
        if (end == std::wstring::npos)
            end = state.size();
        const std::wstring line = state.substr(start, end - start);
        if (!line.empty() && line[0] != L'#' && line.rfind(L"fail ", 0) != 0 &&
            line.rfind(L"delay ", 0) != 0)
            commands += line + L"\n";
        start = end + 1;
    }
    return commands;
}

// Ends a monitor thread still held in a slow call, so the next run starts clean.
void ReleaseDevice()
{
    WaitFor(
        [] {
            Manager().CloseDevice();
            return !Manager().IsThreadHeld();
        },
        10000);
}

std::set<std::wstring> EntriesSince(size_t mark, bool keepPeriodic)
{
    std::set<std::wstring> entries;
    const std::vector<std::wstring> lines = Sim().Journal();
    for (size_t i = mark; i < lines.size(); ++i) {
        const std::wstring& line = lines[i];
        const size_t paren = line.find(L'(');
        if (line.rfind(L"TUSBAUDIO_", 0) != 0 || paren == std::wstring::npos)
            continue;
        // The 200 ms poll runs under every step; it is a step of its own.
        const bool poll = line.rfind(L"TUSBAUDIO_AudioControlRequestGet(", 0) == 0 &&
                          line.find(L",10,1,20,0,") != std::wstring::npos;
        if (poll && !keepPeriodic)
            continue;
        entries.insert(line.substr(0, paren));
    }
    return entries;
}

// The process's valid handle values (small multiples of 4 on every host).
std::set<uintptr_t> HandleValues()
{
    std::set<uintptr_t> values;
    for (uintptr_t value = 4; value < 0x10000; value += 4) {
        DWORD flags = 0;
        if (::GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags))
            values.insert(value);
    }
    return values;
}

// "Event", "Thread", "File", ... from the object manager.
std::wstring HandleType(uintptr_t value)
{
    using QueryObject = LONG(WINAPI*)(HANDLE, int, void*, ULONG, ULONG*);
    static const auto query = reinterpret_cast<QueryObject>(reinterpret_cast<void*>(
        ::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "NtQueryObject")));
    struct TypeName {
        USHORT length;
        USHORT maximum;
        wchar_t* buffer;
    };
    alignas(8) unsigned char info[1024] = {};
    constexpr int kObjectTypeInformation = 2;
    if (!query || query(reinterpret_cast<HANDLE>(value), kObjectTypeInformation, info, sizeof info,
                        nullptr) != 0)
        return L"?";
    const auto* name = reinterpret_cast<const TypeName*>(info);
    return std::wstring(name->buffer, name->length / sizeof(wchar_t));
}

// The module a thread started in: whose thread it is.
std::wstring ThreadModule(HANDLE thread)
{
    using QueryThread = LONG(WINAPI*)(HANDLE, int, void*, ULONG, ULONG*);
    static const auto query = reinterpret_cast<QueryThread>(reinterpret_cast<void*>(
        ::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationThread")));
    constexpr int kThreadStartAddress = 9;
    void* start = nullptr;
    HMODULE module = nullptr;
    wchar_t path[MAX_PATH] = {};
    if (!query || query(thread, kThreadStartAddress, &start, sizeof start, nullptr) != 0 ||
        !::GetModuleHandleExW(
            GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
            static_cast<const wchar_t*>(start), &module) ||
        !::GetModuleFileNameW(module, path, MAX_PATH))
        return L"?";
    const std::wstring full = path;
    const std::wstring name = full.substr(full.find_last_of(L"\\/") + 1);
    return ::WaitForSingleObject(thread, 0) == WAIT_OBJECT_0 ? name + L" (ended)" : name;
}

// Handles opened since `before` and still open, by value and type; closes
// that happen a moment late (a thread's last handle) are given time to happen.
// The system's multimedia timer thread (started by the first timer of the
// process, kept for its life) is not the program's.
std::map<uintptr_t, std::wstring> HandlesLeft(uint32_t countBefore,
                                              const std::set<uintptr_t>& before)
{
    std::map<uintptr_t, std::wstring> left;
    for (int tries = 0; tries < 5; ++tries) {
        if (campaign::MeasureProcess(::GetCurrentProcess()).handles <= countBefore)
            return left;
        ::Sleep(200);
    }
    for (const uintptr_t value : HandleValues()) {
        if (before.count(value))
            continue;
        std::wstring type = HandleType(value);
        if (type == L"Event") {
            const std::wstring origin = campaign::EventOrigin(reinterpret_cast<HANDLE>(value));
            type += origin.empty() ? L" not made by the program's modules" : L" from " + origin;
        }
        if (type == L"Thread") {
            const std::wstring module = ThreadModule(reinterpret_cast<HANDLE>(value));
            if (module == L"WINMM.dll" || module == L"winmm.dll")
                continue;
            type += L" of " + module;
        }
        left[value] = type;
    }
    return left;
}

// A handle left by a run counts as leaked only if nothing has closed it by
// the end of the step: objects that a library keeps for a while and then
// drops (or reuses) are not the program's leak.
void JudgeHandles(RunResult& result)
{
    std::map<std::wstring, int> types;
    int count = 0;
    for (const auto& [value, type] : result.newHandles) {
        DWORD flags = 0;
        if (::GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags) &&
            HandleType(value) == type.substr(0, type.find(L' '))) {
            ++types[type];
            ++count;
        }
    }
    if (count == 0)
        return;
    std::wstring text = std::to_wstring(count) + L" handles left (";
    for (const auto& [type, number] : types)
        text += std::to_wstring(number) + L" " + type + L", ";
    result.Fail(text.substr(0, text.size() - 2) + L")");
}

// ---- the state the controls must be in ----------------------------------

const wchar_t* const kFaderNames[] = {
    L"input_master",        L"input_mic1",         L"input_mic2",
    L"input_guitar",        L"input_phone1_left",  L"input_phone1_right",
    L"input_phone2_left",   L"input_phone2_right", L"output_master",
    L"output_ear_left",     L"output_ear_right",   L"output_phone1_left",
    L"output_phone1_right", L"output_phone2_left", L"output_phone2_right",
    L"output_box_left",     L"output_box_right",   L"device_MIC1",
    L"device_MIC2",         L"device_GUITAR",      L"device_HP"};

bool IsValueRead(const std::wstring& entry)
{
    return entry == L"TUSBAUDIO_GetVolume" || entry == L"TUSBAUDIO_GetMute" ||
           entry == L"TUSBAUDIO_AudioControlRequestGet" ||
           entry == L"TUSBAUDIO_ReadDeviceNotification";
}

void CheckControls(MainForm& form, const std::wstring& injected, Mode mode, RunResult& result)
{
    DeviceManager& manager = Manager();
    const bool connected = manager.deviceHandle != 0;
    auto expect = [&](bool ok, const std::wstring& what) {
        if (!ok)
            result.Fail(what);
    };
    expect(IsEnabled(form, L"settings") == connected,
           connected ? L"settings button disabled while connected"
                     : L"settings button enabled without a device");
    expect(form.IsPolling() == connected,
           connected ? L"not polling while connected" : L"polling without a device");
    SettingForm* settings = form.GetSettingForm();
    expect(::IsWindowEnabled(form.GetHWND()) == (settings == nullptr),
           settings ? L"mixer enabled under the settings window"
                    : L"mixer disabled with no settings window");
    int wrongImages = 0;
    int wrongEnabled = 0;
    int wrongValues = 0;
    for (const wchar_t* name : kFaderNames) {
        auto* slider = dynamic_cast<ui::Slider*>(form.FindControl(std::wstring(name)));
        if (!slider)
            continue;
        const bool disabledImage = slider->GetBkImage().find(L"_disable.png") != std::wstring::npos;
        if (!connected) {
            wrongImages += !disabledImage;
            wrongEnabled += slider->IsEnabled();
            wrongValues += slider->GetValue() != slider->GetMaxValue();
            continue;
        }
        const MixerFader* fader = ChannelMap::FindFader(name);
        if (!fader)
            continue; // device faders follow the lock-out byte
        wrongImages += disabledImage;
        const bool muted = IsSelected(form, std::wstring(fader->muteBox));
        wrongEnabled += slider->IsEnabled() == muted;
        // Values from the device, unless reading them was the fault.
        if (mode == Mode::kFail && IsValueRead(injected))
            continue;
        int16_t volume = 0;
        if (manager.api.TUSBAUDIO_GetVolume(manager.deviceHandle, fader->isInput ? 1 : 0,
                                            fader->channel, &volume) == 0) {
            const double expected = manager.VolumeToPosition(volume, fader->isInput);
            wrongValues += std::abs(slider->GetValue() - expected) > 0.01;
        }
    }
    expect(wrongImages == 0, std::to_wstring(wrongImages) + L" faders with the wrong image");
    expect(wrongEnabled == 0, std::to_wstring(wrongEnabled) + L" faders wrongly enabled/disabled");
    expect(wrongValues == 0, std::to_wstring(wrongValues) + L" faders not at the device's value");
    int wrongBoxes = 0;
    for (const MixerFader& fader : ChannelMap::Faders())
        wrongBoxes += IsEnabled(form, std::wstring(fader.muteBox)) != connected;
    wrongBoxes += IsEnabled(form, L"input_48v") != connected;
    wrongBoxes += IsEnabled(form, L"mic1amp") != connected;
    wrongBoxes += IsEnabled(form, L"mic2amp") != connected;
    expect(wrongBoxes == 0, std::to_wstring(wrongBoxes) + L" switches/knobs wrongly enabled");

    if (settings == nullptr)
        return;
    expect(connected, L"settings window open without a device");
    for (const wchar_t* name : {L"input format", L"output format"}) {
        auto* combo = dynamic_cast<ui::Combo*>(settings->FindControl(std::wstring(name)));
        if (combo && combo->IsEnabled() && combo->GetCount() < 2)
            result.Fail(std::wstring(name) + L" enabled with fewer than two formats");
        if (combo && combo->GetCount() > 0 && combo->GetCurSel() >= 0 &&
            static_cast<size_t>(combo->GetCurSel()) >= combo->GetCount())
            result.Fail(std::wstring(name) + L" selection out of range");
    }
}

// ---- steps ----------------------------------------------------------------

struct Step {
    const char* name;
    const char* what;
    // Runs before the fault is injected (host already built unless null).
    std::function<void(MainFormTestHost&)> prepare;
    // The action under the fault.
    std::function<void(MainFormTestHost&)> act;
    bool keepPeriodic = false;
};

HWND OpenSettings(MainFormTestHost& host)
{
    WaitFor([&] { return host.Read<bool>([](MainForm& f) { return IsEnabled(f, L"settings"); }); },
            3000);
    ::SetCursorPos(100, 100);
    host.Click(L"settings");
    HWND window = nullptr;
    WaitFor(
        [&] {
            window = host.Read<HWND>([](MainForm& f) {
                return f.GetSettingForm() ? f.GetSettingForm()->GetHWND() : nullptr;
            });
            return window != nullptr;
        },
        3000);
    return window;
}

void Settle(Mode mode)
{
    ::Sleep(mode == Mode::kSlow ? kDelayMs + 1200 : 900);
}

std::vector<Step> Steps()
{
    return {
        {"startup", "program start with the device present: window, Initialize, connect", nullptr,
         nullptr, true},
        {"connect", "hidden window shown again: Initialize and connect",
         [](MainFormTestHost& host) { host.OnUi([](MainForm& f) { f.HideMainWindow(); }); },
         [](MainFormTestHost& host) {
             ::PostMessageW(host.Window(), MainForm::kMsgShow, 0, 0);
             host.Flush();
         }},
        {"refresh", "volumes, mutes, switches and gains changed on the device: re-read", nullptr,
         [](MainFormTestHost&) {
             Sim().Control(
                 L"volume out all -2560; volume in 1 -5120; mute in 3 1; mute out 1 1; "
                 L"phantom 1; gain 1 5");
         }},
        {"notification", "raw notifications of every category drained by the monitor", nullptr,
         [](MainFormTestHost&) { Sim().Control(L"notify 3 4 5 1 2 6 3 4"); }},
        {"mixer", "user moves a fader, a mute, phantom power and a knob", nullptr,
         [](MainFormTestHost& host) {
             host.DragFader(L"input_mic1", 20);
             host.Click(L"output_master_mute");
             host.Click(L"input_48v");
             host.Wheel(L"mic1amp", 1);
         }},
        {"poll", "unplug and replug, then the 200 ms poll of the device volumes", nullptr,
         [](MainFormTestHost&) {
             Sim().Control(L"unplug");
             ::Sleep(300);
             Sim().Control(L"plug");
         },
         true},
        {"settings-open", "settings window opened", nullptr,
         [](MainFormTestHost& host) { OpenSettings(host); }},
        {"settings-refresh", "settings window open, sample rate, ASIO and formats change",
         [](MainFormTestHost& host) { OpenSettings(host); },
         [](MainFormTestHost&) {
             Sim().Control(L"rate 44100; asio latency 100 300; formats in 1:24:2,2:16:2,5:32:2");
         }},
        {"settings-apply", "buffer size, safe mode and both stream formats chosen",
         [](MainFormTestHost& host) { OpenSettings(host); },
         [](MainFormTestHost& host) {
             host.OnUi([](MainForm& f) {
                 SettingForm* s = f.GetSettingForm();
                 if (!s)
                     return;
                 if (auto* c =
                         dynamic_cast<ui::Combo*>(s->FindControl(std::wstring(L"combo_buffer"))))
                     c->GetListBox().SelectItem(0);
                 if (auto* b =
                         dynamic_cast<ui::CheckBox*>(s->FindControl(std::wstring(L"safe mode"))))
                     b->Selected(!b->IsSelected(), true);
             });
             host.OnUi([](MainForm& f) {
                 SettingForm* s = f.GetSettingForm();
                 for (const wchar_t* name : {L"input format", L"output format"}) {
                     if (!s)
                         return;
                     if (auto* c = dynamic_cast<ui::Combo*>(s->FindControl(std::wstring(name))))
                         c->GetListBox().SelectItem(c->GetCount() > 1 ? 1 : 0);
                 }
             });
         }},
        {"exit", "program exit (tray Exit / WM_CLOSE) with the device open", nullptr, nullptr},
    };
}

// ---- one run ----------------------------------------------------------------

void Inject(const std::wstring& entry, Mode mode)
{
    if (mode == Mode::kFail)
        Sim().Control(L"fail " + entry + L" " + std::to_wstring(kFailStatus));
    else if (mode == Mode::kSlow)
        Sim().Control(L"delay " + entry + L" " + std::to_wstring(kDelayMs) + L" 1");
}

// Destroys the host (WM_CLOSE, loop end, thread join) within a limit.
bool EndHost(std::unique_ptr<MainFormTestHost>& host, RunResult& result)
{
    const ULONGLONG start = ::GetTickCount64();
    std::atomic<bool> done = false;
    SystemThread ender([&] {
        // Closed as the user closes it; only then is the host's loop stopped.
        if (HWND window = host->Window()) {
            DWORD_PTR answer = 0;
            ::SendMessageTimeoutW(window, WM_CLOSE, 0, 0, SMTO_NORMAL, kExitLimitMs, &answer);
        }
        host.reset();
        done = true;
    });
    if (!WaitFor([&] { return done.load(); }, kExitLimitMs)) {
        std::fprintf(stderr, "exit hung for %lu ms; giving up on this process\n", kExitLimitMs);
        std::printf("| (exit hung) | | | |\n");
        std::fflush(stdout);
        ::ExitProcess(3);
    }
    ender.Join();
    result.exitMs = static_cast<DWORD>(::GetTickCount64() - start);
    return true;
}

RunResult Run(const Step& step, const std::wstring& entry, Mode mode)
{
    RunResult result;
    ResetSimulator();
    ReleaseDevice();
    const uint32_t handlesBefore = campaign::MeasureProcess(::GetCurrentProcess()).handles;
    const std::set<uintptr_t> valuesBefore = HandleValues();
    const std::string stepName = step.name;
    std::unique_ptr<MainFormTestHost> host;
    {
        Watcher watcher;
        size_t mark = Sim().Journal().size();
        if (stepName == "startup")
            Inject(entry, mode);
        host = std::make_unique<MainFormTestHost>();
        if (host->Window() == nullptr)
            result.Fail(L"no main window");
        if (stepName != "startup" && stepName != "exit" && host->Window()) {
            if (step.prepare)
                step.prepare(*host);
            ::Sleep(300);
            mark = Sim().Journal().size();
            Inject(entry, mode);
            step.act(*host);
        }
        if (stepName != "exit") {
            Settle(mode);
            result.called = {};
            for (const std::wstring& e : EntriesSince(mark, step.keepPeriodic))
                result.called.push_back(e);
            // The rule goes before the checks, which read the device themselves.
            Sim().Control(L"fail " + entry + L" 0; delay " + entry + L" 0");
            if (host->Window())
                host->OnUi([&](MainForm& form) { CheckControls(form, entry, mode, result); });
        } else {
            ::Sleep(300);
            mark = Sim().Journal().size();
            Inject(entry, mode);
        }
        if (watcher.Unanswered())
            result.Fail(L"window did not answer within 2 s");
        result.worstAnswerMs = watcher.WorstAnswerMs();
        EndHost(host, result);
        if (stepName == "exit") {
            for (const std::wstring& e : EntriesSince(mark, false))
                result.called.push_back(e);
        }
        for (const std::wstring& box : watcher.Boxes())
            result.problems.push_back(L"message box " + box);
    }
    Sim().Control(L"fail " + entry + L" 0; delay " + entry + L" 0");
    if (result.exitMs > 4000)
        result.Fail(L"exit took " + std::to_wstring(result.exitMs) + L" ms");
    if (Manager().deviceHandle != 0)
        result.Fail(L"device still open after exit");
    ReleaseDevice();
    result.newHandles = HandlesLeft(handlesBefore, valuesBefore);
    return result;
}

// The binding (program start, before any window): a second table over the
// library already loaded, with the fault in place.
RunResult RunBinding(const std::wstring& entry, Mode mode)
{
    RunResult result;
    ResetSimulator();
    const uint32_t handlesBefore = campaign::MeasureProcess(::GetCurrentProcess()).handles;
    const std::set<uintptr_t> valuesBefore = HandleValues();
    size_t mark = Sim().Journal().size();
    Inject(entry, mode);
    const ULONGLONG start = ::GetTickCount64();
    uint32_t status = 0;
    {
        TUsbAudioApiDll table;
        status = table.Load(SimTestEnvironment::LibraryPath());
        const bool consistent =
            status == 0 ? table.Module() != nullptr : table.TUSBAUDIO_GetVolume == nullptr;
        if (!consistent)
            result.Fail(L"entry table half bound");
    }
    result.exitMs = static_cast<DWORD>(::GetTickCount64() - start);
    Sim().Control(L"fail " + entry + L" 0; delay " + entry + L" 0");
    result.problems.push_back(L"load status " + std::to_wstring(status));
    if (mode == Mode::kClean) {
        for (const std::wstring& e : EntriesSince(mark, false))
            result.called.push_back(e);
    }
    result.newHandles = HandlesLeft(handlesBefore, valuesBefore);
    return result;
}

std::wstring Describe(const RunResult& result)
{
    std::wstring text = result.passed ? L"pass" : L"**FAIL**";
    for (const std::wstring& problem : result.problems)
        text += L"; " + problem;
    return text;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    std::set<std::string> wanted;
    for (int i = 1; i < argc; ++i)
        wanted.insert(Narrow(argv[i]));
    Sim();
    campaign::TrackEventOrigins(::GetModuleHandleW(nullptr));
    campaign::TrackEventOrigins(::GetModuleHandleW(L"tusbaudioapi.dll"));
    g_baseline = Baseline();
    Manager().CloseDevice();

    int runs = 0;
    int failures = 0;
    int failedModes[2] = {0, 0};
    std::printf("| entry | step | fails (status 0x%08X, always) | slow (%u ms, once) |\n",
                kFailStatus, kDelayMs);
    std::printf("|---|---|---|---|\n");
    std::fflush(stdout);
    struct Row {
        std::wstring entry;
        RunResult fail;
        RunResult slow;
    };
    auto report = [&](const char* step, std::vector<Row>& rows) {
        for (Row& row : rows) {
            JudgeHandles(row.fail);
            JudgeHandles(row.slow);
            runs += 2;
            failures += !row.fail.passed + !row.slow.passed;
            failedModes[0] += !row.fail.passed;
            failedModes[1] += !row.slow.passed;
            std::printf("| %s | %s | %s | %s |\n", Narrow(row.entry).c_str(), step,
                        Narrow(Describe(row.fail)).c_str(), Narrow(Describe(row.slow)).c_str());
        }
        std::fflush(stdout);
    };

    if (wanted.empty() || wanted.count("binding")) {
        const RunResult clean = RunBinding(L"TUSBAUDIO_None", Mode::kClean);
        std::vector<Row> rows;
        for (const std::wstring& entry : clean.called) {
            std::fprintf(stderr, "run: %s binding\n", Narrow(entry).c_str());
            rows.push_back({entry, RunBinding(entry, Mode::kFail), RunBinding(entry, Mode::kSlow)});
        }
        report("binding", rows);
    }
    for (const Step& step : Steps()) {
        if (!wanted.empty() && !wanted.count(step.name))
            continue;
        // Libraries, threads and caches that the program sets up on first use
        // (the rich edit's, say) stay for the life of the process: a first
        // run of the step takes them, so that the runs measured start equal.
        Run(step, L"TUSBAUDIO_None", Mode::kClean);
        RunResult clean = Run(step, L"TUSBAUDIO_None", Mode::kClean);
        std::fprintf(stderr, "step %s: %zu entries\n", step.name, clean.called.size());
        std::vector<Row> rows;
        for (const std::wstring& entry : clean.called) {
            std::fprintf(stderr, "run: %s %s\n", Narrow(entry).c_str(), step.name);
            RunResult fail = Run(step, entry, Mode::kFail);
            RunResult slow = Run(step, entry, Mode::kSlow);
            rows.push_back({entry, std::move(fail), std::move(slow)});
        }
        JudgeHandles(clean);
        if (!clean.passed) {
            ++failures;
            std::printf("| (none) | %s | clean run: %s | |\n", step.name,
                        Narrow(Describe(clean)).c_str());
        }
        report(step.name, rows);
    }
    std::printf("\nTotals: %d runs, %d failed (%d with a failing entry, %d with a slow one).\n",
                runs, failures, failedModes[0], failedModes[1]);
    return failures == 0 ? 0 : 1;
}
