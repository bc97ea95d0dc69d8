#pragma once

#include "ui/controls/ButtonTemplate.h"

namespace ui {

// A button with a selected flag and a look of its own while selected:
// selected state colours, selected background and fore state images and a
// selected text colour. Activating it toggles the flag; it sends "select"
// and "unselect" instead of a click.
template <typename InheritType = Control>
class CheckBoxTemplate : public ButtonTemplate<InheritType> {
public:
    // Nothing when unchanged; with notify and a window, "select" or
    // "unselect" is sent. Program code showing a state passes notify false.
    virtual void Selected(bool select, bool notify);
    bool IsSelected() const { return m_selected; }

    void SetAttribute(const std::wstring& name, const std::wstring& value) override;
    void Activate() override;
    bool HasHotLook() const override;
    bool IsPushButton() const override { return false; }
    uint32_t GetAccessRole() const override;
    uint32_t GetAccessState() const override;
    std::wstring GetAccessAction() const override { return m_selected ? L"Uncheck" : L"Check"; }
    void PaintStateColors(IRenderContext& context) override;
    void PaintStateImages(IRenderContext& context) override;
    void PaintText(IRenderContext& context) override;

    const std::wstring& GetSelectedTextColor() const { return m_selectedTextColor; }
    void SetSelectedTextColor(const std::wstring& color);
    const std::wstring& GetSelectedStateColor(ControlState state) const;
    void SetSelectedStateColor(ControlState state, const std::wstring& color);
    // type is kStateImageSelectedBk or kStateImageSelectedFore.
    void SetSelectedStateImage(StateImageType type, ControlState state, const std::wstring& image);

protected:
    // Raises "select" or "unselect" for the current flag, then repaints
    // (unless a handler destroyed the control).
    void NotifySelection();

    bool m_selected = false;
    std::wstring m_selectedTextColor;
    StateColorMap m_selectedColors;
};

extern template class CheckBoxTemplate<Control>;
extern template class CheckBoxTemplate<Box>;

using CheckBox = CheckBoxTemplate<Control>;
using CheckBoxBox = CheckBoxTemplate<Box>;

} // namespace ui
