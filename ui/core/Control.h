#pragma once

#include "ui/core/AnimationType.h"
#include "ui/core/ControlState.h"
#include "ui/core/CursorType.h"
#include "ui/core/EventArgs.h"
#include "ui/core/PlaceHolder.h"
#include "ui/core/StateColorMap.h"
#include "ui/core/StateImageMap.h"
#include "ui/core/UserData.h"
#include "ui/markup/ImageAttribute.h"

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace ui {

class AnimationManager;
class ImageAnimation;

// The base of every UI element: attributes, events and the mouse-state
// machine, and painting in a fixed order of layers.
class Control : public PlaceHolder {
public:
    // Tool tips wrap at this many pixels (at 100 %) unless told otherwise.
    static constexpr int32_t kDefaultToolTipWidth = 300;

    using EventCallback = std::function<bool(const EventArgs&)>;
    using EventMap = std::map<int32_t, std::vector<EventCallback>>;
    using FindVisitor = std::function<Control*(Control*)>;

    Control();
    ~Control() override;

    virtual ImageAttribute* GetEstimateImage();
    virtual CursorType GetCursorType() const { return m_cursorType; }

    virtual std::wstring GetToolTipText() const;
    virtual std::string GetUtf8ToolTipText() const;
    virtual void SetToolTipText(const std::wstring& text);
    virtual void SetUtf8ToolTipText(const std::string& text);
    virtual void SetToolTipTextId(const std::wstring& id);
    virtual void SetUtf8ToolTipTextId(const std::string& id);
    virtual void SetToolTipWidth(int32_t width);
    virtual int32_t GetToolTipWidth() const { return m_toolTipWidth; }

    virtual bool IsContextMenuEnabled() const { return m_contextMenuUsed; }
    virtual void SetContextMenuEnabled(bool enabled) { m_contextMenuUsed = enabled; }
    virtual std::wstring GetDataId() const { return m_dataId; }
    virtual std::string GetUtf8DataId() const;
    virtual void SetDataId(const std::wstring& id) { m_dataId = id; }
    virtual void SetUtf8DataId(const std::string& id);
    virtual UserData* GetUserData() const { return m_userData.get(); }
    virtual void SetUserData(std::unique_ptr<UserData> data) { m_userData = std::move(data); }

    virtual void SetVisibleWithFade(bool visible);
    virtual void SetInheritedVisible(bool visible);
    virtual void SetVisible(bool visible);

    virtual bool IsEnabled() const { return m_enabled; }
    virtual void SetEnabled(bool enabled);

    virtual bool IsMouseEnabled() const { return m_mouseEnabled; }
    virtual void SetMouseEnabled(bool enabled) { m_mouseEnabled = enabled; }
    virtual bool IsKeyboardEnabled() const { return m_keyboardEnabled; }
    virtual void SetKeyboardEnabled(bool enabled) { m_keyboardEnabled = enabled; }
    virtual bool IsFocused() const { return m_focused; }
    virtual void SetFocus();
    virtual bool IsAllowTabStop() const { return true; }
    virtual bool IsButtonCaptured() const { return m_buttonCaptured; }
    virtual void SetButtonCaptured(bool captured) { m_buttonCaptured = captured; }
    virtual bool CanActivate() const { return IsVisible() && IsEnabled(); }
    virtual void Activate() {}

    // What assistive technology is told about the control: a role
    // (ROLE_SYSTEM_...), a name, a value, state flags (STATE_SYSTEM_...), the
    // name of its default action (empty: none) and, for texts of several
    // lines, the lines to be read one by one with their rectangles.
    virtual uint32_t GetAccessRole() const;
    // The skin's "accessname" when it gives one: a box's names the box (and
    // the group of controls inside it), any other control's follows the
    // name of the group it is in ("MIC1" + "mute"). Else DefaultAccessName.
    std::wstring GetAccessName() const;
    virtual std::wstring DefaultAccessName() const;
    // False for what assistive technology is not shown: a control whose
    // "accessname" is empty (decoration, with everything inside it) and a
    // picture with no words (no tool tip, no "accessname").
    bool IsAccessExposed() const;
    virtual std::wstring GetAccessValue() const;
    virtual uint32_t GetAccessState() const;
    virtual std::wstring GetAccessAction() const { return std::wstring(); }
    // The default action does what a click does.
    virtual void DoAccessAction() { Activate(); }
    // False for controls read as one piece (a combo, a text box, a slider).
    virtual bool ExposesAccessChildren() const { return true; }
    virtual std::vector<std::wstring> GetAccessLines() const { return {}; }
    virtual UiRect GetAccessLineRect(size_t line) const;
    // A read-out shown by another control that stands for this control's
    // value (a knob's gain label).
    void SetAccessValueText(std::function<std::wstring()> text)
    {
        m_accessValueText = std::move(text);
    }
    // The ring around the focused control while the window shows focus
    // cues: "focuscolor" names its colour (none without), "focuswidth" and
    // "focusinset" (negative: outside the control) are pixels, scaled for
    // the display when painted. Empty without a colour.
    UiRect GetFocusRingRect() const;
    void PaintFocusRing(IRenderContext& context) const;

    // Unique in the process; WinEvents name a control by its negated id.
    int32_t GetAccessId() const { return m_accessId; }
    // Raises a WinEvent (EVENT_OBJECT_...) for this control in its window.
    void NotifyAccess(uint32_t event) const;

    // The visitor's answer for this control, or null when a flag of
    // FindFlags excludes it. Boxes search their children first.
    virtual Control* FindControl(const FindVisitor& visitor, UiPoint point, uint32_t flags);

    UiRect GetMargin() const override { return m_margin; }
    virtual void SetMargin(const UiRect& margin, bool needDpiScale);
    void RescaleDpi(int from, int to) override;
    // Text controls measure their text; reEstimate asks to measure again
    // at the next estimate.
    virtual UiSize EstimateTextSize(UiSize available, bool& reEstimate);

    virtual void DispatchEvent(const EventArgs& event);
    virtual bool HasHotLook() const;
    virtual void SetAttribute(const std::wstring& name, const std::wstring& value);

    virtual void PaintWithAlpha(IRenderContext& context, const UiRect& dirtyRect);
    virtual void Paint(IRenderContext& context, const UiRect& dirtyRect);
    virtual void PaintChildren(IRenderContext&, const UiRect&) {}
    // Decodes the image of an attribute (from the cache when possible).
    virtual bool LoadAttributeImage(ImageAttribute& image);
    virtual void ClearBkImageCache();
    virtual void ClearImageCache();

    virtual void HandleEvent(const EventArgs& event);
    virtual bool OnMouseEnter(const EventArgs& event);
    virtual bool OnMouseLeave(const EventArgs& event);
    virtual bool OnButtonDown(const EventArgs& event);
    virtual bool OnButtonUp(const EventArgs& event);

    virtual void PaintBkColor(IRenderContext& context);
    virtual void PaintBkImage(IRenderContext& context);
    virtual void PaintStateColors(IRenderContext& context);
    virtual void PaintStateImages(IRenderContext& context);
    virtual void PaintText(IRenderContext&) {}
    virtual void PaintBorder(IRenderContext& context);

    // A press in the window's caption band reaches controls that answer
    // true (buttons, check boxes, options, text boxes); others drag the window.
    virtual bool KeepsCaptionClick() const { return false; }
    // A plain push button (not a check box or option): only these act as a
    // window's caption buttons.
    virtual bool IsPushButton() const { return false; }
    // Controls that take the Tab key themselves instead of moving the focus.
    virtual bool WantsTab() const { return false; }
    // Controls that drag while pressed are released when the window loses
    // the focus.
    virtual bool NeedsButtonUpOnKillFocus() const { return false; }

    UiSize EstimateSize(UiSize available) override;

    void AddEventHandler(EventType type, EventCallback callback);
    // Handlers declared by the skin's "Event" elements; they run first.
    void AddMarkupEventHandler(EventType type, EventCallback callback);
    // name="value" pairs separated by single blanks, applied in order.
    void ApplyAttributes(const std::wstring& list);
    // Draws one of this control's images in its rectangle; fade -1 uses
    // the image's own.
    bool DrawImage(IRenderContext& context, ImageAttribute& image,
                   const std::wstring& modify = std::wstring(), int fade = -1);

    ControlState GetState() const { return m_state; }
    void SetState(ControlState state);
    int32_t GetAlpha() const { return m_alpha; }
    void SetAlpha(int32_t alpha);
    int32_t GetHotAlpha() const { return m_hotAlpha; }
    void SetHotAlpha(int32_t alpha);
    UiPoint GetRenderOffset() const { return m_renderOffset; }
    void SetRenderOffset(UiPoint offset);
    bool IsMouseFocused() const { return m_mouseFocused; }
    bool IsNoFocus() const { return m_noFocus; }
    void SetNoFocus() { m_noFocus = true; }
    bool IsReceivePointer() const { return m_receivePointer; }
    const UiRect& GetPaintRect() const { return m_paintRect; }

    const std::wstring& GetBkColor() const { return m_bkColor; }
    void SetBkColor(const std::wstring& color);
    const std::wstring& GetStateColor(ControlState state) const { return m_colors.Get(state); }
    void SetStateColor(ControlState state, const std::wstring& color);
    const std::wstring& GetBkImage() const { return m_bkImage.attributeString; }
    void SetBkImage(const std::wstring& image);
    StateImageMap& GetStateImages(StateImageType type) { return m_images[type]; }
    void SetStateImage(StateImageType type, ControlState state, const std::wstring& image);
    const std::wstring& GetBorderColor() const { return m_borderColor; }
    void SetBorderColor(const std::wstring& color);
    int32_t GetBorderSize() const { return m_borderSize; }
    // A uniform border; the per-side sizes go back to 0.
    void SetBorderSize(int32_t size);
    const UiRect& GetSideBorderSizes() const { return m_sideBorders; }
    void SetSideBorderSizes(const UiRect& sizes);
    UiSize GetBorderRound() const { return m_borderRound; }
    void SetBorderRound(UiSize round);
    void SetClipChildren(bool clip) { m_clipChildren = clip; }

    AnimationManager& GetAnimationManager() { return *m_animation; }
    // The hot fade is switched on (by "fadehot" or a hot colour or image).
    bool HasHotFade() const;

protected:
    // Markup handlers, then code handlers, for the kind and for "all".
    // False when one of them stopped the event or the control is gone.
    bool RunEventHandlers(const EventArgs& event);
    void SetHotFade(bool enabled);
    // The own layers into the context, shifted by the render offset.
    void PaintLayers(IRenderContext& context, const UiRect& dirtyRect, bool withChildren);
    const std::wstring& GetWindowResourcePath() const;
    // The skin name with its separators read as blanks ("input mic1").
    std::wstring ReadableName() const;
    // Some part of it lies inside every box around it and the window.
    bool IsOnScreen() const;

    EventMap m_events;
    EventMap m_markupEvents;
    std::unique_ptr<UserData> m_userData;
    bool m_contextMenuUsed = false;
    bool m_enabled = true;
    bool m_mouseEnabled = true;
    bool m_keyboardEnabled = true;
    bool m_focused = false;
    bool m_mouseFocused = false;
    bool m_buttonCaptured = false;
    bool m_noFocus = false;
    bool m_clipChildren = true;
    bool m_imageAnimationRunning = true;
    bool m_receivePointer = true;
    int32_t m_borderSize = 0;
    int32_t m_toolTipWidth = kDefaultToolTipWidth;
    int32_t m_alpha = 255;
    int32_t m_hotAlpha = 0;
    UiSize m_estimatedSize;
    UiPoint m_renderOffset;
    UiSize m_borderRound;
    UiRect m_margin;
    UiRect m_paintRect;
    UiRect m_sideBorders;
    CursorType m_cursorType = kCursorArrow;
    ControlState m_state = kControlStateNormal;
    std::wstring m_toolTipText;
    std::wstring m_toolTipTextId;
    std::wstring m_dataId;
    std::wstring m_bkColor;
    StateColorMap m_colors;
    ImageAttribute m_bkImage;
    std::map<StateImageType, StateImageMap> m_images;
    std::wstring m_borderColor;
    std::unique_ptr<ImageAnimation> m_bkAnimation;
    std::unique_ptr<AnimationManager> m_animation;
    std::function<std::wstring()> m_accessValueText;
    // Unset: not named by the skin; empty: left out of the accessible tree.
    std::optional<std::wstring> m_accessName;
    std::wstring m_focusColor;
    int32_t m_focusWidth = 2;
    int32_t m_focusInset = -3;
    const int32_t m_accessId = NextAccessId();

private:
    static int32_t NextAccessId();
    // Whether drawing the border can touch any pixel of area.
    bool BorderMeets(const UiRect& area) const;
};

} // namespace ui
