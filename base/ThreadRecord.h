#pragma once

#include <cstdint>

namespace obase {

class FrameworkThread;

// What the framework knows about the calling thread while a framework thread
// runs on it; one per thread, reached through thread-local storage.
struct ThreadRecord {
    FrameworkThread* owner = nullptr;
    int32_t quit = 0;
    int32_t registrationCount = 0;
    int32_t identifier = -1; // -1 while not registered

    static ThreadRecord* Current();
    static void SetCurrent(ThreadRecord* record);
};

} // namespace obase
