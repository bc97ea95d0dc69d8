#include "ui/markup/ImagePainter.h"

#include "ui/markup/DpiManager.h"
#include "ui/markup/ImageAnimation.h"
#include "ui/markup/ImageCache.h"
#include "ui/markup/ImageInfo.h"
#include "ui/render/IRenderContext.h"

#include <algorithm>

namespace ui {

bool ImagePainter::LoadAttributeImage(ImageAttribute& attribute,
                                      const std::wstring& windowResourcePath)
{
    if (attribute.image)
        return true;
    if (attribute.imageName.empty())
        return false;
    ImageCache& cache = ImageCache::GetInstance();
    attribute.image =
        cache.GetImage(ImageCache::GetFullPath(windowResourcePath, attribute.imageName));
    return attribute.image != nullptr;
}

bool ImagePainter::DrawImage(IRenderContext& context, ImageAttribute& attribute,
                             const UiRect& controlRect, const UiRect& paintRect,
                             const std::wstring& windowResourcePath, const std::wstring& modify,
                             int fade, ImageAnimation* animation)
{
    if (!LoadAttributeImage(attribute, windowResourcePath))
        return false;

    ImageAttribute drawn = attribute;
    if (!modify.empty())
        drawn.Modify(modify);

    UiRect dest = controlRect;
    if (drawn.HasDest()) {
        dest = drawn.dest;
        dest.Offset(controlRect.left, controlRect.top);
    }
    const ImageInfo& image = *drawn.image;
    // A source is written in the pixels of the image at 100 %.
    UiRect source(0, 0, image.width, image.height);
    if (drawn.HasSource()) {
        const UiRect& s = drawn.source;
        source = UiRect(
            DpiManager::ScaleBy(s.left, image.scale), DpiManager::ScaleBy(s.top, image.scale),
            DpiManager::ScaleBy(s.right, image.scale), DpiManager::ScaleBy(s.bottom, image.scale));
    }

    int frame = drawn.currentFrame;
    if (animation != nullptr && image.GetFrameCount() > 1) {
        if (animation->GetImage() != attribute.image)
            animation->SetImage(attribute.image, attribute.playCount);
        animation->Play();
        frame = animation->GetCurrentFrame();
    }
    HBITMAP bitmap = image.GetFrame(static_cast<size_t>(std::max(frame, 0)));
    if (bitmap == nullptr)
        return false;

    const uint8_t opacity =
        fade == kAttributeFade ? drawn.fade : static_cast<uint8_t>(std::clamp(fade, 0, 255));
    context.DrawImage(dest, bitmap, image.alphaChannel, paintRect, source, drawn.corner, opacity,
                      drawn.xTiled, drawn.yTiled, image.scale);
    return true;
}

} // namespace ui
