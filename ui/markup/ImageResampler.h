#pragma once

#include "ui/markup/ImageInfo.h"

namespace ui {

// Scales a decoded image's frames to another size with high-quality
// (bicubic) filtering: an image set drawn for a larger display scale
// brought down to the scale in use, once when it is decoded.
class ImageResampler {
public:
    // False when a frame cannot be scaled; the image is then unchanged.
    static bool Resize(ImageInfo& image, int width, int height);
};

} // namespace ui
