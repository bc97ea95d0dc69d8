#pragma once

#include <cstdint>
#include <mutex>
#include <string>
#include <string_view>

#include "sim/SimCommandInterpreter.h"
#include "sim/SimDriver.h"
#include "sim/SimSignals.h"
#include "sim/dll/SimJournal.h"
#include "sim/dll/SimLock.h"
#include "sim/dll/SimMachine.h"
#include "sim/dll/SimPipeServer.h"

// The library's process-wide state. The first entry point called runs the
// configuration (the file named by KVSIM_CONFIG, then the commands in
// KVSIM_COMMANDS), joins the interface shared by every process that uses
// the same control pipe name, and starts the control pipe.
class SimRuntime {
public:
    // Holds the library's lock: the process's own and the machine's.
    // Taking it brings the driver up to date with the other processes;
    // letting it go publishes this process's changes, then sets the events
    // and posts the messages the driver collected, before the lock is free:
    // once a call that unregisters or closes has returned, no event of that
    // registration may be set any more (its owner closes it).
    class Guard {
    public:
        explicit Guard(SimRuntime& runtime);
        Guard(const Guard&) = delete;
        Guard& operator=(const Guard&) = delete;
        ~Guard() { Release(); }
        void Release();

    private:
        SimRuntime* m_runtime;
    };

    static SimRuntime& Get();

    void EnsureStarted();
    // The members below need the lock.
    SimDriver& Driver() { return m_driver; }
    void Journal(const std::wstring& line) { m_journal.Write(line); }
    bool IsJournaling() const { return m_journal.IsOpen(); }

    // Runs a control request; takes the lock itself.
    std::wstring Control(std::wstring_view request);
    // Ends the control thread, if the library ever started; called when it is unloaded.
    static void ShutdownIfStarted();

private:
    SimRuntime() = default;
    void Start();
    std::wstring RunLocked(std::wstring_view request);
    void Deliver(const SimSignals& signals);

    SimLock m_lock;
    std::once_flag m_started;
    SimDriver m_driver;
    SimCommandInterpreter m_interpreter{m_driver};
    SimJournal m_journal;
    // Declared before the pipe, whose thread uses it, so that it goes after it.
    SimMachine m_machine;
    SimPipeServer m_pipe;
};
