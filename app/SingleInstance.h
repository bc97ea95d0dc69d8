#pragma once

#include "device/wn/WnHandle.h"

// The named mutex "KorVaneControls" that lets the program run once. The
// first instance holds it for the life of the process; a later start finds
// it taken (or cannot create it) and wakes the running instance instead.
class SingleInstance {
public:
    SingleInstance();

    bool IsFirst() const { return m_first; }
    // Lets the running instance take the foreground and asks its main
    // window to show itself; nothing when no window is found.
    static void WakeRunningInstance();

private:
    WnHandle m_mutex;
    bool m_first = false;
};
