#pragma once

#include "ui/controls/ListContainerElement.h"

namespace orb_comp {

// An item of a pop-up menu. Releasing the button on the item it was pressed
// on activates it (raising "click" and "select") and closes the menu; a
// release elsewhere, or one that arrives while the menu is closing, does
// neither.
class CMenuElementUI : public ui::ListContainerElement {
public:
    // Activates the item as a choice and closes its menu.
    void Choose();
    bool OnButtonUp(const ui::EventArgs& event) override;
    uint32_t GetAccessRole() const override;
    // Focused while highlighted; never selected.
    uint32_t GetAccessState() const override;
    std::wstring GetAccessAction() const override { return L"Execute"; }
    void DoAccessAction() override { Choose(); }
};

} // namespace orb_comp
