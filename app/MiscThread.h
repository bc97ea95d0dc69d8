#pragma once

#include "base/FrameworkThread.h"

// "Global Misc Thread": a background loop registered as thread 1. The main
// form keeps a repeating timer on it while a device is connected; it touches
// no window and only posts back to the UI thread.
class MiscThread : public obase::FrameworkThread {
public:
    static constexpr int32_t kIdentifier = 1;

    MiscThread();
    // Stops the thread while this object's Init and Cleanup still exist.
    ~MiscThread() override;

protected:
    void Init() override;
    void Cleanup() override;

private:
    int32_t m_identifier = kIdentifier;
};
