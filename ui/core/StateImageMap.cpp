#include "ui/core/StateImageMap.h"

#include "ui/core/Control.h"

namespace ui {

bool StateImageMap::HasImage() const
{
    for (const ImageAttribute& image : m_images) {
        if (!image.imageName.empty())
            return true;
    }
    return false;
}

void StateImageMap::Paint(Control& control, IRenderContext& context, ControlState state,
                          int32_t hotAlpha, bool hotFade)
{
    if (hotFade && HasHotImage() && (state == kControlStateNormal || state == kControlStateHot)) {
        control.DrawImage(context, Get(kControlStateNormal));
        if (hotAlpha > 0) {
            ImageAttribute& hot = Get(kControlStateHot);
            control.DrawImage(context, hot, std::wstring(), hot.fade * hotAlpha / 255);
        }
        return;
    }
    if (state == kControlStatePushed && Get(kControlStatePushed).imageName.empty())
        state = kControlStateHot;
    if ((state == kControlStateHot || state == kControlStateDisabled) &&
        Get(state).imageName.empty())
        state = kControlStateNormal;
    control.DrawImage(context, Get(state));
}

void StateImageMap::ClearCache()
{
    for (ImageAttribute& image : m_images)
        image.image.reset();
}

void StateImageMap::Reparse()
{
    for (ImageAttribute& image : m_images)
        image.SetImageString(image.attributeString);
}

} // namespace ui
