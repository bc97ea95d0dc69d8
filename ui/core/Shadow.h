#pragma once

#include "ui/render/UiRect.h"

#include <memory>
#include <string>

namespace ui {

class Control;
class ShadowBox;

// A window's drop shadow: a box around the root whose padding leaves room
// for the shadow image. Maximised windows lose the margin, restored ones
// get it back.
class Shadow {
public:
    static constexpr int kDefaultCorner = 14;
    static constexpr int kDefaultRootRound = 3;
    static const wchar_t* const kDefaultImage;

    Shadow();

    bool IsAttached() const { return m_attached; }
    void SetAttached(bool attached) { m_attached = attached; }
    bool IsUsingDefaultImage() const { return m_usingDefaultImage; }
    const std::wstring& GetImage() const { return m_image; }
    void SetImage(const std::wstring& image);
    // The current insets; 0 while maximised.
    UiRect GetCorner() const { return m_corner; }
    // As written in the skin; needDpiScale scales the current insets.
    void SetCorner(const UiRect& corner, bool needDpiScale);

    // Wraps root in the shadow box when the shadow is on.
    std::unique_ptr<Control> Attach(std::unique_ptr<Control> root);
    void OnMaximized();
    void OnRestored();
    // The insets as configured, made again for the window's new scale (a
    // maximised window keeps none until it is restored); after the control
    // tree has been scaled again.
    void RescaleDpi(int to);

private:
    void ApplyCorner(int rootRound);

    bool m_attached = true;
    bool m_usingDefaultImage = true;
    std::wstring m_image;
    UiRect m_corner;
    UiRect m_configuredCorner;
    // Given back after maximising. It starts as the default insets so that a
    // window without "shadowcorner" keeps its shadow too.
    UiRect m_savedCorner;
    ShadowBox* m_box = nullptr;
    Control* m_root = nullptr;
};

} // namespace ui
