#include "ui/controls/CComboWnd.h"

#include "ui/controls/Combo.h"
#include "ui/controls/ListBox.h"
#include "ui/core/Box.h"

namespace ui {

CComboWnd::CComboWnd(Combo& owner) : m_owner(&owner), m_openingSelection(owner.GetCurSel())
{
    GetShadow().SetAttached(false);
    GetShadow().SetCorner(UiRect(), false);
}

bool CComboWnd::Open(const UiRect& rect)
{
    Window* ownerWindow = m_owner->GetWindow();
    HWND parent = ownerWindow->GetHWND();
    const std::weak_ptr<obase::WeakFlag> alive = GetWeakFlag();
    HWND hwnd = Create(parent, std::wstring(), WS_POPUP, WS_EX_TOOLWINDOW, true, rect);
    if (hwnd == nullptr) {
        // Destroyed during creation, it has deleted itself already.
        if (!alive.expired())
            delete this;
        return false;
    }
    ::ShowWindow(hwnd, SW_SHOW);
    if (alive.expired())
        return false;
    // The list takes the keys: arrows pick, the wheel scrolls.
    if (m_listBorrowed && m_owner != nullptr)
        m_owner->GetListBox().SetFocus();
    // The owner keeps looking active while its drop-down has the focus.
    ::SendMessageW(::GetAncestor(parent, GA_ROOT), WM_NCACTIVATE, TRUE, 0);
    return true;
}

void CComboWnd::OnCreate()
{
    Init(GetHWND());
    auto root = std::make_unique<Box>();
    root->SetAutoDestroy(false);
    m_rootBox = root.get();
    // Borrowed: the root box does not destroy what it holds.
    root->Add(std::unique_ptr<Control>(&m_owner->GetListBox()));
    m_listBorrowed = true;
    SetWindowResourcePath(m_owner->GetWindow()->GetWindowResourcePath());
    AttachRoot(std::move(root));
    // Laid out now rather than at the first paint, so that the entries can
    // be hit from the first message on.
    RECT client{};
    ::GetClientRect(GetHWND(), &client);
    m_rootBox->SetRect(UiRect(client.left, client.top, client.right, client.bottom));
}

LRESULT CComboWnd::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled)
{
    if (m_closing) {
        // Nothing reaches the controls any more.
        if (message == WM_CLOSE && m_owner != nullptr)
            m_owner->OnDropClosed();
        handled = false;
        return 0;
    }
    switch (message) {
    case WM_CREATE:
        OnCreate();
        handled = true;
        return 0;
    case WM_KILLFOCUS:
        BeginClose();
        handled = true;
        return 0;
    case WM_KEYDOWN:
        handled = true;
        if (wParam == VK_ESCAPE)
            BeginClose();
        else if (wParam == VK_RETURN || wParam == VK_F4)
            Pick();
        else if (m_owner == nullptr ||
                 !m_owner->GetListBox().SelectByKey(static_cast<uint16_t>(wParam), false))
            handled = false;
        if (handled)
            return 0;
        break;
    case WM_SYSKEYDOWN:
        if (wParam == VK_UP || wParam == VK_DOWN) {
            Pick();
            handled = true;
            return 0;
        }
        break;
    default:
        break;
    }
    return Window::HandleMessage(message, wParam, lParam, handled);
}

void CComboWnd::BeginClose()
{
    if (m_closing)
        return;
    m_closing = true;
    ::PostMessageW(GetHWND(), WM_CLOSE, 0, 0);
    if (m_owner != nullptr) {
        // An entry the arrows went to but nobody picked (Escape, a click
        // elsewhere) is dropped: the list shows the combo's entry again.
        ListBox& list = m_owner->GetListBox();
        const int current = m_owner->GetCurSel();
        if (current >= 0 && list.GetCurSel() != current)
            list.SelectItem(current, false, false);
    }
    ReturnList();
}

void CComboWnd::Pick()
{
    // The list's "select" reaches the combo, which closes the pop-up.
    ListBox* list = m_owner != nullptr ? &m_owner->GetListBox() : nullptr;
    if (list == nullptr || !list->SelectItem(list->GetCurSel(), false, true))
        BeginClose();
}

void CComboWnd::ReturnList()
{
    if (!m_listBorrowed)
        return;
    m_listBorrowed = false;
    if (m_rootBox != nullptr && m_owner != nullptr)
        m_rootBox->Remove(&m_owner->GetListBox());
}

void CComboWnd::ForgetOwner()
{
    ReturnList();
    m_owner = nullptr;
    if (GetHWND() != nullptr)
        ::DestroyWindow(GetHWND());
}

void CComboWnd::OnFinalMessage(HWND)
{
    ReturnList();
    if (m_owner != nullptr)
        m_owner->OnDropWindowGone();
    delete this;
}

} // namespace ui
