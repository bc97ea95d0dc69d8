#include "ui/controls/CheckBoxTemplate.h"

#include "ui/controls/ControlEvents.h"
#include "ui/core/StateAttributeName.h"
#include "ui/core/AttributeText.h"
#include "ui/core/Window.h"
#include "ui/render/IRenderContext.h"

#include <oleacc.h>

namespace ui {

template <typename InheritType>
void CheckBoxTemplate<InheritType>::Selected(bool select, bool notify)
{
    if (select == m_selected)
        return;
    m_selected = select;
    this->NotifyAccess(EVENT_OBJECT_STATECHANGE);
    if (notify && this->m_window != nullptr && !this->m_window->IsBuilding()) {
        NotifySelection();
        return;
    }
    this->Invalidate();
}

template <typename InheritType>
void CheckBoxTemplate<InheritType>::NotifySelection()
{
    const std::weak_ptr<obase::WeakFlag> alive = this->GetWeakFlag();
    SendControlEvent(*this, m_selected ? kEventSelect : kEventUnSelect);
    if (!alive.expired())
        this->Invalidate();
}

template <typename InheritType>
void CheckBoxTemplate<InheritType>::SetAttribute(const std::wstring& name,
                                                 const std::wstring& value)
{
    if (name == L"selected") {
        Selected(AttributeText::ParseBool(value), true);
    } else if (name == L"selectedtextcolor") {
        SetSelectedTextColor(value);
    } else if (const auto image = StateInAttributeName(name, L"selected", L"image")) {
        SetSelectedStateImage(kStateImageSelectedBk, *image, value);
    } else if (const auto foreImage = StateInAttributeName(name, L"selectedfore", L"image")) {
        SetSelectedStateImage(kStateImageSelectedFore, *foreImage, value);
    } else if (const auto color = StateInAttributeName(name, L"selected", L"color")) {
        SetSelectedStateColor(*color, value);
    } else {
        ButtonTemplate<InheritType>::SetAttribute(name, value);
    }
}

template <typename InheritType>
void CheckBoxTemplate<InheritType>::Activate()
{
    if (!this->CanActivate())
        return;
    Selected(!m_selected, true);
}

template <typename InheritType>
uint32_t CheckBoxTemplate<InheritType>::GetAccessRole() const
{
    return ROLE_SYSTEM_CHECKBUTTON;
}

template <typename InheritType>
uint32_t CheckBoxTemplate<InheritType>::GetAccessState() const
{
    const uint32_t state = ButtonTemplate<InheritType>::GetAccessState();
    return m_selected ? state | STATE_SYSTEM_CHECKED : state;
}

template <typename InheritType>
bool CheckBoxTemplate<InheritType>::HasHotLook() const
{
    // Selected hot images count as well: otherwise they would only show
    // when something else happened to repaint the hovered box.
    const auto hasHotImage = [this](StateImageType type) {
        const auto found = this->m_images.find(type);
        return found != this->m_images.end() && found->second.HasHotImage();
    };
    return m_selectedColors.HasHotColor() || hasHotImage(kStateImageSelectedBk) ||
           hasHotImage(kStateImageSelectedFore) || ButtonTemplate<InheritType>::HasHotLook();
}

template <typename InheritType>
void CheckBoxTemplate<InheritType>::PaintStateColors(IRenderContext& context)
{
    if (!m_selected) {
        ButtonTemplate<InheritType>::PaintStateColors(context);
        return;
    }
    m_selectedColors.Paint(context, this->m_paintRect, this->m_state, this->m_hotAlpha,
                           this->HasHotFade());
}

template <typename InheritType>
void CheckBoxTemplate<InheritType>::PaintStateImages(IRenderContext& context)
{
    if (!m_selected) {
        ButtonTemplate<InheritType>::PaintStateImages(context);
        return;
    }
    for (const StateImageType type : {kStateImageSelectedBk, kStateImageSelectedFore})
        this->m_images[type].Paint(*this, context, this->m_state, this->m_hotAlpha,
                                   this->HasHotFade());
}

template <typename InheritType>
void CheckBoxTemplate<InheritType>::PaintText(IRenderContext& context)
{
    if (!m_selected) {
        ButtonTemplate<InheritType>::PaintText(context);
        return;
    }
    const std::wstring text = this->GetText();
    if (text.empty())
        return;
    UiRect rect = this->m_rect;
    rect.Deflate(this->m_textPadding);
    std::wstring color;
    if (!this->IsEnabled())
        color = this->m_textColors.Get(kControlStateDisabled);
    else if (!m_selectedTextColor.empty())
        color = m_selectedTextColor;
    else
        color = this->m_textColors.Get(kControlStateNormal);
    this->DrawTextIn(context, rect, text, color, 255, false);
}

template <typename InheritType>
void CheckBoxTemplate<InheritType>::SetSelectedTextColor(const std::wstring& color)
{
    m_selectedTextColor = color;
    this->Invalidate();
}

template <typename InheritType>
const std::wstring& CheckBoxTemplate<InheritType>::GetSelectedStateColor(ControlState state) const
{
    return m_selectedColors.Get(state);
}

template <typename InheritType>
void CheckBoxTemplate<InheritType>::SetSelectedStateColor(ControlState state,
                                                          const std::wstring& color)
{
    m_selectedColors.Set(state, color);
    this->Invalidate();
}

template <typename InheritType>
void CheckBoxTemplate<InheritType>::SetSelectedStateImage(StateImageType type, ControlState state,
                                                          const std::wstring& image)
{
    this->m_images[type].Set(state, image);
    if (this->IsAutoSized())
        this->RelayoutFromAncestor();
    else
        this->Invalidate();
}

template class CheckBoxTemplate<Control>;
template class CheckBoxTemplate<Box>;

} // namespace ui
