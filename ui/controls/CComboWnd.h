#pragma once

#include "ui/core/Window.h"

namespace ui {

class Box;
class Combo;

// The drop-down pop-up of a combo: a tool window owned by the combo's
// window that borrows the combo's list while it is open. The arrow keys,
// Home and End move through the entries; Enter, F4, Alt+Up and Alt+Down
// pick the entry they are on, as a click does, and Escape closes without a
// pick. It closes when it loses the focus (also after a pick, which posts
// that), gives the list back, and deletes itself when its native window is
// destroyed.
class CComboWnd : public Window {
public:
    explicit CComboWnd(Combo& owner);

    // Creates and shows the pop-up at rect (screen coordinates).
    bool Open(const UiRect& rect);
    std::wstring GetWindowClassName() const override { return L"KvComboDropWindow"; }
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override;
    void OnFinalMessage(HWND hwnd) override;
    // The combo is going away: give its list back and close at once.
    void ForgetOwner();
    bool IsClosing() const { return m_closing; }
    int GetOpeningSelection() const { return m_openingSelection; }

private:
    void OnCreate();
    void BeginClose();
    // Picks the list's current entry (closing without one).
    void Pick();
    // Takes the list out of the root box and the window, once.
    void ReturnList();

    Combo* m_owner = nullptr;
    Box* m_rootBox = nullptr; // owned by the window as its root
    int m_openingSelection = -1;
    bool m_closing = false;
    bool m_listBorrowed = false;
};

} // namespace ui
