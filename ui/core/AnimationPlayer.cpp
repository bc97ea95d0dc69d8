#include "ui/core/AnimationPlayer.h"

#include "ui/core/FadeCurve.h"
#include "ui/markup/AnimationTimerManager.h"

#include <windows.h>

#include <algorithm>
#include <cstdlib>

namespace ui {

AnimationPlayer::AnimationPlayer(int32_t start, int32_t end, int64_t durationMs, StepCallback step)
    : m_start(start), m_end(end), m_durationUs(durationMs * 1000), m_step(std::move(step))
{
}

void AnimationPlayer::SetRange(int32_t start, int32_t end)
{
    m_start = start;
    m_end = end;
}

void AnimationPlayer::Play()
{
    Run(true);
}

void AnimationPlayer::PlayReverse()
{
    Run(false);
}

void AnimationPlayer::Reset()
{
    m_timerOwner.reset();
}

void AnimationPlayer::Run(bool forward)
{
    const int64_t now = NowMicroseconds();
    if (IsPlaying()) {
        if (forward == m_forward)
            return;
        // Turn around: the way back takes as long as the way so far took.
        const int64_t elapsed = std::min(now - m_startTime, m_durationUs);
        m_startTime = now - std::max<int64_t>(m_durationUs - elapsed, 0);
        m_forward = forward;
        return;
    }
    m_forward = forward;
    m_startTime = now;
    m_delivered = false;
    m_timerOwner = std::make_shared<obase::WeakFlag>();
    const int32_t distance = std::max(std::abs(m_end - m_start), 1);
    const auto interval =
        static_cast<uint32_t>(std::max<int64_t>(1, m_durationUs / 1000 / distance));
    AnimationTimerManager::GetInstance().AddTimer(
        m_timerOwner, [this] { OnTick(); }, interval, AnimationTimerManager::kRepeatForever);
}

void AnimationPlayer::OnTick()
{
    const int64_t elapsed = NowMicroseconds() - m_startTime;
    const int32_t from = m_forward ? m_start : m_end;
    const int32_t to = m_forward ? m_end : m_start;
    const int32_t value = FadeCurve::ValueAt(from, to, elapsed, m_durationUs);
    const bool done = elapsed >= m_durationUs;
    if (done)
        m_timerOwner.reset();
    if (!m_delivered || value != m_lastValue) {
        m_lastValue = value;
        m_delivered = true;
        if (m_step)
            m_step(value);
    }
    if (done && m_complete)
        m_complete();
}

int64_t AnimationPlayer::NowMicroseconds() const
{
    if (m_clock)
        return m_clock();
    LARGE_INTEGER frequency{};
    LARGE_INTEGER counter{};
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&counter);
    return counter.QuadPart / frequency.QuadPart * 1000000 +
           counter.QuadPart % frequency.QuadPart * 1000000 / frequency.QuadPart;
}

} // namespace ui
