#pragma once

#include "base/WeakFlag.h"

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <queue>
#include <vector>

namespace ui {

// Process-wide timers for image animation and window fades. A multimedia
// timer posts ticks to a message-only window of the UI thread, where due
// timers run in due order. The multimedia timer runs every 16 ms while a
// timer is near, slower while the next one is a second or more away, and
// not at all while no timer is queued. UI thread only.
class AnimationTimerManager {
public:
    static constexpr UINT kTickMessage = 11023;
    static constexpr uint32_t kTickPeriodMs = 16;
    static constexpr int kRepeatForever = -1;

    static AnimationTimerManager& GetInstance();
    ~AnimationTimerManager();
    AnimationTimerManager(const AnimationTimerManager&) = delete;
    AnimationTimerManager& operator=(const AnimationTimerManager&) = delete;

    // Calls callback every intervalMs while owner is alive: repeatCount
    // times, forever for kRepeatForever, once for any other count. A timer
    // ends as soon as its owner is gone, which is how timers are cancelled.
    bool AddTimer(std::weak_ptr<obase::WeakFlag> owner, std::function<void()> callback,
                  uint32_t intervalMs, int repeatCount);
    // Runs the due timers; the window calls it for each tick.
    void Poll();

    size_t GetTimerCount() const { return m_timers.size(); }
    // Period of the running multimedia timer in ms, 0 when none runs.
    uint32_t GetTickPeriod() const { return m_tickPeriod; }

private:
    struct Timer {
        std::weak_ptr<obase::WeakFlag> owner;
        std::function<void()> callback;
        uint32_t intervalMs = 0;
        int repeatCount = 0;
        int64_t due = 0;
        uint64_t sequence = 0; // keeps timers due at the same time in order
    };
    struct Later {
        bool operator()(const Timer& a, const Timer& b) const
        {
            return a.due != b.due ? a.due > b.due : a.sequence > b.sequence;
        }
    };

    AnimationTimerManager();
    int64_t Now() const;
    int64_t Ticks(uint32_t ms) const;
    bool CreateMessageWindow();
    void StartTicking(uint32_t periodMs);
    void StopTicking();
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static void CALLBACK OnMultimediaTimer(UINT id, UINT, DWORD_PTR user, DWORD_PTR, DWORD_PTR);

    int64_t m_frequency = 1;
    HWND m_window = nullptr;
    UINT m_timerId = 0;
    uint32_t m_tickPeriod = 0;
    uint64_t m_nextSequence = 0;
    // One tick message at a time in the queue, however long the UI
    // thread is busy.
    std::atomic<bool> m_tickPosted = false;
    std::priority_queue<Timer, std::vector<Timer>, Later> m_timers;
};

} // namespace ui
