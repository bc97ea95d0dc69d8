#include "ui/access/AccessibleControl.h"

#include "ui/access/AccessTree.h"
#include "ui/core/AccessIid.h"
#include "ui/core/Box.h"
#include "ui/core/Control.h"
#include "ui/core/Window.h"

#include <climits>
#include <string>
#include <vector>

namespace ui {

namespace {

HRESULT ToBstr(const std::wstring& text, BSTR* out)
{
    if (text.empty())
        return S_FALSE;
    *out = ::SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    return *out != nullptr ? S_OK : E_OUTOFMEMORY;
}

void SetChildId(VARIANT& result, long id)
{
    result.vt = VT_I4;
    result.lVal = id;
}

} // namespace

AccessibleControl* AccessibleControl::ForClient(Window& window)
{
    Control* root = window.GetRoot();
    return root != nullptr ? new AccessibleControl(window, *root, true) : nullptr;
}

AccessibleControl* AccessibleControl::ForControl(Window& window, Control& control)
{
    return new AccessibleControl(window, control, false);
}

AccessibleControl::AccessibleControl(Window& window, Control& control, bool client)
    : m_window(&window),
      m_windowAlive(window.GetWeakFlag()),
      m_control(&control),
      m_controlAlive(control.GetWeakFlag()),
      m_client(client),
      m_hwnd(window.GetHWND())
{
}

STDMETHODIMP AccessibleControl::QueryInterface(REFIID riid, void** object)
{
    if (object == nullptr)
        return E_POINTER;
    *object = nullptr;
    if (riid != IID_IUnknown && riid != IID_IDispatch && riid != kIidAccessible)
        return E_NOINTERFACE;
    *object = static_cast<IAccessible*>(this);
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) AccessibleControl::AddRef()
{
    return ++m_refs;
}

STDMETHODIMP_(ULONG) AccessibleControl::Release()
{
    const ULONG refs = --m_refs;
    if (refs == 0)
        delete this;
    return refs;
}

STDMETHODIMP AccessibleControl::GetTypeInfoCount(UINT* count)
{
    if (count == nullptr)
        return E_POINTER;
    *count = 0;
    return S_OK;
}

STDMETHODIMP AccessibleControl::GetTypeInfo(UINT, LCID, ITypeInfo** info)
{
    if (info != nullptr)
        *info = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP AccessibleControl::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*)
{
    return E_NOTIMPL;
}

STDMETHODIMP AccessibleControl::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*,
                                       EXCEPINFO*, UINT*)
{
    return E_NOTIMPL;
}

HRESULT AccessibleControl::Live(Control*& control) const
{
    control = nullptr;
    if (::GetCurrentThreadId() != m_thread)
        return RPC_E_WRONG_THREAD;
    if (m_windowAlive.expired() || m_controlAlive.expired() || !::IsWindow(m_hwnd))
        return CO_E_OBJNOTCONNECTED;
    // A control taken out of the tree, or a root that was replaced.
    if (m_control->GetWindow() != m_window || (m_client && m_window->GetRoot() != m_control))
        return CO_E_OBJNOTCONNECTED;
    control = m_control;
    return S_OK;
}

HRESULT AccessibleControl::Resolve(const VARIANT& child, Target& target) const
{
    Control* self = nullptr;
    if (const HRESULT live = Live(self); FAILED(live))
        return live;
    if (child.vt != VT_I4)
        return E_INVALIDARG;
    const long id = child.lVal;
    if (id == CHILDID_SELF) {
        target = Target{self, 0};
        return S_OK;
    }
    if (id > 0) {
        const size_t count = self->GetAccessLines().size();
        if (count > 0) {
            if (static_cast<size_t>(id) > count)
                return E_INVALIDARG;
            target = Target{self, id};
            return S_OK;
        }
        const std::vector<Control*> children = AccessTree::Children(*self);
        if (static_cast<size_t>(id) > children.size())
            return E_INVALIDARG;
        target = Target{children[static_cast<size_t>(id) - 1], 0};
        return S_OK;
    }
    if (m_client && id != LONG_MIN) {
        if (Control* found = m_window->FindAccessControl(static_cast<int32_t>(-id))) {
            target = Target{found, 0};
            return S_OK;
        }
    }
    return E_INVALIDARG;
}

IDispatch* AccessibleControl::ObjectFor(Control& control) const
{
    if (&control == m_window->GetRoot())
        return ForClient(*m_window);
    return ForControl(*m_window, control);
}

void AccessibleControl::ToVariant(Control& control, VARIANT& result) const
{
    if (&control == m_control) {
        SetChildId(result, CHILDID_SELF);
        return;
    }
    result.vt = VT_DISPATCH;
    result.pdispVal = ObjectFor(control);
}

STDMETHODIMP AccessibleControl::get_accParent(IDispatch** parent)
{
    if (parent == nullptr)
        return E_POINTER;
    *parent = nullptr;
    Control* self = nullptr;
    if (const HRESULT live = Live(self); FAILED(live))
        return live;
    if (m_client) {
        // The system's object for the whole window (frame, title bar).
        return ::AccessibleObjectFromWindow(m_hwnd, static_cast<DWORD>(OBJID_WINDOW), IID_IDispatch,
                                            reinterpret_cast<void**>(parent));
    }
    Box* box = self->GetParent();
    *parent = box != nullptr ? ObjectFor(*box) : ForClient(*m_window);
    return *parent != nullptr ? S_OK : S_FALSE;
}

STDMETHODIMP AccessibleControl::get_accChildCount(long* count)
{
    if (count == nullptr)
        return E_POINTER;
    *count = 0;
    Control* self = nullptr;
    if (const HRESULT live = Live(self); FAILED(live))
        return live;
    const size_t lines = self->GetAccessLines().size();
    *count = static_cast<long>(lines > 0 ? lines : AccessTree::Children(*self).size());
    return S_OK;
}

STDMETHODIMP AccessibleControl::get_accChild(VARIANT child, IDispatch** object)
{
    if (object == nullptr)
        return E_POINTER;
    *object = nullptr;
    Target target;
    if (const HRESULT resolved = Resolve(child, target); FAILED(resolved))
        return resolved;
    if (target.line > 0)
        return S_FALSE; // a line is a simple element of this object
    if (target.control == m_control)
        return E_INVALIDARG;
    *object = ObjectFor(*target.control);
    return S_OK;
}

STDMETHODIMP AccessibleControl::get_accName(VARIANT child, BSTR* name)
{
    if (name == nullptr)
        return E_POINTER;
    *name = nullptr;
    Target target;
    if (const HRESULT resolved = Resolve(child, target); FAILED(resolved))
        return resolved;
    if (target.line > 0)
        return ToBstr(target.control->GetAccessLines()[static_cast<size_t>(target.line) - 1], name);
    if (target.control == m_window->GetRoot())
        return ToBstr(m_window->GetAccessName(), name);
    return ToBstr(target.control->GetAccessName(), name);
}

STDMETHODIMP AccessibleControl::get_accValue(VARIANT child, BSTR* value)
{
    if (value == nullptr)
        return E_POINTER;
    *value = nullptr;
    Target target;
    if (const HRESULT resolved = Resolve(child, target); FAILED(resolved))
        return resolved;
    return target.line > 0 ? S_FALSE : ToBstr(target.control->GetAccessValue(), value);
}

STDMETHODIMP AccessibleControl::get_accDescription(VARIANT child, BSTR* description)
{
    if (description == nullptr)
        return E_POINTER;
    *description = nullptr;
    Target target;
    const HRESULT resolved = Resolve(child, target);
    return FAILED(resolved) ? resolved : S_FALSE;
}

STDMETHODIMP AccessibleControl::get_accRole(VARIANT child, VARIANT* role)
{
    if (role == nullptr)
        return E_POINTER;
    ::VariantInit(role);
    Target target;
    if (const HRESULT resolved = Resolve(child, target); FAILED(resolved))
        return resolved;
    uint32_t value = target.control->GetAccessRole();
    if (target.line > 0)
        value = ROLE_SYSTEM_STATICTEXT;
    else if (target.control == m_window->GetRoot())
        value = m_window->GetAccessRole();
    SetChildId(*role, static_cast<long>(value));
    return S_OK;
}

STDMETHODIMP AccessibleControl::get_accState(VARIANT child, VARIANT* state)
{
    if (state == nullptr)
        return E_POINTER;
    ::VariantInit(state);
    Target target;
    if (const HRESULT resolved = Resolve(child, target); FAILED(resolved))
        return resolved;
    uint32_t value = target.control->GetAccessState();
    if (target.line > 0) {
        value = STATE_SYSTEM_READONLY | (value & STATE_SYSTEM_INVISIBLE);
    } else if (target.control == m_window->GetRoot()) {
        value &= STATE_SYSTEM_UNAVAILABLE;
        if (!::IsWindowVisible(m_hwnd))
            value |= STATE_SYSTEM_INVISIBLE;
        value |= STATE_SYSTEM_FOCUSABLE;
        if (::GetFocus() == m_hwnd && m_window->GetFocus() == nullptr)
            value |= STATE_SYSTEM_FOCUSED;
    }
    SetChildId(*state, static_cast<long>(value));
    return S_OK;
}

STDMETHODIMP AccessibleControl::get_accHelp(VARIANT child, BSTR* help)
{
    if (help == nullptr)
        return E_POINTER;
    *help = nullptr;
    Target target;
    const HRESULT resolved = Resolve(child, target);
    return FAILED(resolved) ? resolved : S_FALSE;
}

STDMETHODIMP AccessibleControl::get_accHelpTopic(BSTR* file, VARIANT child, long* topic)
{
    if (file == nullptr || topic == nullptr)
        return E_POINTER;
    *file = nullptr;
    *topic = -1;
    Target target;
    const HRESULT resolved = Resolve(child, target);
    return FAILED(resolved) ? resolved : S_FALSE;
}

STDMETHODIMP AccessibleControl::get_accKeyboardShortcut(VARIANT child, BSTR* shortcut)
{
    if (shortcut == nullptr)
        return E_POINTER;
    *shortcut = nullptr;
    Target target;
    const HRESULT resolved = Resolve(child, target);
    return FAILED(resolved) ? resolved : S_FALSE;
}

STDMETHODIMP AccessibleControl::get_accFocus(VARIANT* focus)
{
    if (focus == nullptr)
        return E_POINTER;
    ::VariantInit(focus);
    Control* self = nullptr;
    if (const HRESULT live = Live(self); FAILED(live))
        return live;
    if (::GetFocus() != m_hwnd)
        return S_FALSE;
    Control* focused = m_window->GetFocus();
    if (focused == nullptr) {
        if (!m_client)
            return S_FALSE;
        SetChildId(*focus, CHILDID_SELF);
        return S_OK;
    }
    if (!self->IsAncestorOf(focused))
        return S_FALSE;
    ToVariant(*focused, *focus);
    return S_OK;
}

STDMETHODIMP AccessibleControl::get_accSelection(VARIANT* selection)
{
    if (selection == nullptr)
        return E_POINTER;
    ::VariantInit(selection);
    Control* self = nullptr;
    if (const HRESULT live = Live(self); FAILED(live))
        return live;
    for (Control* child : AccessTree::Children(*self)) {
        if ((child->GetAccessState() & STATE_SYSTEM_SELECTED) != 0) {
            ToVariant(*child, *selection);
            return S_OK;
        }
    }
    return S_FALSE;
}

STDMETHODIMP AccessibleControl::get_accDefaultAction(VARIANT child, BSTR* action)
{
    if (action == nullptr)
        return E_POINTER;
    *action = nullptr;
    Target target;
    if (const HRESULT resolved = Resolve(child, target); FAILED(resolved))
        return resolved;
    return target.line > 0 ? S_FALSE : ToBstr(target.control->GetAccessAction(), action);
}

STDMETHODIMP AccessibleControl::accSelect(long flags, VARIANT child)
{
    Target target;
    if (const HRESULT resolved = Resolve(child, target); FAILED(resolved))
        return resolved;
    if (flags != SELFLAG_TAKEFOCUS || target.line > 0)
        return DISP_E_MEMBERNOTFOUND;
    if ((target.control->GetAccessState() & STATE_SYSTEM_FOCUSABLE) == 0)
        return S_FALSE;
    m_window->SetFocus(target.control);
    return S_OK;
}

STDMETHODIMP AccessibleControl::accLocation(long* left, long* top, long* width, long* height,
                                            VARIANT child)
{
    if (left == nullptr || top == nullptr || width == nullptr || height == nullptr)
        return E_POINTER;
    *left = *top = *width = *height = 0;
    Target target;
    if (const HRESULT resolved = Resolve(child, target); FAILED(resolved))
        return resolved;
    const UiRect rect =
        target.line > 0 ? target.control->GetAccessLineRect(static_cast<size_t>(target.line) - 1)
                        : target.control->GetRect();
    POINT origin{rect.left, rect.top};
    ::ClientToScreen(m_hwnd, &origin);
    *left = origin.x;
    *top = origin.y;
    *width = rect.Width();
    *height = rect.Height();
    return S_OK;
}

STDMETHODIMP AccessibleControl::accNavigate(long direction, VARIANT start, VARIANT* end)
{
    if (end == nullptr)
        return E_POINTER;
    ::VariantInit(end);
    Target target;
    if (const HRESULT resolved = Resolve(start, target); FAILED(resolved))
        return resolved;
    if (direction < NAVDIR_UP || direction > NAVDIR_LASTCHILD)
        return E_INVALIDARG;
    const long lines = static_cast<long>(target.control->GetAccessLines().size());
    if (lines > 0 && target.control == m_control) {
        // Lines are simple elements of this object: they are answered by number.
        long line = 0;
        if (direction == NAVDIR_FIRSTCHILD || direction == NAVDIR_LASTCHILD) {
            if (target.line == 0)
                line = direction == NAVDIR_FIRSTCHILD ? 1 : lines;
        } else if (target.line > 0) {
            const bool back = direction == NAVDIR_PREVIOUS || direction == NAVDIR_UP;
            const bool forth = direction == NAVDIR_NEXT || direction == NAVDIR_DOWN;
            line = back ? target.line - 1 : forth ? target.line + 1 : 0;
        }
        if (line >= 1 && line <= lines) {
            SetChildId(*end, line);
            return S_OK;
        }
        if (target.line > 0)
            return S_FALSE;
    }
    Control* found = nullptr;
    if (direction == NAVDIR_FIRSTCHILD || direction == NAVDIR_LASTCHILD) {
        const std::vector<Control*> children = AccessTree::Children(*target.control);
        if (!children.empty())
            found = direction == NAVDIR_FIRSTCHILD ? children.front() : children.back();
    } else if (direction == NAVDIR_NEXT || direction == NAVDIR_PREVIOUS) {
        found = AccessTree::Sibling(*target.control, direction == NAVDIR_NEXT);
    } else {
        found = AccessTree::Nearest(*target.control, direction);
    }
    if (found == nullptr)
        return S_FALSE;
    ToVariant(*found, *end);
    return S_OK;
}

STDMETHODIMP AccessibleControl::accHitTest(long x, long y, VARIANT* child)
{
    if (child == nullptr)
        return E_POINTER;
    ::VariantInit(child);
    Control* self = nullptr;
    if (const HRESULT live = Live(self); FAILED(live))
        return live;
    POINT point{x, y};
    ::ScreenToClient(m_hwnd, &point);
    const UiPoint at(point.x, point.y);
    Control* hit = AccessTree::HitTest(*self, at);
    if (hit == nullptr)
        return S_FALSE;
    if (hit == self) {
        const size_t lines = self->GetAccessLines().size();
        for (size_t i = 0; i < lines; ++i) {
            if (self->GetAccessLineRect(i).Contains(at)) {
                SetChildId(*child, static_cast<long>(i + 1));
                return S_OK;
            }
        }
    }
    ToVariant(*hit, *child);
    return S_OK;
}

STDMETHODIMP AccessibleControl::accDoDefaultAction(VARIANT child)
{
    Target target;
    if (const HRESULT resolved = Resolve(child, target); FAILED(resolved))
        return resolved;
    if (target.line > 0 || target.control->GetAccessAction().empty())
        return DISP_E_MEMBERNOTFOUND;
    // Run from the message loop, as a click would be.
    m_window->PostAccessAction(*target.control);
    return S_OK;
}

} // namespace ui
