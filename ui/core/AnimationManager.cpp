#include "ui/core/AnimationManager.h"

#include "ui/core/Control.h"

#include <algorithm>

namespace ui {

void AnimationManager::SetFade(AnimationType type, bool enabled)
{
    if (!enabled) {
        m_players.erase(type);
        return;
    }
    if (m_players.count(type) != 0)
        return;
    Control& owner = m_owner;
    AnimationPlayer::StepCallback step;
    switch (type) {
    case kAnimationHot:
        step = [&owner](int32_t value) { owner.SetHotAlpha(value); };
        break;
    case kAnimationAlpha:
        step = [&owner](int32_t value) { owner.SetAlpha(value); };
        break;
    case kAnimationWidth:
        step = [&owner](int32_t value) { owner.SetFixedWidth(value, true, false); };
        break;
    case kAnimationHeight:
        step = [&owner](int32_t value) { owner.SetFixedHeight(value, true, false); };
        break;
    case kAnimationInoutXFromLeft:
    case kAnimationInoutXFromRight:
        step = [&owner](int32_t value) {
            owner.SetRenderOffset(UiPoint(value, owner.GetRenderOffset().y));
        };
        break;
    case kAnimationInoutYFromTop:
    case kAnimationInoutYFromBottom:
        step = [&owner](int32_t value) {
            owner.SetRenderOffset(UiPoint(owner.GetRenderOffset().x, value));
        };
        break;
    }
    const int64_t duration = type == kAnimationHot ? kHotFadeMs : kVisibleFadeMs;
    auto player = std::make_unique<AnimationPlayer>(0, 255, duration, std::move(step));
    if (type != kAnimationHot) {
        AnimationPlayer* raw = player.get();
        player->SetCompleteCallback([this, raw] {
            if (raw->IsReversed())
                OnDisappeared();
        });
    }
    m_players[type] = std::move(player);
}

AnimationPlayer* AnimationManager::GetPlayer(AnimationType type) const
{
    const auto found = m_players.find(type);
    return found != m_players.end() ? found->second.get() : nullptr;
}

bool AnimationManager::HasVisibleFade() const
{
    for (const auto& [type, player] : m_players) {
        if (type != kAnimationHot)
            return true;
    }
    return false;
}

void AnimationManager::MouseEnter()
{
    if (AnimationPlayer* hot = GetPlayer(kAnimationHot))
        hot->Play();
}

void AnimationManager::MouseLeave()
{
    if (AnimationPlayer* hot = GetPlayer(kAnimationHot))
        hot->PlayReverse();
}

void AnimationManager::MouseUp()
{
    if (AnimationPlayer* hot = GetPlayer(kAnimationHot))
        hot->Reset();
}

void AnimationManager::Appear()
{
    m_owner.SetVisible(true);
    for (auto& [type, player] : m_players) {
        if (type == kAnimationHot)
            continue;
        PrepareVisibleFade(type, *player);
        player->Play();
    }
}

void AnimationManager::Disappear()
{
    bool playing = false;
    for (auto& [type, player] : m_players) {
        if (type == kAnimationHot)
            continue;
        PrepareVisibleFade(type, *player);
        player->PlayReverse();
        playing = true;
    }
    if (!playing)
        m_owner.SetVisible(false);
}

void AnimationManager::PrepareVisibleFade(AnimationType type, AnimationPlayer& player)
{
    // A running fade keeps its range so that it can turn around.
    if (player.IsPlaying())
        return;
    const UiRect rect = m_owner.GetRect();
    switch (type) {
    case kAnimationAlpha:
        player.SetRange(0, 255);
        break;
    case kAnimationWidth:
        player.SetRange(0, std::max(m_owner.GetFixedWidth(), 0));
        break;
    case kAnimationHeight:
        player.SetRange(0, std::max(m_owner.GetFixedHeight(), 0));
        break;
    case kAnimationInoutXFromLeft:
        player.SetRange(-rect.Width(), 0);
        break;
    case kAnimationInoutXFromRight:
        player.SetRange(rect.Width(), 0);
        break;
    case kAnimationInoutYFromTop:
        player.SetRange(-rect.Height(), 0);
        break;
    case kAnimationInoutYFromBottom:
        player.SetRange(rect.Height(), 0);
        break;
    case kAnimationHot:
        break;
    }
}

void AnimationManager::OnDisappeared()
{
    for (const auto& [type, player] : m_players) {
        if (type != kAnimationHot && player->IsPlaying())
            return;
    }
    m_owner.SetVisible(false);
    RestoreFullView();
}

void AnimationManager::RestoreFullView()
{
    // Hidden now: the next plain SetVisible(true) must show the full control.
    for (const auto& [type, player] : m_players) {
        if (type == kAnimationHot)
            continue;
        switch (type) {
        case kAnimationAlpha:
            m_owner.SetAlpha(255);
            break;
        case kAnimationWidth:
            m_owner.SetFixedWidth(player->GetEndValue(), true, false);
            break;
        case kAnimationHeight:
            m_owner.SetFixedHeight(player->GetEndValue(), true, false);
            break;
        default:
            m_owner.SetRenderOffset(UiPoint());
            break;
        }
    }
}

} // namespace ui
