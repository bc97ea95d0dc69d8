#pragma once

#include "ui/core/Box.h"

#include <memory>
#include <string>

namespace ui {

class CComboWnd;
class ListBox;

// Shows the text of its selected entry and, when activated (a click, F4,
// Alt+Down or Alt+Up), drops its list down in a pop-up window (below it,
// or above when the screen has no room below or "popuptop" asks for it).
// The entries live in the list the combo owns; the combo's child
// operations go to that list. A pick sends the list's "select" and then the
// combo's own "select" (new index, -1). Closed, the arrow keys pick the
// next or previous entry.
class Combo : public Box {
public:
    static constexpr int32_t kDefaultDropHeight = 150;

    Combo();
    ~Combo() override;

    void SetAttribute(const std::wstring& name, const std::wstring& value) override;
    void SetWindow(Window* window) override;
    void SetWindow(Window* window, Box* parent, bool init) override;
    void Activate() override;
    // The list too, unless the drop-down holds it (its window scales it).
    void RescaleDpi(int from, int to) override;
    void HandleEvent(const EventArgs& event) override;
    void PaintText(IRenderContext& context) override;
    bool IsAllowTabStop() const override { return IsEnabled() && IsKeyboardEnabled(); }
    uint32_t GetAccessRole() const override;
    // The selected entry's text.
    std::wstring GetAccessValue() const override;
    uint32_t GetAccessState() const override;
    std::wstring GetAccessAction() const override { return L"Open"; }
    bool ExposesAccessChildren() const override { return false; }

    bool Add(std::unique_ptr<Control> control) override;
    bool AddAt(std::unique_ptr<Control> control, size_t index) override;
    bool Remove(Control* control) override;
    bool RemoveAt(size_t index) override;
    void RemoveAll() override;
    size_t GetCount() const override;
    Control* GetItemAt(size_t index) const override;
    int GetItemIndex(const Control* control) const override;

    ListBox& GetListBox() const { return *m_list; }
    int GetCurSel() const { return m_curSel; }
    // Selects without any event (program code showing a setting); an index
    // out of range or equal to the current one is ignored.
    bool SelectItem(int index);
    UiSize GetDropBoxSize() const { return m_dropBoxSize; }
    bool IsPopupTop() const { return m_popupTop; }
    // The open drop-down, or null.
    CComboWnd* GetDropWindow() const { return m_dropWindow; }
    // Where the drop-down goes, in screen coordinates.
    UiRect ComputeDropRect() const;

    // Called by the drop-down: it has closed, or its window is gone.
    void OnDropClosed();
    void OnDropWindowGone();

private:
    bool OnListSelect();
    // Moves the selection by one entry, as a pick (closed combo, arrow keys).
    void Step(bool forward);

    std::unique_ptr<ListBox> m_list;
    CComboWnd* m_dropWindow = nullptr; // deletes itself with its native window
    int m_curSel = -1;
    UiSize m_dropBoxSize{0, kDefaultDropHeight};
    std::wstring m_dropBoxAttributes;
    bool m_popupTop = false;
    bool m_stepping = false;
};

} // namespace ui
