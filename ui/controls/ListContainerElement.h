#pragma once

#include "ui/controls/OptionTemplate.h"

namespace ui {

class ListBox;

// An entry of a list box: an option over a box, so it may hold further
// controls. It knows its list and its index there; when it is selected the
// list selects it too (and, with notify, sends its own "select").
class ListContainerElement : public OptionTemplate<Box> {
public:
    void Selected(bool select, bool notify) override;
    uint32_t GetAccessRole() const override;
    uint32_t GetAccessState() const override;

    ListBox* GetOwner() const { return m_owner; }
    int GetIndex() const { return m_index; }
    // Kept up to date by the list as entries come and go.
    void SetOwner(ListBox* owner, int index);

private:
    ListBox* m_owner = nullptr;
    int m_index = -1;
};

} // namespace ui
