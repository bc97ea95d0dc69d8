#include "base/WinUIMessagePump.h"

#include <algorithm>
#include <utility>

#include "base/LoopClock.h"

namespace obase {

WinUIMessagePump::WinUIMessagePump()
{
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = &WindowProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = kWindowClass;
    // Fails harmlessly when a pump on another thread registered the class.
    RegisterClassExW(&windowClass);
    m_window = CreateWindowExW(0, kWindowClass, nullptr, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                               instance, nullptr);
    if (m_window)
        SetWindowLongPtrW(m_window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

WinUIMessagePump::~WinUIMessagePump()
{
    if (m_window)
        DestroyWindow(m_window);
    // Fails harmlessly while another thread's pump window still uses the class.
    UnregisterClassW(kWindowClass, GetModuleHandleW(nullptr));
}

LRESULT CALLBACK WinUIMessagePump::WindowProc(HWND window, UINT message, WPARAM wParam,
                                              LPARAM lParam)
{
    auto* pump = reinterpret_cast<WinUIMessagePump*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (pump && wParam == reinterpret_cast<WPARAM>(pump)) {
        if (message == kHaveWorkMessage)
            pump->HandleWorkMessage();
        else if (message == WM_TIMER)
            pump->HandleTimerMessage();
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

// Reached when a message loop other than ours (a modal dialog, a menu, the
// move/size loop) dispatched the wake-up message.
void WinUIMessagePump::HandleWorkMessage()
{
    if (!m_state) {
        m_haveWork = false;
        return;
    }
    ProcessPumpReplacementMessage();
    if (m_state && m_state->delegate->DoWork())
        ScheduleWork();
}

void WinUIMessagePump::HandleTimerMessage()
{
    KillDelayedWorkTimer();
    if (!m_state)
        return;
    m_state->delegate->DoDelayedWork(&m_delayedWorkTime);
    if (m_delayedWorkTime != 0)
        ScheduleDelayedWork(m_delayedWorkTime);
}

void WinUIMessagePump::RunWithDispatcher(Delegate* delegate, Dispatcher* dispatcher)
{
    RunState state;
    state.delegate = delegate;
    state.dispatcher = dispatcher;
    RunState* const enclosing = m_state;
    m_state = &state;
    DoRunLoop();
    m_state = enclosing;
}

// Each call into the window system is a round trip to the window server
// under Wine. A wake-up for one task makes three: the wait, the peek that
// takes the wake-up message, and the queue status that finds nothing more.
void WinUIMessagePump::DoRunLoop()
{
    for (;;) {
        bool moreWork = ProcessNextWindowsMessage();
        if (m_state->shouldQuit)
            break;
        moreWork |= m_state->delegate->DoWork();
        if (m_state->shouldQuit)
            break;
        moreWork |= m_state->delegate->DoDelayedWork(&m_delayedWorkTime);
        // The timer only serves delayed work; once none is left it must not
        // keep waking the thread.
        if (moreWork && m_delayedWorkTime == 0)
            KillDelayedWorkTimer();
        if (m_state->shouldQuit)
            break;
        if (moreWork) {
            m_wokeForInput = false;
            continue;
        }
        moreWork = m_state->delegate->DoIdleWork();
        if (m_state->shouldQuit)
            break;
        if (moreWork) {
            m_wokeForInput = false;
            continue;
        }
        WaitForWork();
    }
}

void WinUIMessagePump::WaitForWork()
{
    // Mouse input can be reported as available while no mouse message can be
    // taken; waiting for available input would then return again and again.
    // That shows as a wake-up for input after which the loop found nothing to
    // do, and only then is it worth the extra calls to look.
    if (m_wokeForInput && OnlyUntakeableMouseInput()) {
        // Wait for new input only. The queue is looked at last, so anything
        // posted after that look is new and ends the wait.
        if (HIWORD(GetQueueStatus(kWakeMask & ~QS_MOUSE)) == 0)
            MsgWaitForMultipleObjectsEx(0, nullptr, CurrentDelayMs(), kWakeMask, 0);
        m_wokeForInput = false;
        m_nextLook = Look::kAsk;
        return;
    }
    const DWORD result =
        MsgWaitForMultipleObjectsEx(0, nullptr, CurrentDelayMs(), kWakeMask, MWMO_INPUTAVAILABLE);
    m_wokeForInput = result == WAIT_OBJECT_0;
    m_nextLook = m_wokeForInput ? Look::kPeek : Look::kAsk;
}

bool WinUIMessagePump::OnlyUntakeableMouseInput() const
{
    const DWORD pending = HIWORD(GetQueueStatus(kWakeMask));
    MSG message;
    return pending != 0 && (pending & ~QS_MOUSE) == 0 &&
           !PeekMessageW(&message, nullptr, WM_MOUSEFIRST, WM_MOUSELAST, PM_NOREMOVE);
}

// How the next pass looks at the message queue. An empty PeekMessage is the
// dearest call of the loop (under Wine it also polls the display driver and
// waits on the server once more), so the queue status is asked first unless
// a message is expected: after a wait that ended for input, or after a pass
// that took a window message. While tasks keep running and no message is
// expected, the queue is asked at most once per kMessageCheckIntervalUs: a
// burst of tasks then costs no call into the window system per task, and a
// window message waits at most that long (plus one task) behind them.
//
// Sent messages are delivered inside PeekMessage even when it then returns
// nothing. That is not counted as work: whatever their handlers start either
// posts a message or a task (which posts the wake-up), and a message in the
// queue ends the next wait at once.
bool WinUIMessagePump::ProcessNextWindowsMessage()
{
    const Look look = std::exchange(m_nextLook, Look::kAskWhenDue);
    const int64_t now = Ticks();
    if (look == Look::kAskWhenDue && now - m_lastLookTicks < MessageCheckIntervalTicks())
        return false;
    m_lastLookTicks = now;
    if (look != Look::kPeek && HIWORD(GetQueueStatus(kWakeMask)) == 0) {
        m_lastPeekTookWakeUp = false;
        return false;
    }
    MSG message;
    if (!PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        m_lastPeekTookWakeUp = false;
        return false;
    }
    if (message.message == kHaveWorkMessage && message.hwnd == m_window) {
        m_nextLook = Look::kAsk;
        // The loop calls DoWork right after this, so the wake-up needs no
        // replacement message. When wake-ups come look after look (a task
        // that posts a task), one is taken in their place so that input,
        // paint and timer messages, which rank below posted ones, still get
        // through.
        if (std::exchange(m_lastPeekTookWakeUp, true))
            return ProcessPumpReplacementMessage();
        m_haveWork = false;
        return false;
    }
    m_lastPeekTookWakeUp = false;
    m_nextLook = Look::kPeek;
    return ProcessMessageHelper(message);
}

int64_t WinUIMessagePump::Ticks()
{
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now.QuadPart;
}

int64_t WinUIMessagePump::MessageCheckIntervalTicks()
{
    static const int64_t interval = [] {
        LARGE_INTEGER frequency;
        QueryPerformanceFrequency(&frequency);
        return frequency.QuadPart * kMessageCheckIntervalUs / 1000000;
    }();
    return interval;
}

bool WinUIMessagePump::ProcessMessageHelper(MSG message)
{
    if (message.message == WM_QUIT) {
        // Put it back so that every enclosing loop ends as well.
        m_state->shouldQuit = true;
        PostQuitMessage(static_cast<int>(message.wParam));
        return false;
    }
    if (message.message == kHaveWorkMessage && message.hwnd == m_window)
        return ProcessPumpReplacementMessage();
    if (CallMsgFilterW(&message, kMessageFilterCode))
        return true;

    // Observers may add or remove observers while being told.
    for (Observer* observer : std::vector<Observer*>(m_observers))
        observer->WillProcessMessage(message);
    if (m_state->dispatcher) {
        if (!m_state->dispatcher->Dispatch(message))
            m_state->shouldQuit = true;
    } else {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    for (Observer* observer : std::vector<Observer*>(m_observers))
        observer->DidProcessMessage(message);
    return true;
}

// A wake-up message was taken out of the queue. Take one other message in its
// place so that a steady stream of tasks cannot starve the Windows messages,
// and re-arm the wake-up before handling it, as handling may take long.
bool WinUIMessagePump::ProcessPumpReplacementMessage()
{
    MSG message;
    bool haveMessage = false;
    if (m_inOSModalLoop) {
        haveMessage = PeekMessageW(&message, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE) ||
                      PeekMessageW(&message, nullptr, WM_TIMER, WM_TIMER, PM_REMOVE);
    } else {
        haveMessage = PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE) != FALSE;
    }
    m_haveWork = false;
    if (!haveMessage)
        return false;
    ScheduleWork();
    return ProcessMessageHelper(message);
}

void WinUIMessagePump::Quit()
{
    if (m_state)
        m_state->shouldQuit = true;
}

void WinUIMessagePump::ScheduleWork()
{
    if (m_haveWork.exchange(true))
        return;
    // A failed post (no window, full queue) leaves no wake-up outstanding:
    // clear the flag so that the next post tries again instead of never.
    if (!m_window || !PostMessageW(m_window, kHaveWorkMessage, reinterpret_cast<WPARAM>(this), 0))
        m_haveWork = false;
}

void WinUIMessagePump::ScheduleDelayedWork(int64_t runTime)
{
    m_delayedWorkTime = runTime;
    const int64_t ms = (runTime - LoopClock::Now() + 999) / 1000;
    const int64_t delay = std::clamp<int64_t>(ms, kMinTimerDelayMs, 0xFFFFFFFE);
    const auto timerId = reinterpret_cast<UINT_PTR>(this);
    m_timerArmed = SetTimer(m_window, timerId, static_cast<UINT>(delay), nullptr) != 0;
}

// Killing a timer that is not armed costs a system call per task for nothing.
void WinUIMessagePump::KillDelayedWorkTimer()
{
    if (!m_timerArmed)
        return;
    KillTimer(m_window, reinterpret_cast<UINT_PTR>(this));
    m_timerArmed = false;
}

DWORD WinUIMessagePump::CurrentDelayMs() const
{
    if (m_delayedWorkTime == 0)
        return INFINITE;
    const int64_t remaining = m_delayedWorkTime - LoopClock::Now();
    if (remaining <= 0)
        return 0;
    return static_cast<DWORD>(std::min<int64_t>((remaining + 999) / 1000, INFINITE - 1));
}

void WinUIMessagePump::AddObserver(Observer* observer)
{
    m_observers.push_back(observer);
}

void WinUIMessagePump::RemoveObserver(Observer* observer)
{
    std::erase(m_observers, observer);
}

} // namespace obase
