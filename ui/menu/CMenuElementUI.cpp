#include "ui/menu/CMenuElementUI.h"

#include "ui/menu/CMenuWnd.h"

#include <oleacc.h>

namespace orb_comp {

namespace {

// Closes the menu of an item that was just chosen, unless a handler of the
// item already closed or destroyed it.
void CloseAfterChoice(const std::weak_ptr<obase::WeakFlag>& menuAlive, CMenuWnd* menu)
{
    if (menu == nullptr || menuAlive.expired() || !::IsWindow(menu->GetHWND()))
        return;
    menu->Close(1);
}

} // namespace

void CMenuElementUI::Choose()
{
    auto* menu = dynamic_cast<CMenuWnd*>(GetWindow());
    if (menu == nullptr || menu->IsClosing() || !CanActivate())
        return;
    const std::weak_ptr<obase::WeakFlag> menuAlive = menu->GetWeakFlag();
    Activate();
    CloseAfterChoice(menuAlive, menu);
}

uint32_t CMenuElementUI::GetAccessRole() const
{
    return ROLE_SYSTEM_MENUITEM;
}

uint32_t CMenuElementUI::GetAccessState() const
{
    uint32_t state = ListContainerElement::GetAccessState() &
                     ~(STATE_SYSTEM_SELECTABLE | STATE_SYSTEM_SELECTED | STATE_SYSTEM_HOTTRACKED);
    if (IsEnabled())
        state |= STATE_SYSTEM_FOCUSABLE;
    if (GetState() == ui::kControlStateHot)
        state |= STATE_SYSTEM_FOCUSED;
    return state;
}

bool CMenuElementUI::OnButtonUp(const ui::EventArgs& event)
{
    if (!IsMouseFocused())
        return false;
    auto* menu = dynamic_cast<CMenuWnd*>(GetWindow());
    ui::EventArgs release = event;
    if (menu != nullptr && menu->IsClosing()) {
        // The closing window releases the pressed item: that is no choice,
        // so it is treated like a release outside the item.
        release.mousePoint = ui::UiPoint(GetRect().left - 1, GetRect().top - 1);
    }
    const std::weak_ptr<obase::WeakFlag> menuAlive =
        menu != nullptr ? menu->GetWeakFlag() : std::weak_ptr<obase::WeakFlag>();
    // The base resets the look and, for a release inside, activates.
    if (!ListContainerElement::OnButtonUp(release))
        return false;
    CloseAfterChoice(menuAlive, menu);
    return true;
}

} // namespace orb_comp
