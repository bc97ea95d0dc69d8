#pragma once

#include <windows.h>

namespace ui {

// Process-wide DPI scale in percent. Values are only scaled while
// adaptation is on and the scale differs from 100; otherwise the skin's
// pixel values are used as written.
class DpiManager {
public:
    static DpiManager& GetInstance();

    int GetScale() const { return m_scale; }
    void SetScale(int percent) { m_scale = percent; }
    bool IsAdaptDpi() const { return m_adaptDpi; }
    void SetAdaptDpi(bool adapt) { m_adaptDpi = adapt; }

    int ScaleInt(int value) const;
    // Scales the top-left corner and the size separately, so that the
    // right and bottom edges follow from the scaled size.
    void ScaleRect(RECT& rect) const;

private:
    DpiManager() = default;

    int m_scale = 100;
    bool m_adaptDpi = false;
};

} // namespace ui
