#include "ui/markup/ImageCache.h"

#include "ui/markup/ArchivePath.h"
#include "ui/markup/DpiManager.h"
#include "ui/markup/GlobalManager.h"
#include "ui/markup/ImageDecoder.h"
#include "ui/markup/ImageResampler.h"
#include "ui/markup/ImageScaleSet.h"

#include <shlwapi.h>

namespace ui {
namespace {

void ReplaceAll(std::wstring& text, const std::wstring& from, const std::wstring& to)
{
    for (size_t pos = text.find(from); pos != std::wstring::npos;
         pos = text.find(from, pos + to.size()))
        text.replace(pos, from.size(), to);
}

} // namespace

ImageCache& ImageCache::GetInstance()
{
    static ImageCache instance;
    return instance;
}

std::wstring ImageCache::GetFullPath(const std::wstring& windowResourcePath,
                                     const std::wstring& imageName)
{
    std::wstring path = imageName;
    if (::PathIsRelativeW(imageName.c_str()))
        path = GlobalManager::GetResourcePath() + windowResourcePath + imageName;
    ReplaceAll(path, L"/", L"\\");
    ReplaceAll(path, L"\\\\", L"\\");
    return path;
}

std::shared_ptr<ImageInfo> ImageCache::GetImage(const std::wstring& fullPath)
{
    const bool fromArchive = GlobalManager::IsArchiveInUse();
    const std::wstring path = fromArchive ? ArchivePath::Normalize(fullPath) : fullPath;
    // Each display scale has images of its own.
    const int scale = DpiManager::GetInstance().GetEffectiveScale();
    const std::wstring key = scale == 100 ? path : path + L"|" + std::to_wstring(scale);
    const auto found = m_images.find(key);
    if (found != m_images.end()) {
        if (std::shared_ptr<ImageInfo> image = found->second.lock())
            return image;
    }

    std::unique_ptr<ImageInfo> decoded = DecodeForScale(path, fromArchive, scale);
    if (!decoded)
        return nullptr;

    decoded->cacheKey = key;
    decoded->cached = true;
    std::shared_ptr<ImageInfo> image(decoded.release(), [](ImageInfo* info) {
        GetInstance().Remove(*info);
        delete info;
    });
    m_images[key] = image;
    return image;
}

std::unique_ptr<ImageInfo> ImageCache::Decode(const std::wstring& path, bool fromArchive)
{
    GlobalBlock block = fromArchive ? GlobalManager::GetData(path) : GlobalBlock();
    return block ? ImageDecoder::DecodeBlock(std::move(block)) : ImageDecoder::DecodeFile(path);
}

std::unique_ptr<ImageInfo> ImageCache::DecodeForScale(const std::wstring& path, bool fromArchive,
                                                      int scale)
{
    for (const int set : ImageScaleSet::Candidates(scale)) {
        std::unique_ptr<ImageInfo> image =
            Decode(ImageScaleSet::VariantName(path, set), fromArchive);
        if (!image)
            continue;
        image->scale = set;
        // A larger set comes down to the scale in use, with the size the
        // skin's image has at that scale.
        if (set > scale) {
            const int width = DpiManager::ScaleBy(::MulDiv(image->width, 100, set), scale);
            const int height = DpiManager::ScaleBy(::MulDiv(image->height, 100, set), scale);
            if (ImageResampler::Resize(*image, width, height))
                image->scale = scale;
        }
        return image;
    }
    return Decode(path, fromArchive);
}

void ImageCache::Remove(const ImageInfo& image)
{
    if (!image.cached)
        return;
    // The entry is left alone when it already holds a newer decode.
    const auto found = m_images.find(image.cacheKey);
    if (found != m_images.end() && found->second.expired())
        m_images.erase(found);
}

} // namespace ui
