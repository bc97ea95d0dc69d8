#include "ui/markup/ImageCache.h"

#include "ui/markup/ArchivePath.h"
#include "ui/markup/GlobalManager.h"
#include "ui/markup/ImageDecoder.h"

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
    const std::wstring key = fromArchive ? ArchivePath::Normalize(fullPath) : fullPath;
    const auto found = m_images.find(key);
    if (found != m_images.end()) {
        if (std::shared_ptr<ImageInfo> image = found->second.lock())
            return image;
    }

    GlobalBlock block = fromArchive ? GlobalManager::GetData(key) : GlobalBlock();
    std::unique_ptr<ImageInfo> decoded =
        block ? ImageDecoder::DecodeBlock(std::move(block)) : ImageDecoder::DecodeFile(key);
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
