#pragma once

#include "ui/controls/CheckBoxTemplate.h"

#include <string>

namespace ui {

// A check box in a named group of its window: selecting one deselects the
// others of the group, and activating a selected one keeps it selected.
template <typename InheritType = Control>
class OptionTemplate : public CheckBoxTemplate<InheritType> {
public:
    ~OptionTemplate() override;

    // Stores the flag even when unchanged. Selecting deselects the rest of
    // the group (passing notify on) and sends "select" only with notify;
    // deselecting always sends "unselect".
    void Selected(bool select, bool notify) override;
    virtual const std::wstring& GetGroup() const { return m_group; }
    // Leaves the window's list for the old group and joins the new one;
    // an empty name belongs to no group.
    virtual void SetGroup(const std::wstring& group);

    void SetWindow(Window* window, Box* parent, bool init) override;
    using CheckBoxTemplate<InheritType>::SetWindow;
    void SetAttribute(const std::wstring& name, const std::wstring& value) override;
    // A click, then selection.
    void Activate() override;
    uint32_t GetAccessRole() const override;
    std::wstring GetAccessAction() const override { return L"Select"; }

private:
    void DeselectGroup(bool notify);

    std::wstring m_group;
};

extern template class OptionTemplate<Control>;
extern template class OptionTemplate<Box>;

using Option = OptionTemplate<Control>;
using OptionBox = OptionTemplate<Box>;

} // namespace ui
