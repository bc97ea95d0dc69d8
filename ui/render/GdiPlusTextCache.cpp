#include "ui/render/GdiPlusTextCache.h"

#include <cstring>

namespace ui {

Gdiplus::GpFont* GdiPlusTextCache::GetFont(HDC dc, const std::wstring& fontId,
                                           const LOGFONTW& logFont, const std::wstring& faceName,
                                           std::wstring* usedFace)
{
    Entry& entry = m_fonts[fontId];
    // A font id defined anew (another LOGFONT) gets a new GDI+ font.
    if (!entry.font || std::memcmp(&entry.logFont, &logFont, sizeof(LOGFONTW)) != 0) {
        Gdiplus::GpFont* font = nullptr;
        if (gdip::GdipCreateFontFromLogfontW(dc, &logFont, &font) != gdip::Ok)
            font = nullptr;
        entry.font.reset(font);
        entry.logFont = logFont;
        entry.faceName = faceName;
    }
    if (usedFace != nullptr)
        *usedFace = entry.faceName;
    return entry.font.get();
}

Gdiplus::GpStringFormat* GdiPlusTextCache::GetFormat()
{
    if (!m_format) {
        Gdiplus::GpStringFormat* generic = nullptr;
        Gdiplus::GpStringFormat* copy = nullptr;
        if (gdip::GdipStringFormatGetGenericTypographic(&generic) == gdip::Ok &&
            gdip::GdipCloneStringFormat(generic, &copy) == gdip::Ok)
            m_format.reset(copy);
    }
    return m_format.get();
}

} // namespace ui
