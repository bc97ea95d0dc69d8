#pragma once

#include "ui/render/UiRect.h"

#include <cstdint>
#include <memory>
#include <string>

namespace ui {

class ImageInfo;

// One image slot of a control, set from an image attribute string such as
// "file='bk.png' corner='4,4,4,4'" or a bare file name.
class ImageAttribute {
public:
    static constexpr int kNotSet = -1;

    // Resets every field, keeps the string as attribute string and image
    // name, then applies Modify.
    void SetImageString(const std::wstring& text);
    // Overwrites only the fields the string names; a malformed pair ends
    // parsing and keeps what came before it.
    void Modify(const std::wstring& text);
    // Back to the defaults, dropping the shared image.
    void Clear();

    bool HasDest() const;
    bool HasSource() const;

    std::wstring attributeString;
    std::wstring imageName;
    UiRect dest{kNotSet, kNotSet, kNotSet, kNotSet}; // relative to the control
    bool destScaled = false;                         // dest went through the DPI scale
    UiRect source{kNotSet, kNotSet, kNotSet, kNotSet};
    UiRect corner;
    uint8_t fade = 255;
    bool xTiled = false;
    bool yTiled = false;
    int playCount = kNotSet;
    std::shared_ptr<ImageInfo> image;
    int currentFrame = 0;
};

} // namespace ui
