#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

#include <windows.h>

#include "base/Dispatcher.h"
#include "base/MessageLoop.h"
#include "base/MessageLoopProxy.h"
#include "base/SupportWeakCallback.h"
#include "base/Thread.h"

namespace obase {

// A named thread with a message loop, started on a new OS thread or run on
// the calling one. Init runs on the thread before the loop (the place to
// register an identifier), Cleanup after it.
//
// Destruction contract: a class that derives from this one and can be
// destroyed while its thread runs calls Stop() in its own destructor, so that
// its Cleanup runs while the derived object is still whole. By the time this
// base destructor runs the derived part is gone: finding the thread still
// running, it reports the fault to the debugger and ends the thread without
// calling Cleanup or any other virtual.
class FrameworkThread : public Thread, public virtual SupportWeakCallback {
public:
    explicit FrameworkThread(std::wstring name, int32_t priority = 0);
    ~FrameworkThread() override;

    // Starts a new OS thread with a loop of `type`; returns once its Init has
    // run. False when already running or the thread could not be created.
    bool Start(MessageLoop::Type type = MessageLoop::Type::kDefault);
    // Asks the loop to quit once idle and waits for the thread to end.
    void Stop();
    // The thread body: creates the loop, Init, runs the loop, Cleanup.
    // Called directly to make the calling thread a framework thread.
    void Run() override;

    void SetLoopType(MessageLoop::Type type) { m_loopType = type; }
    // Dispatches the Windows messages of a UI loop; set before running.
    void SetDispatcher(Dispatcher* dispatcher) { m_dispatcher = dispatcher; }

    bool IsRunning() const { return m_running; }
    const std::wstring& name() const { return m_name; }
    // Valid once Start returned (or from Init on); answers false after the
    // loop has gone.
    std::shared_ptr<MessageLoopProxy> message_loop_proxy() const { return m_proxy; }

    // The framework thread running on the calling thread, or null.
    static FrameworkThread* Current();
    // Set when the thread was asked to stop or says it is shutting down.
    static void SetCurrentThreadQuitting();
    static bool IsCurrentThreadQuitting();

protected:
    virtual void Init() {}
    virtual void Cleanup() {}

private:
    std::unique_ptr<MessageLoop> CreateLoop() const;

    bool m_running = false;
    bool m_quitRequested = false;
    // Set by the destructor when it has to stop the thread itself.
    std::atomic<bool> m_derivedGone = false;
    MessageLoop::Type m_loopType = MessageLoop::Type::kDefault;
    std::shared_ptr<MessageLoopProxy> m_proxy;
    Dispatcher* m_dispatcher = nullptr;
    HANDLE m_startedEvent = nullptr;
    std::wstring m_name;
};

} // namespace obase
