#pragma once

#include <windows.h>

namespace obase {

// Takes over dispatching of Windows messages for a UI loop run; answering
// false ends that run.
class Dispatcher {
public:
    virtual ~Dispatcher() = default;
    virtual bool Dispatch(const MSG& message) = 0;
};

} // namespace obase
