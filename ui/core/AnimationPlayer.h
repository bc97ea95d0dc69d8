#pragma once

#include "base/WeakFlag.h"

#include <cstdint>
#include <functional>
#include <memory>

namespace ui {

// Moves a value from start to end along the fade curve, calling `step` for
// every new value on the animation timers. Playing the other way while it
// runs turns it around where it stands.
class AnimationPlayer {
public:
    using StepCallback = std::function<void(int32_t value)>;
    using CompleteCallback = std::function<void()>;
    // Microseconds on any fixed origin.
    using Clock = std::function<int64_t()>;

    AnimationPlayer(int32_t start, int32_t end, int64_t durationMs, StepCallback step);

    void SetRange(int32_t start, int32_t end);
    int32_t GetStartValue() const { return m_start; }
    int32_t GetEndValue() const { return m_end; }
    void SetCompleteCallback(CompleteCallback complete) { m_complete = std::move(complete); }
    // The clock the fade's course follows; the performance counter unless
    // replaced. The timer ticks only make the player look at it.
    void SetClock(Clock clock) { m_clock = std::move(clock); }

    void Play();        // start towards end
    void PlayReverse(); // end towards start
    // Stops where it stands; no further steps.
    void Reset();
    bool IsPlaying() const { return m_timerOwner != nullptr; }
    bool IsReversed() const { return !m_forward; }

private:
    void Run(bool forward);
    void OnTick();
    int64_t NowMicroseconds() const;

    int32_t m_start;
    int32_t m_end;
    int64_t m_durationUs;
    StepCallback m_step;
    CompleteCallback m_complete;
    Clock m_clock;
    bool m_forward = true;
    int64_t m_startTime = 0;
    int32_t m_lastValue = 0;
    bool m_delivered = false;
    // Released to cancel the running timer.
    std::shared_ptr<obase::WeakFlag> m_timerOwner;
};

} // namespace ui
