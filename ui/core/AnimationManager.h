#pragma once

#include "ui/core/AnimationPlayer.h"
#include "ui/core/AnimationType.h"

#include <map>
#include <memory>

namespace ui {

class Control;

// The fades of one control, switched on by its "fade..." attributes: the
// hot fade between the normal and hot looks, and the appear/disappear
// fades of SetVisibleWithFade (alpha, width, height, sliding in).
class AnimationManager {
public:
    static constexpr int64_t kHotFadeMs = 250;
    static constexpr int64_t kVisibleFadeMs = 250;

    explicit AnimationManager(Control& owner) : m_owner(owner) {}

    // Switches one fade on (creating its player) or off (dropping it).
    void SetFade(AnimationType type, bool enabled);
    AnimationPlayer* GetPlayer(AnimationType type) const;
    bool HasVisibleFade() const;

    void MouseEnter();
    void MouseLeave();
    void MouseUp();
    // Shows the owner and plays the switched-on fades towards full view.
    void Appear();
    // Plays them back and hides the owner when they are done.
    void Disappear();

private:
    void PrepareVisibleFade(AnimationType type, AnimationPlayer& player);
    void RestoreFullView();
    void OnDisappeared();

    Control& m_owner;
    std::map<AnimationType, std::unique_ptr<AnimationPlayer>> m_players;
};

} // namespace ui
