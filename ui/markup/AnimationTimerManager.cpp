#include "ui/markup/AnimationTimerManager.h"

#include <mmsystem.h>

namespace ui {
namespace {

constexpr wchar_t kWindowClass[] = L"UI_ANIMATION_TIMERMANAGER_H_";
constexpr int64_t kLongGapMs = 1000;

} // namespace

AnimationTimerManager& AnimationTimerManager::GetInstance()
{
    static AnimationTimerManager instance;
    return instance;
}

AnimationTimerManager::AnimationTimerManager()
{
    LARGE_INTEGER frequency = {};
    if (::QueryPerformanceFrequency(&frequency) && frequency.QuadPart > 0)
        m_frequency = frequency.QuadPart;
    CreateMessageWindow();
}

AnimationTimerManager::~AnimationTimerManager()
{
    StopTicking();
    if (m_window != nullptr)
        ::DestroyWindow(m_window);
}

bool AnimationTimerManager::CreateMessageWindow()
{
    HINSTANCE instance = ::GetModuleHandleW(nullptr);
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = &AnimationTimerManager::WindowProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = kWindowClass;
    if (!::RegisterClassW(&windowClass) && ::GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
        return false;
    m_window =
        ::CreateWindowW(kWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance, nullptr);
    return m_window != nullptr;
}

int64_t AnimationTimerManager::Now() const
{
    LARGE_INTEGER now = {};
    ::QueryPerformanceCounter(&now);
    return now.QuadPart;
}

int64_t AnimationTimerManager::Ticks(uint32_t ms) const
{
    return static_cast<int64_t>(ms) * m_frequency / 1000;
}

bool AnimationTimerManager::AddTimer(std::weak_ptr<obase::WeakFlag> owner,
                                     std::function<void()> callback, uint32_t intervalMs,
                                     int repeatCount)
{
    if (m_window == nullptr || !callback)
        return false;
    Timer timer;
    timer.owner = std::move(owner);
    timer.callback = std::move(callback);
    timer.intervalMs = intervalMs;
    timer.repeatCount = repeatCount;
    timer.due = Now() + Ticks(intervalMs);
    timer.sequence = m_nextSequence++;
    m_timers.push(std::move(timer));
    if (m_tickPeriod != kTickPeriodMs)
        StartTicking(kTickPeriodMs);
    return true;
}

void AnimationTimerManager::Poll()
{
    m_tickPosted = false;
    const int64_t now = Now();
    while (!m_timers.empty() && m_timers.top().due <= now) {
        Timer timer = m_timers.top();
        m_timers.pop();
        // A timer whose owner is gone ends here, also a repeating one.
        if (timer.owner.expired())
            continue;
        timer.callback();
        if (timer.repeatCount > 0)
            --timer.repeatCount;
        if (timer.repeatCount == 0 || timer.owner.expired())
            continue;
        timer.due = now + Ticks(timer.intervalMs);
        m_timers.push(std::move(timer));
    }

    if (m_timers.empty()) {
        StopTicking();
        return;
    }
    const int64_t remainingMs = (m_timers.top().due - now) * 1000 / m_frequency;
    if (remainingMs >= kLongGapMs)
        StartTicking(static_cast<uint32_t>(remainingMs + 2));
    else if (m_tickPeriod != kTickPeriodMs)
        StartTicking(kTickPeriodMs);
}

void AnimationTimerManager::StartTicking(uint32_t periodMs)
{
    StopTicking();
    m_timerId =
        ::timeSetEvent(periodMs, 1, &AnimationTimerManager::OnMultimediaTimer,
                       reinterpret_cast<DWORD_PTR>(this), TIME_PERIODIC | TIME_CALLBACK_FUNCTION);
    m_tickPeriod = m_timerId != 0 ? periodMs : 0;
}

void AnimationTimerManager::StopTicking()
{
    if (m_timerId != 0)
        ::timeKillEvent(m_timerId);
    m_timerId = 0;
    m_tickPeriod = 0;
}

// Runs on the multimedia timer's own thread: only posts.
void CALLBACK AnimationTimerManager::OnMultimediaTimer(UINT, UINT, DWORD_PTR user, DWORD_PTR,
                                                       DWORD_PTR)
{
    auto* manager = reinterpret_cast<AnimationTimerManager*>(user);
    if (!manager->m_tickPosted.exchange(true))
        ::PostMessageW(manager->m_window, kTickMessage, 0, 0);
}

LRESULT CALLBACK AnimationTimerManager::WindowProc(HWND window, UINT message, WPARAM wParam,
                                                   LPARAM lParam)
{
    if (message == kTickMessage) {
        GetInstance().Poll();
        return 0;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

} // namespace ui
