#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <type_traits>

namespace ui {

// A font of the global font table; the table owns the GDI font. A font
// made for another scale than the one it was defined at is a copy of the
// definition with its own size and GDI font.
struct FontInfo {
    struct Deleter {
        void operator()(HFONT font) const { DeleteObject(font); }
    };

    std::unique_ptr<std::remove_pointer_t<HFONT>, Deleter> handle;
    LOGFONTW logFont = {}; // what the font was created from
    std::wstring faceName; // the face actually used ("system" replaced)
    int size = 0;          // pixels, after DPI scaling
    int designSize = 0;    // pixels as the skin writes them
    int scale = 100;       // the scale (percent) size is made for
    bool bold = false;
    bool underline = false;
    bool italic = false;
};

} // namespace ui
