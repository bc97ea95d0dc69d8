#pragma once

#include "base/SupportWeakCallback.h"
#include "ui/core/EventType.h"
#include "ui/core/LayeredPresenter.h"
#include "ui/core/Shadow.h"
#include "ui/render/UiPoint.h"
#include "ui/render/UiRect.h"
#include "ui/render/UiSize.h"

#include <windows.h>
#include <commctrl.h>

#include <map>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

struct IAccessible;

namespace ui {

class Box;
class Control;
class IRenderContext;
class IUIMessageFilter;

// One native top-level window hosting a control tree: it turns mouse,
// keyboard and focus messages into control events, lays the tree out and
// paints it into a back buffer that it presents (as a layered window by
// default), and keeps the window's classes, control names and option groups.
class Window : public virtual obase::SupportWeakCallback {
public:
    // Posted to delete the controls handed to AddDelayedCleanup.
    static constexpr UINT kMsgDelayedCleanup = 0x8001;
    // Posted to run a control's default action for assistive technology
    // (wParam: the control's access id).
    static constexpr UINT kMsgAccessAction = 0x8002;
    // Makes the accessible object of a window's client area (a new
    // reference); installed once by the accessibility module. Without it,
    // or when it fails, the system answers WM_GETOBJECT.
    using AccessibleFactory = IAccessible* (*)(Window& window);
    static void SetAccessibleFactory(AccessibleFactory factory);
    static constexpr UINT kReflectBase = 0x2000;

    Window();
    ~Window() override;
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    HWND GetHWND() const { return m_hwnd; }
    operator HWND() const { return m_hwnd; }
    HWND Create(HWND parent, const std::wstring& title, DWORD style, DWORD exStyle,
                bool layered = true, const UiRect& rect = UiRect());
    virtual std::wstring GetWindowClassName() const = 0;
    virtual std::wstring GetSuperClassName() const { return std::wstring(); }
    virtual UINT GetClassStyle() const { return 0; }
    // Fades the content out and closes 300 ms later (at once without content).
    virtual void Close(UINT code = 0);
    void ShowWindow(bool show = true, bool takeFocus = true);
    bool IsLayeredWindow() const { return m_layered; }
    void SetWindowAlpha(int alpha);
    // Set by an opener that disabled this window's owner while it is open:
    // the owner is enabled again, once, however the window goes away.
    void SetModal(bool modal) { m_modal = modal; }
    bool IsModal() const { return m_modal; }
    // Destroys every window of this framework that the calling thread still
    // has, at once and without fading out: ownerless pop-ups such as menus
    // are taken along by no other window. Run before the resources they
    // paint with are shut down.
    static void DestroyThreadWindows();

    virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
    // After WM_NCDESTROY, when the native window is gone.
    virtual void OnFinalMessage(HWND hwnd);
    LRESULT CallWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    void AddMessageFilter(IUIMessageFilter* filter);
    void RemoveMessageFilter(IUIMessageFilter* filter);

    void Init(HWND hwnd);
    void AttachRoot(std::unique_ptr<Control> root);
    Control* GetRoot() const { return m_root.get(); }
    // Attaches a subtree added to parent and registers its named controls.
    void InitControls(Control* control, Box* parent);
    // Forgets a control (and everything inside it) leaving the tree.
    void ReapObjects(Control* control);
    void AddDelayedCleanup(std::unique_ptr<Control> control);

    const std::wstring& GetWindowResourcePath() const { return m_resourcePath; }
    void SetWindowResourcePath(const std::wstring& path);
    void AddClass(const std::wstring& name, const std::wstring& attributes);
    const std::wstring& GetClassAttributes(const std::wstring& name) const;
    Control* FindControl(const std::wstring& name) const;
    // The topmost visible control under the point that takes the mouse.
    Control* FindControl(UiPoint point) const;
    bool AddOptionGroup(const std::wstring& group, Control* control);
    const std::vector<Control*>* GetOptionGroup(const std::wstring& group) const;
    void RemoveOptionGroup(const std::wstring& group, Control* control);

    // While a builder makes controls for this window, selections made by
    // the markup are stored without select or unselect events.
    bool IsBuilding() const { return m_buildDepth > 0; }
    void EnterBuild() { ++m_buildDepth; }
    void LeaveBuild() { --m_buildDepth; }

    Control* GetFocus() const { return m_focus; }
    void SetFocus(Control* control);
    // Moves the focus to the next (or previous) tab stop; forward wraps.
    // While a layout is pending, each move waits for the next paint.
    bool SetNextTabControl(bool forward = true);
    // The focused control's ring follows the system's UI state: hidden
    // until the keyboard is first used (in this window, or before it opened
    // when that input opened it), unless the user asked Windows to always
    // show keyboard cues. Mouse clicks never show it.
    bool AreFocusCuesShown() const { return !m_focusCuesHidden; }
    Control* GetHoverControl() const { return m_hover; }
    Control* GetPushedControl() const { return m_pushed; }
    UiPoint GetLastMousePos() const { return m_lastMousePos; }
    // Shows the control's new tool-tip text at once when its tip is up.
    void UpdateToolTip(Control* control);
    // The client area's role and name for assistive technology (the
    // window's title by default).
    virtual uint32_t GetAccessRole() const;
    virtual std::wstring GetAccessName() const;
    // A WinEvent about a control; the root stands for the client area.
    void NotifyAccessEvent(uint32_t event, const Control& control) const;
    // The control of this window's tree with the access id, or null.
    Control* FindAccessControl(int32_t id) const;
    // Runs the control's default action from the message loop, so the
    // caller (often another process) is answered first.
    void PostAccessAction(const Control& control);
    // Events sent to a control carry the mouse position and a time stamp.
    void SendEvent(Control* control, EventType type, WPARAM wParam = 0, LPARAM lParam = 0);

    void Invalidate(const UiRect& rect);
    void SetArrangeNeeded() { m_arrangeNeeded = true; }
    bool IsArrangeNeeded() const { return m_arrangeNeeded; }
    IRenderContext* GetRenderContext() const { return m_render.get(); }
    // The content's offset inside the window: the shadow's left and top.
    UiPoint GetClientOffset() const;

    // Window settings from the layout's root attributes.
    UiSize GetInitSize(bool containShadow = false) const;
    void SetInitSize(int cx, int cy, bool containShadow = false, bool needDpiScale = true);
    UiSize GetMinInfo(bool containShadow = false) const;
    void SetMinInfo(int cx, int cy, bool containShadow = false, bool needDpiScale = true);
    UiSize GetMaxInfo(bool containShadow = false) const;
    void SetMaxInfo(int cx, int cy, bool containShadow = false, bool needDpiScale = true);
    const UiRect& GetCaptionRect() const { return m_caption; }
    void SetCaptionRect(const UiRect& caption, bool needDpiScale = true);
    const UiRect& GetSizeBox() const { return m_sizeBox; }
    void SetSizeBox(const UiRect& sizeBox) { m_sizeBox = sizeBox; }
    UiSize GetRoundCorner() const { return m_roundCorner; }
    void SetRoundCorner(int cx, int cy, bool needDpiScale = true);
    const UiRect& GetAlphaFixCorner() const { return m_alphaFixCorner; }
    void SetAlphaFixCorner(const UiRect& corner, bool needDpiScale = true);
    double GetHeightPercent() const { return m_heightPercent; }
    void SetHeightPercent(double percent) { m_heightPercent = percent; }
    const UiRect& GetMaximizeInfo() const { return m_maximizeInfo; }
    void SetMaximizeInfo(const UiRect& rect) { m_maximizeInfo = rect; }
    Shadow& GetShadow() { return m_shadow; }
    const Shadow& GetShadow() const { return m_shadow; }
    bool IsFirstLayoutPending() const { return m_firstLayout; }

    // The window's scale in percent: that of its monitor when it was made,
    // and again whenever it moves to a monitor of another scale (100 while
    // DPI adaptation is off). It is the current scale while the window
    // handles a message.
    int GetDpiScale() const { return m_dpiScale; }
    // The window's icons from an icon resource of the program, at the icon
    // sizes of the window's scale (loaded again when the scale changes).
    void SetIcon(UINT resourceId);

protected:
    // Called once, after the first layout pass.
    virtual void OnInitLayout() {}
    void Paint();
    void OnSize(WPARAM type);

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    // Enables and focuses the owner of a modal window and clears the flag.
    void ReleaseModalOwner();
    // WM_GETOBJECT for the client area; false leaves it to the system.
    bool AnswerGetObject(WPARAM wParam, LPARAM lParam, LRESULT& result);
    void RunAccessAction(int32_t id);
    bool RegisterWindowClass();
    void ArrangeMarked(Control* control);
    void ResizeToAutoRoot();
    // Finds the control under a point and sends enter and leave as it changes.
    void UpdateHover(UiPoint point);
    void OnButtonDown(UINT message, UiPoint point, WPARAM wParam, LPARAM lParam);
    // Keyboard use asks the system to show the focus cues (WM_CHANGEUISTATE).
    void OnKeyboardInput();
    void InitFocusCues();
    static bool FocusCuesHiddenAtStart();
    void OnUpdateUiState(WPARAM wParam);
    LRESULT OnQueryUiState();
    void InvalidateFocusRing(const Control* control);
    void OnMouseHover(UiPoint point);
    void HideToolTip();
    bool OnTouch(WPARAM wParam, LPARAM lParam);
    // WM_DPICHANGED: the content is made again for the new scale (sizes,
    // fonts, images, shadow, icons) and the window takes the rectangle
    // the system suggests.
    void OnDpiChanged(UINT dpi, const RECT& suggested);
    void RescaleDpi(int to);
    void LoadIcons();
    // The tool tip in the system's tool-tip font at the window's DPI.
    void SetToolTipFont();
    bool OnPointer(UINT message, WPARAM wParam);
    void ReleaseMouseCapture();
    UiSize AddShadow(UiSize size, bool containShadow) const;
    UiSize RemoveShadow(UiSize size, bool containShadow) const;

    struct IconDeleter {
        void operator()(HICON icon) const { ::DestroyIcon(icon); }
    };
    struct FontDeleter {
        void operator()(HFONT font) const { ::DeleteObject(font); }
    };
    using IconPtr = std::unique_ptr<std::remove_pointer_t<HICON>, IconDeleter>;

    HWND m_hwnd = nullptr;
    WNDPROC m_oldWndProc = ::DefWindowProcW;
    int m_dpiScale = 100;
    UINT m_iconId = 0;
    IconPtr m_bigIcon;
    IconPtr m_smallIcon;
    std::unique_ptr<Control> m_root;
    UiSize m_minInfo;
    UiSize m_maxInfo;
    UiSize m_initSize;
    UiRect m_maximizeInfo;
    UiRect m_sizeBox;
    UiRect m_alphaFixCorner;
    UiSize m_roundCorner;
    UiRect m_caption;
    double m_heightPercent = 0;
    std::unique_ptr<IRenderContext> m_render;
    LayeredPresenter m_presenter;
    bool m_layered = true;
    int m_windowAlpha = 255;
    bool m_modal = false;
    bool m_firstLayout = true;
    bool m_arrangeNeeded = false;
    bool m_paintPosted = false;
    UiRect m_dirty; // invalidated since the last paint
    // The program's last input (key or button press) came from the keyboard.
    static bool s_keyboardInputLast;
    int m_pendingTabs = 0; // forward moves minus backward ones
    bool m_focusCuesHidden = true;
    int m_buildDepth = 0;
    HWND m_toolTip = nullptr;
    std::unique_ptr<std::remove_pointer_t<HFONT>, FontDeleter> m_toolTipFont;
    TOOLINFOW m_toolInfo = {};
    std::wstring m_toolTipText;
    Control* m_focus = nullptr;
    Control* m_keyDown = nullptr;
    Control* m_hover = nullptr;
    Control* m_newHover = nullptr;
    Control* m_pushed = nullptr;
    UiPoint m_lastMousePos{-1, -1};
    Control* m_touchControl = nullptr;
    Control* m_pointerControl = nullptr;
    bool m_receivePointerMessages = true;
    bool m_mouseTracking = false;
    bool m_mouseCaptured = false;
    std::vector<IUIMessageFilter*> m_filters;
    std::vector<std::unique_ptr<Control>> m_delayedCleanup;
    std::wstring m_resourcePath;
    std::map<std::wstring, std::wstring> m_classes;
    std::map<std::wstring, Control*> m_names;
    std::map<std::wstring, std::vector<Control*>> m_optionGroups;
    Shadow m_shadow;
};

} // namespace ui
