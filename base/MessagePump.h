#pragma once

#include <cstdint>

namespace obase {

// Drives a message loop: waits for work and calls back into its delegate.
class MessagePump {
public:
    class Delegate {
    public:
        virtual ~Delegate() = default;
        // Each returns true when it did something, so the pump looks again
        // before it waits.
        virtual bool DoWork() = 0;
        // `nextRunTime` receives the loop-clock time of the next delayed task,
        // or 0 when there is none.
        virtual bool DoDelayedWork(int64_t* nextRunTime) = 0;
        virtual bool DoIdleWork() = 0;
    };

    virtual ~MessagePump() = default;

    virtual void Run(Delegate* delegate) = 0;
    // Ends the innermost Run once its current step is done.
    virtual void Quit() = 0;
    // Callable from any thread: wakes the pump so it calls DoWork.
    virtual void ScheduleWork() = 0;
    // Loop thread only: DoDelayedWork is due at loop-clock time `runTime`.
    virtual void ScheduleDelayedWork(int64_t runTime) = 0;
};

} // namespace obase
