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
#include "sim/dll/SimPipeServer.h"

// The library's process-wide state. The first entry point called runs the
// configuration (the file named by KVSIM_CONFIG, then the commands in
// KVSIM_COMMANDS) and starts the control pipe.
class SimRuntime {
public:
    static SimRuntime& Get();

    void EnsureStarted();
    std::unique_lock<SimLock> Lock() { return std::unique_lock(m_lock); }
    // The members below need the lock.
    SimDriver& Driver() { return m_driver; }
    void Journal(const std::wstring& line) { m_journal.Write(line); }

    // Runs a control request; takes the lock itself.
    std::wstring Control(std::wstring_view request);
    // Sets the events and posts the messages the driver collected. Call with
    // the lock held: once a call that unregisters or closes has returned, no
    // event of that registration may be set any more (its owner closes it).
    void Deliver(const SimSignals& signals);
    // Ends the control thread, if the library ever started; called when it is unloaded.
    static void ShutdownIfStarted();

private:
    SimRuntime() = default;
    void Start();
    std::wstring RunLocked(std::wstring_view request);

    SimLock m_lock;
    std::once_flag m_started;
    SimDriver m_driver;
    SimCommandInterpreter m_interpreter{m_driver};
    SimJournal m_journal;
    SimPipeServer m_pipe;
};
