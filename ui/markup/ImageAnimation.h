#pragma once

#include "base/WeakFlag.h"
#include "ui/markup/ImageInfo.h"

#include <functional>
#include <memory>

namespace ui {

// Plays a multi-frame image for the control that shows it. The play count
// says how long: -1 (or any negative) forever, 0 until stopped, n for n
// loops, after which the animation rests on frame 0.
class ImageAnimation {
public:
    explicit ImageAnimation(std::function<void()> repaint) : m_repaint(std::move(repaint)) {}

    // A new image stops the running animation and starts counting afresh.
    void SetImage(std::shared_ptr<ImageInfo> image, int playCount);
    // Starts the animation when the image has several frames and it is not
    // playing or finished; drawing then shows the current frame.
    void Play();
    // Cancels the timer and goes back to frame 0.
    void Stop();
    // One timer tick: the next frame, a new timer when its delay differs.
    void OnTick();

    const std::shared_ptr<ImageInfo>& GetImage() const { return m_image; }
    bool IsPlaying() const { return m_playing; }
    int GetCurrentFrame() const { return m_frame; }
    int GetCompletedLoops() const { return m_loops; }

private:
    bool ShouldContinue() const;
    void StartTimer(uint32_t delayMs);

    std::function<void()> m_repaint;
    std::shared_ptr<ImageInfo> m_image;
    int m_playCount = -1;
    bool m_playing = false;
    int m_frame = 0;
    int m_loops = 0;
    // Released to cancel the running timer.
    std::shared_ptr<obase::WeakFlag> m_timerOwner;
};

} // namespace ui
