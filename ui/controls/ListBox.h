#pragma once

#include "ui/core/ScrollableBox.h"

#include <memory>

namespace ui {

class ListContainerElement;

// A scrollable box of entries (usually list elements) of which one is the
// current selection. Selecting an entry deselects the previous one, scrolls
// the new one into view and sends "select" from the list with the new
// index as first and the previous index (-1 for none) as second parameter.
// The arrow keys, Home and End move the selection.
class ListBox : public ScrollableBox {
public:
    explicit ListBox(std::unique_ptr<Layout> layout = std::make_unique<Layout>());
    // Entries that outlive the list (auto destroy off) forget it.
    ~ListBox() override;

    int GetCurSel() const { return m_curSel; }
    // Only visible, enabled entries can be selected. trigger false selects
    // without the list's "select"; selecting the current entry again with
    // trigger sends it again.
    virtual bool SelectItem(int index, bool takeFocus = false, bool trigger = true);
    // Scrolls the entry into the visible content (after the pending layout
    // when the entries have not been placed yet).
    void EnsureVisible(int index);

    bool AddAt(std::unique_ptr<Control> control, size_t index) override;
    bool RemoveAt(size_t index) override;
    void RemoveAll() override;
    bool SetItemIndex(Control* control, size_t index) override;
    void SetRect(const UiRect& rect) override;
    void HandleEvent(const EventArgs& event) override;
    uint32_t GetAccessRole() const override;
    // Moves the selection for a navigation key (arrows, Home, End), with the
    // list's "select" when trigger; false for other keys.
    bool SelectByKey(uint16_t key, bool trigger = true);

private:
    ListContainerElement* ElementAt(int index) const;
    // Gives every element its owner and current index.
    void UpdateIndexes();

    int m_curSel = -1;
    int m_pendingVisible = -1;
};

} // namespace ui
