#pragma once

#include "ui/render/UiRect.h"
#include "ui/render/UiSize.h"

#include <windows.h>

#include <cstdint>

namespace ui {

// Hands a layered window's back buffer to the system. The system keeps the
// last frame it was given, so after a whole frame only the part that was
// painted since is handed over: a fader move presents the fader, not the
// window.
class LayeredPresenter {
public:
    // The next present hands over the whole buffer (a new or resized one).
    void PresentAllNext() { m_presentAll = true; }
    // Presents `changed` (client pixels) of the buffer selected into source,
    // or all of it when asked to; nothing when nothing changed.
    void Present(HWND window, HDC source, const UiSize& size, const UiRect& changed,
                 uint8_t windowAlpha);

private:
    bool m_presentAll = true;
};

} // namespace ui
