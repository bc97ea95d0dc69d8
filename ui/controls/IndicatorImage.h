#pragma once

#include <memory>
#include <string>

namespace Gdiplus {
class GpImage;
} // namespace Gdiplus

namespace ui {

// The small image that rides on a circle progress's ring. It is decoded by
// GDI+ straight from a file on disk, so it cannot come from the zipped skin.
class IndicatorImage {
public:
    struct Deleter {
        void operator()(Gdiplus::GpImage* image) const;
    };
    using ImagePtr = std::unique_ptr<Gdiplus::GpImage, Deleter>;

    // Null when the file cannot be decoded.
    static std::unique_ptr<IndicatorImage> Load(const std::wstring& path);

    explicit IndicatorImage(ImagePtr image) : m_image(std::move(image)) {}

    void Rotate180();
    // 0 when GDI+ cannot answer; the failure is kept as the last status.
    unsigned GetWidth();
    unsigned GetHeight();
    int GetLastStatus() const { return m_lastStatus; }
    Gdiplus::GpImage* Get() const { return m_image.get(); }

private:
    ImagePtr m_image;
    int m_lastStatus = 0;
};

} // namespace ui
