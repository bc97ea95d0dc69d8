#include "ui/markup/ImageAttribute.h"

#include "ui/markup/DpiManager.h"
#include "ui/markup/ImageAttributeParser.h"
#include "ui/markup/ImageInfo.h"

#include <algorithm>

namespace ui {

void ImageAttribute::SetImageString(const std::wstring& text)
{
    Clear();
    attributeString = text;
    imageName = text;
    Modify(text);
}

void ImageAttribute::Clear()
{
    *this = ImageAttribute();
}

void ImageAttribute::Modify(const std::wstring& text)
{
    // "destscale" affects only a "dest" that follows it in the same string.
    bool scaleDest = true;
    for (const auto& [key, value] : ImageAttributeParser::ParsePairs(text)) {
        if (value.empty())
            continue;
        if (key == L"file" || key == L"res") {
            imageName = value;
        } else if (key == L"destscale") {
            scaleDest = value == L"true";
        } else if (key == L"dest") {
            dest = ImageAttributeParser::ParseRect(value);
            destScaled = scaleDest;
            if (scaleDest) {
                RECT rect = {dest.left, dest.top, dest.right, dest.bottom};
                DpiManager::GetInstance().ScaleRect(rect);
                dest = UiRect(rect.left, rect.top, rect.right, rect.bottom);
            }
        } else if (key == L"source") {
            source = ImageAttributeParser::ParseRect(value);
        } else if (key == L"corner") {
            corner = ImageAttributeParser::ParseRect(value);
        } else if (key == L"fade") {
            // Opacity beyond the byte's range is held at its ends.
            const int number = ImageAttributeParser::ParseInt(value, 0, nullptr);
            fade = static_cast<uint8_t>(std::clamp(number, 0, 255));
        } else if (key == L"xtiled") {
            xTiled = value == L"true";
        } else if (key == L"ytiled") {
            yTiled = value == L"true";
        } else if (key == L"playcount") {
            playCount = ImageAttributeParser::ParseInt(value, 0, nullptr);
        }
    }
}

bool ImageAttribute::HasDest() const
{
    return dest.left != kNotSet && dest.top != kNotSet && dest.right != kNotSet &&
           dest.bottom != kNotSet;
}

bool ImageAttribute::HasSource() const
{
    return source.left != kNotSet && source.top != kNotSet && source.right != kNotSet &&
           source.bottom != kNotSet;
}

} // namespace ui
