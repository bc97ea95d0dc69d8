#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

// Prepares the simulated driver library for one test: a control pipe and a
// journal file of the test's own, plus configuration commands. They take
// effect when the library is next loaded and called, so build this first.
class SimTestEnvironment {
public:
    explicit SimTestEnvironment(std::wstring_view configuration = {});
    SimTestEnvironment(const SimTestEnvironment&) = delete;
    SimTestEnvironment& operator=(const SimTestEnvironment&) = delete;
    ~SimTestEnvironment();

    // A library built beside the test programs, as a full path.
    static std::wstring LibraryPath(const wchar_t* fileName = L"tusbaudioapi.dll");

    const std::wstring& PipeName() const { return m_pipeName; }
    const std::wstring& JournalPath() const { return m_journalPath; }

    // The simulator's answer, or "transport error N".
    std::wstring Control(std::wstring_view request) const;
    // The mixer's lines of the simulator's state: volumes, mutes, phantom
    // power, invert, gains and device volumes.
    std::wstring MixerState() const;
    // Journal lines without the "#" comment lines.
    std::vector<std::wstring> Journal() const;
    // The journal lines of one entry point, e.g. Calls(L"TUSBAUDIO_SetVolume").
    std::vector<std::wstring> Calls(std::wstring_view entry) const;
    void ClearJournal() const;
    // Polls the journal until `done` holds or `timeoutMs` passes.
    bool WaitForJournal(const std::function<bool(const std::vector<std::wstring>&)>& done,
                        uint32_t timeoutMs = 3000) const;

private:
    std::wstring m_pipeName;
    std::wstring m_journalPath;
};
