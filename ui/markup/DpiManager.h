#pragma once

#include <windows.h>

namespace ui {

// Process-wide DPI scale in percent. Values are only scaled while
// adaptation is on and the scale differs from 100; otherwise the skin's
// pixel values are used as written. Each window has the scale of its
// monitor and makes it the current one while it handles a message, so
// everything built, laid out or painted for it uses its scale.
class DpiManager {
public:
    static constexpr int kDefaultDpi = 96;

    static DpiManager& GetInstance();

    int GetScale() const { return m_scale; }
    void SetScale(int percent) { m_scale = percent; }
    bool IsAdaptDpi() const { return m_adaptDpi; }
    void SetAdaptDpi(bool adapt) { m_adaptDpi = adapt; }
    // The scale values are drawn at: 100 while adaptation is off.
    int GetEffectiveScale() const { return m_adaptDpi ? m_scale : 100; }

    int ScaleInt(int value) const;
    // Scales the top-left corner and the size separately, so that the
    // right and bottom edges follow from the scaled size.
    void ScaleRect(RECT& rect) const;

    // The scale of a display's dots per inch (96 is 100 %); never below 100.
    static int ScaleFromDpi(unsigned dpi);
    // A value scaled (with MulDiv) for `percent`, as ScaleInt does for the
    // current scale.
    static int ScaleBy(int value, int percent);
    // A value that was scaled for `from` scaled again for `to`: the value as
    // written is recovered exactly (scales of 100 % and more round to within
    // half a pixel of it), so a window that changes its scale ends with the
    // values it would have been built with.
    static int Rescale(int value, int from, int to);

private:
    DpiManager() = default;

    int m_scale = 100;
    bool m_adaptDpi = false;
};

} // namespace ui
