#pragma once

#include "ui/markup/ImageAttribute.h"
#include "ui/render/UiRect.h"

#include <string>

namespace ui {

class IRenderContext;
class ImageAnimation;

// What a control does to show one of its image attributes.
class ImagePainter {
public:
    static constexpr int kAttributeFade = -1;

    // Decodes (or finds in the cache) the attribute's image on first use.
    // windowResourcePath is the skin folder of the control's window.
    static bool LoadAttributeImage(ImageAttribute& attribute,
                                   const std::wstring& windowResourcePath);

    // Draws the current frame into controlRect (or the attribute's dest
    // relative to it), limited to paintRect. modify is applied to a copy of
    // the attribute; fade kAttributeFade uses the attribute's own. With an
    // animation, a multi-frame image plays and its current frame is shown.
    // False when there is no image to draw.
    static bool DrawImage(IRenderContext& context, ImageAttribute& attribute,
                          const UiRect& controlRect, const UiRect& paintRect,
                          const std::wstring& windowResourcePath,
                          const std::wstring& modify = std::wstring(), int fade = kAttributeFade,
                          ImageAnimation* animation = nullptr);
};

} // namespace ui
