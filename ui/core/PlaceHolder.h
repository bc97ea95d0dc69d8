#pragma once

#include "base/SupportWeakCallback.h"
#include "ui/core/LayoutItem.h"
#include "ui/core/SizeRequest.h"

#include <memory>
#include <string>

namespace ui {

class Box;
class IRenderContext;
class Window;

// Geometry and tree position shared by every control: the size requests,
// the rectangle given by the parent's layout, visibility and the lazy
// relayout flags. Requests only mark controls; the window lays out later.
class PlaceHolder : public virtual obase::SupportWeakCallback, public LayoutItem {
public:
    PlaceHolder() = default;
    ~PlaceHolder() override;
    PlaceHolder(const PlaceHolder&) = delete;
    PlaceHolder& operator=(const PlaceHolder&) = delete;

    virtual Window* GetWindow() const { return m_window; }
    virtual void SetWindow(Window* window) { m_window = window; }
    virtual void SetWindow(Window* window, Box* parent, bool init);
    // Runs OnInit the first time the control is attached with init.
    virtual void Init();
    virtual void OnInit() {}

    bool IsVisible() const override { return m_visible && m_inheritedVisible; }
    UiSize EstimateSize(UiSize available) override;
    // unshifted false: relative to the window's content (client offset removed).
    virtual UiRect GetRect(bool unshifted = true) const;
    void SetRect(const UiRect& rect) override;

    virtual void Relayout();
    virtual void RelayoutFromAncestor();
    virtual void Invalidate();
    virtual void RelayoutSelf();

    const std::wstring& GetName() const { return m_name; }
    void SetName(const std::wstring& name) { m_name = name; }
    Box* GetParent() const { return m_parent; }
    // True for this control and for every control inside it.
    bool IsAncestorOf(const PlaceHolder* control) const;

    int32_t GetFixedWidth() const override { return m_fixedWidth; }
    int32_t GetFixedHeight() const override { return m_fixedHeight; }
    int32_t GetMinWidth() const override { return m_minWidth; }
    int32_t GetMinHeight() const override { return m_minHeight; }
    int32_t GetMaxWidth() const override { return m_maxWidth; }
    int32_t GetMaxHeight() const override { return m_maxHeight; }
    int32_t GetHorAlignType() const override { return m_horAlign; }
    int32_t GetVerAlignType() const override { return m_verAlign; }
    bool IsFloat() const override { return m_float; }
    void SetFixedWidthForEstimate(int32_t width, bool needDpiScale) override;

    // Pixels (scaled when asked and positive), kSizeStretch or kSizeAuto;
    // other negative values are ignored. relayout asks for a layout pass
    // when the value changed.
    void SetFixedWidth(int32_t width, bool relayout, bool needDpiScale);
    void SetFixedHeight(int32_t height, bool relayout, bool needDpiScale);
    void SetMinWidth(int32_t width);
    void SetMinHeight(int32_t height);
    void SetMaxWidth(int32_t width);
    void SetMaxHeight(int32_t height);
    void SetHorAlignType(int32_t align) { m_horAlign = align; }
    void SetVerAlignType(int32_t align) { m_verAlign = align; }
    void SetFloat(bool isFloat);
    bool IsAutoSized() const { return m_fixedWidth == kSizeAuto || m_fixedHeight == kSizeAuto; }
    bool IsInheritedVisible() const { return m_inheritedVisible; }
    bool NeedsReEstimate() const { return m_reEstimate; }
    void SetReEstimate(bool reEstimate) { m_reEstimate = reEstimate; }
    bool NeedsArrange() const { return m_needsArrange; }
    bool IsCacheEnabled() const { return m_cacheEnabled; }
    void SetCacheEnabled(bool enabled) { m_cacheEnabled = enabled; }

    // The scale (percent) of the control's window, or the current one
    // before the control has a window.
    int GetDpiScale() const;
    // The window's scale changed: every pixel value scaled for `from` is
    // scaled again for `to`, and the control measures and lays out anew.
    virtual void RescaleDpi(int from, int to);

protected:
    // Applied to pixel values that come from the skin.
    int32_t DpiScale(int32_t value) const;
    UiRect DpiScale(const UiRect& rect) const;
    // Changing min or max: float controls lay themselves out, others ask
    // their ancestors.
    void RelayoutForLimits();

    std::wstring m_name;
    Window* m_window = nullptr;
    Box* m_parent = nullptr;
    int32_t m_fixedWidth = kSizeStretch;
    int32_t m_fixedHeight = kSizeStretch;
    int32_t m_minWidth = -1;
    int32_t m_minHeight = -1;
    int32_t m_maxWidth = kSizeMax;
    int32_t m_maxHeight = kSizeMax;
    UiRect m_rect;
    int32_t m_horAlign = 0;
    int32_t m_verAlign = 0;
    bool m_float = false;
    bool m_reEstimate = true;
    bool m_visible = true;
    bool m_inheritedVisible = true;
    bool m_needsArrange = true;
    bool m_cacheEnabled = false;
    bool m_cacheDirty = false;
    bool m_inited = false;
    std::unique_ptr<IRenderContext> m_bitmap; // alpha painting and the paint cache
};

} // namespace ui
