#include "base/WinUIMessagePump.h"

#include <algorithm>

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
        if (moreWork)
            continue;
        moreWork = m_state->delegate->DoIdleWork();
        if (m_state->shouldQuit)
            break;
        if (moreWork)
            continue;
        WaitForWork();
    }
}

void WinUIMessagePump::WaitForWork()
{
    const DWORD result =
        MsgWaitForMultipleObjectsEx(0, nullptr, CurrentDelayMs(), QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    if (result != WAIT_OBJECT_0)
        return;
    // Mouse input can be reported as available while no mouse message is in
    // the queue; the wait would then return at once again and again. Block
    // until a new message arrives instead.
    const DWORD pending = HIWORD(GetQueueStatus(QS_ALLINPUT));
    MSG message;
    if (pending != 0 && (pending & ~QS_MOUSE) == 0 &&
        !PeekMessageW(&message, nullptr, WM_MOUSEFIRST, WM_MOUSELAST, PM_NOREMOVE))
        WaitMessage();
}

bool WinUIMessagePump::ProcessNextWindowsMessage()
{
    // PeekMessage delivers pending sent messages itself, which counts as work
    // even when it then finds nothing to return.
    const bool sentMessagesPending = (HIWORD(GetQueueStatus(QS_SENDMESSAGE)) & QS_SENDMESSAGE) != 0;
    MSG message;
    if (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
        return ProcessMessageHelper(message);
    return sentMessagesPending;
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
