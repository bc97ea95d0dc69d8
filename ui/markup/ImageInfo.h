#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

namespace ui {

// A decoded skin image: one GDI bitmap per frame, shared by every image
// attribute that shows the same file.
class ImageInfo {
public:
    struct BitmapDeleter {
        void operator()(HBITMAP bitmap) const { ::DeleteObject(bitmap); }
    };
    using BitmapPtr = std::unique_ptr<std::remove_pointer_t<HBITMAP>, BitmapDeleter>;

    int width = 0;
    int height = 0;
    // The display scale (percent) the pixels are drawn for: 100 for the
    // skin's own images, more for the image sets of larger scales.
    int scale = 100;
    std::vector<BitmapPtr> frames;
    // The frame-delay property of multi-frame images, in 1/100 s per frame.
    std::vector<uint32_t> frameDelays;
    bool alphaChannel = false;
    bool cached = false;
    std::wstring cacheKey;

    size_t GetFrameCount() const { return frames.size(); }
    HBITMAP GetFrame(size_t index) const
    {
        return index < frames.size() ? frames[index].get() : nullptr;
    }
    // Milliseconds to show a frame: a delay below 30 ms becomes 100 ms, one
    // below 50 ms becomes 50 ms.
    uint32_t GetFrameDelay(size_t index) const;
};

} // namespace ui
