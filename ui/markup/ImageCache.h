#pragma once

#include "ui/markup/ImageInfo.h"

#include <map>
#include <memory>
#include <string>

namespace ui {

// The process-wide cache of decoded skin images. It holds them weakly:
// an image lives while some image attribute holds it, and the last release
// removes its entry, so the next use decodes the file again. UI thread only.
class ImageCache {
public:
    static ImageCache& GetInstance();

    // A relative image name is taken under the resource root and the
    // window's resource path; "/" becomes "\" and "\\" becomes "\".
    static std::wstring GetFullPath(const std::wstring& windowResourcePath,
                                    const std::wstring& imageName);

    // The cached image, or a new decode from the skin archive (or from disk
    // when the archive does not hold it). Null when it cannot be decoded.
    // Above 100 % the image set of the current scale is used when the skin
    // has one (or the nearest larger set, scaled down, or else the nearest
    // smaller one), and the 100 % image otherwise.
    std::shared_ptr<ImageInfo> GetImage(const std::wstring& fullPath);

    size_t GetEntryCount() const { return m_images.size(); }

private:
    ImageCache() = default;
    void Remove(const ImageInfo& image);
    static std::unique_ptr<ImageInfo> Decode(const std::wstring& path, bool fromArchive);
    static std::unique_ptr<ImageInfo> DecodeForScale(const std::wstring& path, bool fromArchive,
                                                     int scale);

    std::map<std::wstring, std::weak_ptr<ImageInfo>> m_images;
};

} // namespace ui
