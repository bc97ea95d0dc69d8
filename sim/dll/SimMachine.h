#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

class SimDriver;

// The simulated interface as one device per machine (per Windows session):
// the driver's machine state lives in a named file mapping, every process
// that uses it joins it, and the changes other processes must replay
// (notifications, plug and play) go round a ring of events, with a named
// wake-up event per process so that one that is idle still hears of them.
// The names come from a key (the control pipe's name), so a private pipe
// also means a private interface.
//
// The mapping is guarded by a lock word inside it holding the owner's
// process id: taking a free lock costs no system call (a named mutex costs
// two trips to the Wine server per driver call). The caller serialises its
// own threads first, so one thread per process at most waits here; a lock
// whose owner has died is taken over.
class SimMachine {
public:
    SimMachine() = default;
    SimMachine(const SimMachine&) = delete;
    SimMachine& operator=(const SimMachine&) = delete;
    ~SimMachine();

    // Joins the interface of `key`: the first process gives it the driver's
    // (configured) state, later ones take the shared one. False when the
    // shared objects cannot be had; the driver then stays this process's own.
    bool Join(const std::wstring& key, SimDriver& driver);
    // Takes the lock and brings the driver up to date: the shared state,
    // and the events of other processes replayed on this process's handles.
    void Enter(SimDriver& driver);
    // Publishes the driver's state and its new machine events, wakes the
    // other processes if there were any, and releases the lock.
    void Leave(SimDriver& driver);
    // Set when another process has published events; null before Join.
    HANDLE WakeEvent() const { return m_wake; }

private:
    struct Shared;

    void Acquire();
    void Release();
    void Pull(SimDriver& driver);
    void Push(SimDriver& driver);
    void WakeOthers();
    static std::wstring ObjectName(const std::wstring& key, const wchar_t* what);
    std::wstring WakeName(uint32_t instance) const;

    std::wstring m_key;
    HANDLE m_mapping = nullptr;
    Shared* m_shared = nullptr;
    HANDLE m_wake = nullptr;
    uint32_t m_instance = 0;
    uint32_t m_seenVersion = 0;
    uint64_t m_seenEvents = 0;
    bool m_owned = false;
};
