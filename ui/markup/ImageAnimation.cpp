#include "ui/markup/ImageAnimation.h"

#include "ui/markup/AnimationTimerManager.h"

namespace ui {

void ImageAnimation::SetImage(std::shared_ptr<ImageInfo> image, int playCount)
{
    Stop();
    m_image = std::move(image);
    m_playCount = playCount;
    m_loops = 0;
}

void ImageAnimation::Play()
{
    if (m_playing || !m_image || m_image->GetFrameCount() < 2)
        return;
    if (m_playCount > 0 && m_loops >= m_playCount)
        return;
    m_playing = true;
    StartTimer(m_image->GetFrameDelay(static_cast<size_t>(m_frame)));
}

void ImageAnimation::Stop()
{
    m_timerOwner.reset();
    m_playing = false;
    m_frame = 0;
}

bool ImageAnimation::ShouldContinue() const
{
    if (m_playCount < 0)
        return true;
    if (m_playCount == 0)
        return m_playing;
    return m_loops < m_playCount;
}

void ImageAnimation::OnTick()
{
    if (!m_image || !ShouldContinue()) {
        Stop();
        return;
    }
    const uint32_t oldDelay = m_image->GetFrameDelay(static_cast<size_t>(m_frame));
    if (static_cast<size_t>(++m_frame) >= m_image->GetFrameCount()) {
        m_frame = 0;
        ++m_loops;
    }
    const uint32_t newDelay = m_image->GetFrameDelay(static_cast<size_t>(m_frame));
    if (!ShouldContinue())
        Stop();
    else if (newDelay != oldDelay)
        StartTimer(newDelay);
    if (m_repaint)
        m_repaint();
}

void ImageAnimation::StartTimer(uint32_t delayMs)
{
    // Releasing the previous owner flag cancels the previous timer.
    m_timerOwner = std::make_shared<obase::WeakFlag>();
    AnimationTimerManager::GetInstance().AddTimer(
        m_timerOwner, [this] { OnTick(); }, delayMs, AnimationTimerManager::kRepeatForever);
}

} // namespace ui
