// The accessibility side of Window: answering WM_GETOBJECT through the
// installed factory, WinEvents for its controls and posted default actions.
#include "ui/core/Window.h"

#include "ui/core/AccessIid.h"
#include "ui/core/Box.h"
#include "ui/core/Control.h"

#include <oleacc.h>

namespace ui {

namespace {

Window::AccessibleFactory g_accessibleFactory = nullptr;

Control* FindById(Control* control, int32_t id)
{
    if (control == nullptr || control->GetAccessId() == id)
        return control;
    if (auto* box = dynamic_cast<Box*>(control)) {
        for (size_t i = 0; i < box->GetCount(); ++i) {
            if (Control* found = FindById(box->GetItemAt(i), id))
                return found;
        }
    }
    return nullptr;
}

} // namespace

void Window::SetAccessibleFactory(AccessibleFactory factory)
{
    g_accessibleFactory = factory;
}

uint32_t Window::GetAccessRole() const
{
    return ROLE_SYSTEM_WINDOW;
}

std::wstring Window::GetAccessName() const
{
    if (m_hwnd == nullptr)
        return std::wstring();
    std::wstring title(static_cast<size_t>(::GetWindowTextLengthW(m_hwnd)) + 1, L'\0');
    title.resize(static_cast<size_t>(
        ::GetWindowTextW(m_hwnd, title.data(), static_cast<int>(title.size()))));
    return title;
}

void Window::NotifyAccessEvent(uint32_t event, const Control& control) const
{
    // Nothing listens to a tree that is still being built.
    if (m_hwnd == nullptr || m_root == nullptr || IsBuilding())
        return;
    const LONG child = &control == m_root.get() ? CHILDID_SELF : -control.GetAccessId();
    ::NotifyWinEvent(event, m_hwnd, OBJID_CLIENT, child);
}

Control* Window::FindAccessControl(int32_t id) const
{
    return FindById(m_root.get(), id);
}

void Window::PostAccessAction(const Control& control)
{
    if (m_hwnd != nullptr)
        ::PostMessageW(m_hwnd, kMsgAccessAction, static_cast<WPARAM>(control.GetAccessId()), 0);
}

void Window::RunAccessAction(int32_t id)
{
    // The control may have gone since the action was asked for.
    if (Control* control = FindAccessControl(id))
        control->DoAccessAction();
}

bool Window::AnswerGetObject(WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    if (static_cast<LONG>(lParam) != OBJID_CLIENT || g_accessibleFactory == nullptr ||
        m_root == nullptr)
        return false;
    IAccessible* object = g_accessibleFactory(*this);
    if (object == nullptr)
        return false;
    result = ::LresultFromObject(kIidAccessible, wParam, object);
    object->Release();
    return result >= 0;
}

} // namespace ui
