#pragma once

#include "base/Dispatcher.h"
#include "base/MessageLoop.h"
#include "base/WinUIMessagePump.h"

namespace obase {

// The loop of a thread that owns windows: runs tasks between the thread's
// Windows messages.
class UIMessageLoop : public MessageLoop {
public:
    UIMessageLoop();

    // The calling thread's loop when it is a UI loop, otherwise null.
    static UIMessageLoop* current();

    // Runs with `dispatcher` dispatching the Windows messages (null: the
    // usual translate and dispatch).
    void RunWithDispatcher(Dispatcher* dispatcher) { RunWith(dispatcher); }

    void AddUIObserver(WinUIMessagePump::Observer* observer);
    void RemoveUIObserver(WinUIMessagePump::Observer* observer);

    // Set while the thread is inside a modal loop of the system (moving or
    // sizing a window, a menu), which then keeps most messages to itself.
    void SetOSModalLoop(bool inModalLoop);
    bool OSModalLoop() const;

protected:
    void RunPump() override;

private:
    WinUIMessagePump& uiPump() const { return static_cast<WinUIMessagePump&>(pump()); }
};

} // namespace obase
