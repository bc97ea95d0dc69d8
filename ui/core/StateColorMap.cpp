#include "ui/core/StateColorMap.h"

#include "ui/render/IRenderContext.h"

namespace ui {

bool StateColorMap::Set(ControlState state, const std::wstring& color)
{
    std::wstring& slot = m_colors[Index(state)];
    if (slot == color)
        return false;
    slot = color;
    return true;
}

const std::wstring& StateColorMap::Resolve(ControlState state) const
{
    if (state == kControlStatePushed && Get(kControlStatePushed).empty())
        state = kControlStateHot;
    if ((state == kControlStateHot || state == kControlStateDisabled) && Get(state).empty())
        state = kControlStateNormal;
    return Get(state);
}

void StateColorMap::Paint(IRenderContext& context, const UiRect& rect, ControlState state,
                          int32_t hotAlpha, bool hotFade) const
{
    if (hotFade && HasHotColor() && (state == kControlStateNormal || state == kControlStateHot)) {
        context.DrawColor(rect, Get(kControlStateNormal), 255);
        if (hotAlpha > 0)
            context.DrawColor(rect, Get(kControlStateHot), static_cast<uint8_t>(hotAlpha));
        return;
    }
    context.DrawColor(rect, Resolve(state), 255);
}

} // namespace ui
