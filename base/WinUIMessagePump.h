#pragma once

#include <atomic>
#include <cstdint>
#include <vector>

#include <windows.h>

#include "base/Dispatcher.h"
#include "base/MessagePump.h"

namespace obase {

// The pump of the UI loop: interleaves the thread's Windows messages with the
// loop's tasks. Wake-ups and delayed work go through a message-only window
// so that they also arrive while a modal loop of the system pumps messages.
class WinUIMessagePump : public MessagePump {
public:
    class Observer {
    public:
        virtual ~Observer() = default;
        virtual void WillProcessMessage(const MSG& message) = 0;
        virtual void DidProcessMessage(const MSG& message) = 0;
    };

    static constexpr const wchar_t* kWindowClass = L"LumoraMessagePumpWindow";
    static constexpr UINT kHaveWorkMessage = WM_USER + 1;
    static constexpr int kMessageFilterCode = 0x5001;
    static constexpr int64_t kMinTimerDelayMs = 10;
    // QS_ALLPOSTMESSAGE as well: a filtered PeekMessage that finds no posted
    // message in its range clears QS_POSTMESSAGE while others remain queued.
    static constexpr UINT kWakeMask = QS_ALLINPUT | QS_ALLPOSTMESSAGE;
    static constexpr int64_t kMessageCheckIntervalUs = 1000;

    WinUIMessagePump();
    ~WinUIMessagePump() override;
    WinUIMessagePump(const WinUIMessagePump&) = delete;
    WinUIMessagePump& operator=(const WinUIMessagePump&) = delete;

    void Run(Delegate* delegate) override { RunWithDispatcher(delegate, nullptr); }
    void RunWithDispatcher(Delegate* delegate, Dispatcher* dispatcher);
    void Quit() override;
    void ScheduleWork() override;
    void ScheduleDelayedWork(int64_t runTime) override;

    void AddObserver(Observer* observer);
    void RemoveObserver(Observer* observer);
    // While set, a wake-up takes only paint and timer messages in place of
    // itself, leaving the rest to the system's modal loop.
    void SetInOSModalLoop(bool inModalLoop) { m_inOSModalLoop = inModalLoop; }
    bool InOSModalLoop() const { return m_inOSModalLoop; }

private:
    enum class Look { kPeek, kAsk, kAskWhenDue };
    struct RunState {
        Delegate* delegate = nullptr;
        Dispatcher* dispatcher = nullptr;
        bool shouldQuit = false;
    };

    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void HandleWorkMessage();
    void HandleTimerMessage();
    void DoRunLoop();
    void WaitForWork();
    bool OnlyUntakeableMouseInput() const;
    bool ProcessNextWindowsMessage();
    static int64_t Ticks();
    static int64_t MessageCheckIntervalTicks();
    bool ProcessMessageHelper(MSG message);
    bool ProcessPumpReplacementMessage();
    DWORD CurrentDelayMs() const;
    void KillDelayedWorkTimer();

    HWND m_window = nullptr;
    std::atomic<bool> m_haveWork = false;
    int64_t m_delayedWorkTime = 0;
    bool m_timerArmed = false;
    bool m_wokeForInput = false;       // the last wait ended for input
    bool m_lastPeekTookWakeUp = false; // the last peek took a wake-up message
    Look m_nextLook = Look::kAsk;
    int64_t m_lastLookTicks = 0;
    RunState* m_state = nullptr;
    std::vector<Observer*> m_observers;
    bool m_inOSModalLoop = false;
};

} // namespace obase
