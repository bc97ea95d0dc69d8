#pragma once

#include "ui/render/UiRect.h"

#include <windows.h>

#include <vector>

namespace ui {

// Clips of a device context, each bracketed by a saved DC state so that
// clearing one puts back exactly the clip that was in force before it.
// Clips nest: every Create is undone by one ClearClip, innermost first.
class GdiClip {
public:
    // rect is in device coordinates.
    void CreateClip(HDC dc, const UiRect& rect);
    void CreateRoundClip(HDC dc, const UiRect& rect, int width, int height);
    void ClearClip(HDC dc);

private:
    void Apply(HDC dc, HRGN region);

    std::vector<int> m_savedStates;
};

} // namespace ui
