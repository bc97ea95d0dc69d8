#pragma once

#include "ui/core/ControlState.h"
#include "ui/render/UiRect.h"

#include <cstdint>
#include <string>

namespace ui {

class IRenderContext;

// The four state colours of a control (colour names resolved at paint time).
class StateColorMap {
public:
    const std::wstring& Get(ControlState state) const { return m_colors[Index(state)]; }
    // Answers whether the colour changed.
    bool Set(ControlState state, const std::wstring& color);
    bool HasHotColor() const { return !m_colors[kControlStateHot].empty(); }

    // The colour painted for a state: pushed falls back to hot, hot and
    // disabled fall back to normal.
    const std::wstring& Resolve(ControlState state) const;
    // While the hot fade runs over normal and hot, the hot colour is laid
    // over the normal one with the fade's alpha; otherwise one colour.
    void Paint(IRenderContext& context, const UiRect& rect, ControlState state, int32_t hotAlpha,
               bool hotFade) const;

private:
    static int Index(ControlState state) { return state >= 0 && state <= 3 ? state : 0; }

    std::wstring m_colors[4];
};

} // namespace ui
