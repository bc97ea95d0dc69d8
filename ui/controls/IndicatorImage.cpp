#include "ui/controls/IndicatorImage.h"

#include "ui/render/GdiPlusApi.h"

namespace ui {

void IndicatorImage::Deleter::operator()(Gdiplus::GpImage* image) const
{
    gdip::GdipDisposeImage(image);
}

std::unique_ptr<IndicatorImage> IndicatorImage::Load(const std::wstring& path)
{
    Gdiplus::GpImage* image = nullptr;
    if (gdip::GdipLoadImageFromFile(path.c_str(), &image) != gdip::Ok || image == nullptr)
        return nullptr;
    return std::make_unique<IndicatorImage>(ImagePtr(image));
}

void IndicatorImage::Rotate180()
{
    m_lastStatus = gdip::GdipImageRotateFlip(m_image.get(), Gdiplus::Rotate180FlipNone);
}

unsigned IndicatorImage::GetWidth()
{
    UINT width = 0;
    const gdip::GpStatus status = gdip::GdipGetImageWidth(m_image.get(), &width);
    if (status != gdip::Ok) {
        m_lastStatus = status;
        return 0;
    }
    return width;
}

unsigned IndicatorImage::GetHeight()
{
    UINT height = 0;
    const gdip::GpStatus status = gdip::GdipGetImageHeight(m_image.get(), &height);
    if (status != gdip::Ok) {
        m_lastStatus = status;
        return 0;
    }
    return height;
}

} // namespace ui
