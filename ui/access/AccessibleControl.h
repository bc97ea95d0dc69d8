#pragma once

#include <windows.h>
#include <oleacc.h>

#include <atomic>
#include <memory>

#include "base/WeakFlag.h"

namespace ui {

class Control;
class Window;

// The accessible object of one control of a framework window, or of the
// window's client area (which stands for the root control). It holds the
// control and the window weakly: once either is gone, or the control has
// left the window, every call answers CO_E_OBJNOTCONNECTED. Calls are only
// answered on the window's thread. Child ids: 1..n are the exposed
// children (or a multi-line text's lines, which are simple elements); the
// client area also resolves -id for any control of the window, the ids its
// WinEvents name.
class AccessibleControl final : public IAccessible {
public:
    // New objects with one reference.
    static AccessibleControl* ForClient(Window& window);
    static AccessibleControl* ForControl(Window& window, Control& control);

    STDMETHODIMP QueryInterface(REFIID riid, void** object) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;
    STDMETHODIMP GetTypeInfoCount(UINT* count) override;
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo** info) override;
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override;
    STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                        UINT*) override;

    STDMETHODIMP get_accParent(IDispatch** parent) override;
    STDMETHODIMP get_accChildCount(long* count) override;
    STDMETHODIMP get_accChild(VARIANT child, IDispatch** object) override;
    STDMETHODIMP get_accName(VARIANT child, BSTR* name) override;
    STDMETHODIMP get_accValue(VARIANT child, BSTR* value) override;
    STDMETHODIMP get_accDescription(VARIANT child, BSTR* description) override;
    STDMETHODIMP get_accRole(VARIANT child, VARIANT* role) override;
    STDMETHODIMP get_accState(VARIANT child, VARIANT* state) override;
    STDMETHODIMP get_accHelp(VARIANT child, BSTR* help) override;
    STDMETHODIMP get_accHelpTopic(BSTR* file, VARIANT child, long* topic) override;
    STDMETHODIMP get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override;
    STDMETHODIMP get_accFocus(VARIANT* focus) override;
    STDMETHODIMP get_accSelection(VARIANT* selection) override;
    STDMETHODIMP get_accDefaultAction(VARIANT child, BSTR* action) override;
    STDMETHODIMP accSelect(long flags, VARIANT child) override;
    STDMETHODIMP accLocation(long* left, long* top, long* width, long* height,
                             VARIANT child) override;
    STDMETHODIMP accNavigate(long direction, VARIANT start, VARIANT* end) override;
    STDMETHODIMP accHitTest(long x, long y, VARIANT* child) override;
    STDMETHODIMP accDoDefaultAction(VARIANT child) override;
    STDMETHODIMP put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
    STDMETHODIMP put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

private:
    // What a child id names: a control, or one line (1..n) of it.
    struct Target {
        Control* control = nullptr;
        long line = 0;
    };

    AccessibleControl(Window& window, Control& control, bool client);
    ~AccessibleControl() = default;
    // S_OK with the live control, or the error to answer.
    HRESULT Live(Control*& control) const;
    HRESULT Resolve(const VARIANT& child, Target& target) const;
    // The object for a control of the window (the client one for the root).
    IDispatch* ObjectFor(Control& control) const;
    // A control as a child id of this object when it is this object or one of
    // its children, else as an object.
    void ToVariant(Control& control, VARIANT& result) const;

    std::atomic<ULONG> m_refs{1};
    Window* m_window;
    std::weak_ptr<obase::WeakFlag> m_windowAlive;
    Control* m_control;
    std::weak_ptr<obase::WeakFlag> m_controlAlive;
    const bool m_client;
    const HWND m_hwnd;
    const DWORD m_thread = ::GetCurrentThreadId();
};

} // namespace ui
