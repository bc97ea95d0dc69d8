#pragma once

#include <windows.h>

namespace ui {

// The system's image codecs start on the first image decoded, which costs
// a program tens of milliseconds. This decodes a tiny built-in image on a
// thread of its own while the first window is built, so that its first
// paint finds them started. GDI+ must be running for the life of this
// object.
class GdiPlusCodecWarmUp {
public:
    GdiPlusCodecWarmUp();
    // Waits for the thread.
    ~GdiPlusCodecWarmUp();
    GdiPlusCodecWarmUp(const GdiPlusCodecWarmUp&) = delete;
    GdiPlusCodecWarmUp& operator=(const GdiPlusCodecWarmUp&) = delete;

private:
    HANDLE m_thread = nullptr;
};

} // namespace ui
