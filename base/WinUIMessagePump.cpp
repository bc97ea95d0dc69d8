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
    window_ = CreateWindowExW(0, kWindowClass, nullptr, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                              instance, nullptr);
    if (window_)
        SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

WinUIMessagePump::~WinUIMessagePump()
{
    if (window_)
        DestroyWindow(window_);
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
    if (!state_) {
        haveWork_ = false;
        return;
    }
    ProcessPumpReplacementMessage();
    if (state_ && state_->delegate->DoWork())
        ScheduleWork();
}

void WinUIMessagePump::HandleTimerMessage()
{
    KillDelayedWorkTimer();
    if (!state_)
        return;
    state_->delegate->DoDelayedWork(&delayedWorkTime_);
    if (delayedWorkTime_ != 0)
        ScheduleDelayedWork(delayedWorkTime_);
}

void WinUIMessagePump::RunWithDispatcher(Delegate* delegate, Dispatcher* dispatcher)
{
    RunState state;
    state.delegate = delegate;
    state.dispatcher = dispatcher;
    RunState* const enclosing = state_;
    state_ = &state;
    DoRunLoop();
    state_ = enclosing;
}

void WinUIMessagePump::DoRunLoop()
{
    for (;;) {
        bool moreWork = ProcessNextWindowsMessage();
        if (state_->shouldQuit)
            break;
        moreWork |= state_->delegate->DoWork();
        if (state_->shouldQuit)
            break;
        moreWork |= state_->delegate->DoDelayedWork(&delayedWorkTime_);
        // The timer only serves delayed work; once none is left it must not
        // keep waking the thread.
        if (moreWork && delayedWorkTime_ == 0)
            KillDelayedWorkTimer();
        if (state_->shouldQuit)
            break;
        if (moreWork)
            continue;
        moreWork = state_->delegate->DoIdleWork();
        if (state_->shouldQuit)
            break;
        if (moreWork)
            continue;
        WaitForWork();
    }
}

void WinUIMessagePump::WaitForWork()
{
    const DWORD result = MsgWaitForMultipleObjectsEx(0, nullptr, CurrentDelayMs(), QS_ALLINPUT,
                                                     MWMO_INPUTAVAILABLE);
    if (result != WAIT_OBJECT_0)
        return;
    // Mouse input can be reported as available while no mouse message is in
    // the queue; the wait would then return at once again and again. Block
    // until a new message arrives instead.
    const DWORD pending = HIWORD(GetQueueStatus(QS_ALLINPUT));
    MSG message;
    if (pending != 0 && (pending & ~QS_MOUSE) == 0
        && !PeekMessageW(&message, nullptr, WM_MOUSEFIRST, WM_MOUSELAST, PM_NOREMOVE))
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
        state_->shouldQuit = true;
        PostQuitMessage(static_cast<int>(message.wParam));
        return false;
    }
    if (message.message == kHaveWorkMessage && message.hwnd == window_)
        return ProcessPumpReplacementMessage();
    if (CallMsgFilterW(&message, kMessageFilterCode))
        return true;

    // Observers may add or remove observers while being told.
    for (Observer* observer : std::vector<Observer*>(observers_))
        observer->WillProcessMessage(message);
    if (state_->dispatcher) {
        if (!state_->dispatcher->Dispatch(message))
            state_->shouldQuit = true;
    } else {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    for (Observer* observer : std::vector<Observer*>(observers_))
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
    if (inOSModalLoop_) {
        haveMessage = PeekMessageW(&message, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE)
            || PeekMessageW(&message, nullptr, WM_TIMER, WM_TIMER, PM_REMOVE);
    } else {
        haveMessage = PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE) != FALSE;
    }
    haveWork_ = false;
    if (!haveMessage)
        return false;
    ScheduleWork();
    return ProcessMessageHelper(message);
}

void WinUIMessagePump::Quit()
{
    if (state_)
        state_->shouldQuit = true;
}

void WinUIMessagePump::ScheduleWork()
{
    if (haveWork_.exchange(true))
        return;
    // A failed post (no window, full queue) leaves no wake-up outstanding:
    // clear the flag so that the next post tries again instead of never.
    if (!window_ || !PostMessageW(window_, kHaveWorkMessage, reinterpret_cast<WPARAM>(this), 0))
        haveWork_ = false;
}

void WinUIMessagePump::ScheduleDelayedWork(int64_t runTime)
{
    delayedWorkTime_ = runTime;
    const int64_t ms = (runTime - LoopClock::Now() + 999) / 1000;
    const int64_t delay = std::clamp<int64_t>(ms, kMinTimerDelayMs, 0xFFFFFFFE);
    const auto timerId = reinterpret_cast<UINT_PTR>(this);
    timerArmed_ = SetTimer(window_, timerId, static_cast<UINT>(delay), nullptr) != 0;
}

// Killing a timer that is not armed costs a system call per task for nothing.
void WinUIMessagePump::KillDelayedWorkTimer()
{
    if (!timerArmed_)
        return;
    KillTimer(window_, reinterpret_cast<UINT_PTR>(this));
    timerArmed_ = false;
}

DWORD WinUIMessagePump::CurrentDelayMs() const
{
    if (delayedWorkTime_ == 0)
        return INFINITE;
    const int64_t remaining = delayedWorkTime_ - LoopClock::Now();
    if (remaining <= 0)
        return 0;
    return static_cast<DWORD>(std::min<int64_t>((remaining + 999) / 1000, INFINITE - 1));
}

void WinUIMessagePump::AddObserver(Observer* observer)
{
    observers_.push_back(observer);
}

void WinUIMessagePump::RemoveObserver(Observer* observer)
{
    std::erase(observers_, observer);
}

}  // namespace obase
