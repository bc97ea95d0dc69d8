#pragma once

#include "ui/render/GdiPlusApi.h"

#include <map>
#include <memory>
#include <string>

namespace ui {

// The GDI+ objects that text drawing would otherwise make for every call:
// the fonts made from the global fonts (kept as long as their LOGFONT
// stays the same; making one looks its family up every time) and one
// string format that each call sets up completely.
class GdiPlusTextCache {
public:
    // The GDI+ font of a global font and the face it uses; null when GDI+
    // cannot make it.
    Gdiplus::GpFont* GetFont(HDC dc, const std::wstring& fontId, const LOGFONTW& logFont,
                             const std::wstring& faceName, std::wstring* usedFace);
    // A copy of the generic typographic format, for the caller to set up.
    Gdiplus::GpStringFormat* GetFormat();

private:
    template <typename T, Gdiplus::GpStatus (*Delete)(T*)>
    struct Deleter {
        void operator()(T* object) const { Delete(object); }
    };
    using FontPtr =
        std::unique_ptr<Gdiplus::GpFont, Deleter<Gdiplus::GpFont, gdip::GdipDeleteFont>>;
    using FormatPtr =
        std::unique_ptr<Gdiplus::GpStringFormat,
                        Deleter<Gdiplus::GpStringFormat, gdip::GdipDeleteStringFormat>>;
    struct Entry {
        LOGFONTW logFont = {};
        std::wstring faceName;
        FontPtr font;
    };

    std::map<std::wstring, Entry> m_fonts;
    FormatPtr m_format;
};

} // namespace ui
