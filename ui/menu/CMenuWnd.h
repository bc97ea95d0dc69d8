#pragma once

#include "ui/core/WindowImplBase.h"
#include "ui/menu/MenuPlacement.h"

#include <string>
#include <vector>

namespace orb_comp {

class CMenuElementUI;

// A pop-up menu: a small top-most window built from a skin file of list
// elements ("MenuElement"), opened at a screen point and kept inside the
// monitor's work area. It closes when it loses the focus, on Escape and
// after an item is chosen; the object deletes itself with its window.
// The arrow keys, Home and End move the highlight; Enter or Space choose
// the highlighted item.
class CMenuWnd : public ui::WindowImplBase {
public:
    static constexpr wchar_t kWindowTitle[] = L"ORB_PANEUI_MENU_WINDOW";

    explicit CMenuWnd(HWND parent = nullptr);

    // Creates the native window from skinFile (in the "menu" skin folder;
    // skinType "xml", the only kind, means that skinFile is a file name),
    // shows it with its top-left corner at point and keeps the caption of
    // the top-level window active. Handlers go onto the items after this.
    // False when the window could not be made (the object is then gone).
    bool Init(const std::wstring& skinFile, const std::wstring& skinType, ui::UiPoint point,
              MenuPosition position = kMenuBelow, bool noFocus = false);
    // Places the menu inside the work area and, unless noFocus, takes the
    // foreground.
    void Show();

    ui::UiPoint GetPoint() const { return m_point; }
    // True from the moment the menu starts closing: items no longer act.
    bool IsClosing() const { return m_closing; }
    void Close(UINT code = 0) override;

    std::wstring GetWindowClassName() const override { return L"MenuWnd"; }
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override;
    std::unique_ptr<ui::Control> CreateControl(const std::wstring& className) override;
    std::wstring GetSkinFolder() override { return L"menu"; }
    std::wstring GetSkinFile() override { return m_skinFile; }
    uint32_t GetAccessRole() const override;
    // A pop-up menu has no name of its own.
    std::wstring GetAccessName() const override { return std::wstring(); }

private:
    std::vector<CMenuElementUI*> SelectableItems() const;
    // Moves the highlight for a navigation key; false for other keys.
    bool MoveHighlight(WPARAM key);
    void ChooseHighlighted();

    HWND m_parent = nullptr;
    ui::UiPoint m_point;
    MenuPosition m_position = kMenuBelow;
    std::wstring m_skinFile;
    std::wstring m_skinType;
    bool m_noFocus = false;
    bool m_closing = false;
};

} // namespace orb_comp
