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
};

} // namespace orb_comp
