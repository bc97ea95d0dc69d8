#pragma once

#include "ui/core/ControlState.h"
#include "ui/markup/ImageAttribute.h"

#include <cstdint>
#include <string>

namespace ui {

class Control;
class IRenderContext;

// Which image set of a control: background and fore state images, and the
// selected variants that check boxes add.
enum StateImageType : int32_t {
    kStateImageBk = 0,
    kStateImageFore = 1,
    kStateImageSelectedBk = 2,
    kStateImageSelectedFore = 3,
};

// The four state images of one image set.
class StateImageMap {
public:
    ImageAttribute& Get(ControlState state) { return m_images[Index(state)]; }
    const ImageAttribute& Get(ControlState state) const { return m_images[Index(state)]; }
    void Set(ControlState state, const std::wstring& image) { Get(state).SetImageString(image); }
    bool HasHotImage() const { return !Get(kControlStateHot).imageName.empty(); }
    bool HasImage() const;

    // The same fallbacks as the state colours; while the hot fade runs the
    // hot image is drawn over the normal one at fade x hotAlpha / 255.
    void Paint(Control& control, IRenderContext& context, ControlState state, int32_t hotAlpha,
               bool hotFade);
    void ClearCache();
    // Each image set again from its string (destinations at the current
    // scale).
    void Reparse();

private:
    static int Index(ControlState state) { return state >= 0 && state <= 3 ? state : 0; }

    ImageAttribute m_images[4];
};

} // namespace ui
