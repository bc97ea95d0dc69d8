#include "ui/controls/LabelTemplate.h"

#include "ui/core/StateAttributeName.h"
#include "ui/core/AttributeText.h"
#include "ui/core/Box.h"
#include "ui/core/DpiRescale.h"
#include "ui/core/Window.h"
#include "ui/markup/DpiScope.h"
#include "ui/markup/GlobalManager.h"
#include "ui/markup/TextEncoding.h"
#include "ui/render/IRenderContext.h"

#include <oleacc.h>

#include <algorithm>
#include <string_view>
#include <type_traits>

namespace ui {

namespace {

// Every keyword found anywhere in the value applies, in this order; "center"
// is also found inside "vcenter", which then centres horizontally as well.
uint32_t ApplyAlign(uint32_t style, std::wstring_view value)
{
    const auto has = [value](std::wstring_view word) {
        return value.find(word) != std::wstring_view::npos;
    };
    if (has(L"left"))
        style &= ~(kTextCenter | kTextRight | kTextVCenter | kTextSingleLine);
    if (has(L"center")) {
        style &= ~kTextRight;
        style |= kTextCenter;
    }
    if (has(L"right")) {
        style &= ~(kTextCenter | kTextVCenter | kTextSingleLine);
        style |= kTextRight;
    }
    if (has(L"top")) {
        style &= ~(kTextVCenter | kTextBottom);
        style |= kTextSingleLine;
    }
    if (has(L"vcenter")) {
        style &= ~kTextBottom;
        style |= kTextVCenter | kTextSingleLine | kTextCenter;
    }
    if (has(L"bottom")) {
        style &= ~kTextVCenter;
        style |= kTextBottom | kTextSingleLine;
    }
    return style;
}

} // namespace

template <typename InheritType>
LabelTemplate<InheritType>::LabelTemplate()
{
    if constexpr (!std::is_base_of_v<Box, InheritType>) {
        this->m_fixedWidth = kSizeAuto;
        this->m_fixedHeight = kSizeAuto;
    }
    m_textColors.Set(kControlStateNormal, GlobalManager::GetDefaultTextColor());
    m_textColors.Set(kControlStateDisabled, GlobalManager::GetDefaultDisabledTextColor());
}

template <typename InheritType>
std::wstring LabelTemplate<InheritType>::GetText() const
{
    if (m_text.empty() && !m_textId.empty())
        return GlobalManager::GetLanguageStrings().GetStringById(m_textId);
    return m_text;
}

template <typename InheritType>
std::string LabelTemplate<InheritType>::GetUtf8Text() const
{
    return TextEncoding::WideToUtf8(GetText());
}

template <typename InheritType>
void LabelTemplate<InheritType>::SetText(const std::wstring& text)
{
    if (text == m_text)
        return;
    m_text = text;
    RelayoutOrInvalidate();
    this->NotifyAccess(EVENT_OBJECT_NAMECHANGE);
}

template <typename InheritType>
void LabelTemplate<InheritType>::SetUtf8Text(const std::string& text)
{
    SetText(TextEncoding::Utf8ToWide(text));
}

template <typename InheritType>
void LabelTemplate<InheritType>::SetTextId(const std::wstring& id)
{
    if (id == m_textId)
        return;
    m_textId = id;
    RelayoutOrInvalidate();
    this->NotifyAccess(EVENT_OBJECT_NAMECHANGE);
}

template <typename InheritType>
uint32_t LabelTemplate<InheritType>::GetAccessRole() const
{
    return GetText().empty() ? InheritType::GetAccessRole() : ROLE_SYSTEM_STATICTEXT;
}

template <typename InheritType>
std::wstring LabelTemplate<InheritType>::DefaultAccessName() const
{
    std::wstring text = GetText();
    return text.empty() ? InheritType::DefaultAccessName() : text;
}

template <typename InheritType>
void LabelTemplate<InheritType>::SetUtf8TextId(const std::string& id)
{
    SetTextId(TextEncoding::Utf8ToWide(id));
}

template <typename InheritType>
void LabelTemplate<InheritType>::SetAttribute(const std::wstring& name, const std::wstring& value)
{
    if (name == L"align") {
        SetTextStyle(ApplyAlign(m_textStyle, value));
    } else if (name == L"endellipsis") {
        if (AttributeText::ParseBool(value))
            m_textStyle |= kTextEndEllipsis;
        else
            m_textStyle &= ~kTextEndEllipsis;
    } else if (name == L"linelimit") {
        SetLineLimit(AttributeText::ParseBool(value));
    } else if (name == L"singleline") {
        SetSingleLine(AttributeText::ParseBool(value));
    } else if (name == L"text") {
        SetText(value);
    } else if (name == L"textid") {
        SetTextId(value);
    } else if (name == L"font") {
        SetFont(value);
    } else if (const auto state = StateInAttributeName(name, L"", L"textcolor")) {
        SetTextColor(*state, value);
    } else if (name == L"textpadding") {
        SetTextPadding(AttributeText::ParseRect(value), true);
    } else {
        InheritType::SetAttribute(name, value);
    }
}

template <typename InheritType>
UiSize LabelTemplate<InheritType>::EstimateTextSize(UiSize available, bool& reEstimate)
{
    const std::wstring text = GetText();
    if (text.empty())
        return UiSize();
    IRenderContext* context =
        this->m_window != nullptr ? this->m_window->GetRenderContext() : nullptr;
    if (context == nullptr) {
        // Nothing to measure with before the window exists: ask again later.
        reEstimate = true;
        return UiSize();
    }
    const uint32_t style = GetDrawTextStyle();
    const int limit = this->m_fixedWidth >= 0 ? this->m_fixedWidth : -1;
    UiRect measured = context->MeasureText(text, m_font, style, limit);
    const int padX = m_textPadding.left + m_textPadding.right;
    const int padY = m_textPadding.top + m_textPadding.bottom;
    UiSize size;
    if (this->m_fixedWidth == kSizeAuto)
        size.cx = padX + measured.Width();
    if (this->m_fixedHeight == kSizeAuto) {
        // A wrapping label that may grow as wide as it likes is as wide as
        // the room it is offered, and as tall as its text wrapped there.
        if (!m_singleLine && this->m_fixedWidth == kSizeAuto && this->m_maxWidth == kSizeStretch) {
            reEstimate = true;
            const int room = available.cx - padX;
            if (room > 0 && measured.Width() > room)
                measured = context->MeasureText(text, m_font, style, room);
        }
        size = UiSize(padX + measured.Width(), padY + measured.Height());
    }
    return size;
}

template <typename InheritType>
void LabelTemplate<InheritType>::RescaleDpi(int from, int to)
{
    InheritType::RescaleDpi(from, to);
    m_textPadding = RescaleRect(m_textPadding, from, to);
}

template <typename InheritType>
bool LabelTemplate<InheritType>::HasHotLook() const
{
    // A hot text colour alone is a hot look too: without it the hover would
    // neither start the fade nor repaint.
    return m_textColors.HasHotColor() || InheritType::HasHotLook();
}

template <typename InheritType>
void LabelTemplate<InheritType>::PaintText(IRenderContext& context)
{
    const std::wstring text = GetText();
    if (text.empty())
        return;
    UiRect rect = this->m_rect;
    rect.Deflate(m_textPadding);
    const ControlState state = this->m_state;
    if (this->HasHotFade() && m_textColors.HasHotColor() &&
        (state == kControlStateNormal || state == kControlStateHot)) {
        DrawTextIn(context, rect, text, m_textColors.Get(kControlStateNormal), 255, m_lineLimit);
        const int32_t hotAlpha = this->m_hotAlpha;
        if (hotAlpha >= 1) {
            DrawTextIn(context, rect, text, m_textColors.Get(kControlStateHot),
                       static_cast<uint8_t>(std::min(hotAlpha, 255)), m_lineLimit);
        }
        return;
    }
    DrawTextIn(context, rect, text, m_textColors.Resolve(state), 255, m_lineLimit);
}

template <typename InheritType>
void LabelTemplate<InheritType>::SetFont(const std::wstring& fontId)
{
    m_font = fontId;
    this->Invalidate();
}

template <typename InheritType>
void LabelTemplate<InheritType>::SetTextStyle(uint32_t style)
{
    m_textStyle = style;
    this->Invalidate();
}

template <typename InheritType>
uint32_t LabelTemplate<InheritType>::GetDrawTextStyle() const
{
    return m_singleLine ? (m_textStyle | kTextSingleLine) : (m_textStyle & ~kTextSingleLine);
}

template <typename InheritType>
void LabelTemplate<InheritType>::SetSingleLine(bool singleLine)
{
    if (singleLine == m_singleLine)
        return;
    m_singleLine = singleLine;
    this->Invalidate();
}

template <typename InheritType>
void LabelTemplate<InheritType>::SetLineLimit(bool lineLimit)
{
    if (lineLimit == m_lineLimit)
        return;
    m_lineLimit = lineLimit;
    this->Invalidate();
}

template <typename InheritType>
void LabelTemplate<InheritType>::SetTextPadding(const UiRect& padding, bool needDpiScale)
{
    m_textPadding = padding;
    if (needDpiScale) {
        m_textPadding = UiRect(this->DpiScale(padding.left), this->DpiScale(padding.top),
                               this->DpiScale(padding.right), this->DpiScale(padding.bottom));
    }
    RelayoutOrInvalidate();
}

template <typename InheritType>
void LabelTemplate<InheritType>::SetTextColor(ControlState state, const std::wstring& color)
{
    m_textColors.Set(state, color);
    if (state == kControlStateHot)
        this->SetHotFade(true);
    this->Invalidate();
}

template <typename InheritType>
void LabelTemplate<InheritType>::DrawTextIn(IRenderContext& context, const UiRect& rect,
                                            const std::wstring& text, const std::wstring& color,
                                            uint8_t alpha, bool lineLimit)
{
    const uint32_t argb = GlobalManager::GetTextColor(color);
    if (argb == 0)
        return;
    const DpiScope scope(FittingScale(context, rect, text));
    context.DrawText(rect, text, argb, m_font, GetDrawTextStyle(), alpha, lineLimit);
}

template <typename InheritType>
int LabelTemplate<InheritType>::FittingScale(IRenderContext& context, const UiRect& rect,
                                             const std::wstring& text)
{
    const int ownScale = this->GetDpiScale();
    UiRect shown = rect;
    if (this->m_parent != nullptr) {
        const UiRect parent = this->m_parent->GetRect();
        shown.left = std::max(shown.left, parent.left);
        shown.right = std::min(shown.right, parent.right);
    }
    const int room = shown.Width();
    if (!m_singleLine || room <= 0)
        return ownScale;
    Fit& fit = m_fit;
    if (fit.text == text && fit.font == m_font && fit.room == room && fit.ownScale == ownScale)
        return fit.scale;
    fit = Fit{text, m_font, room, ownScale, ownScale};
    const FontInfo* font = GlobalManager::GetFont(m_font, ownScale);
    if (font == nullptr || font->designSize <= 0)
        return ownScale;
    // Measured as drawn; the measure adds a pixel of its own.
    const auto widthAt = [&](int scale) {
        const DpiScope scope(scale);
        return context.MeasureText(text, m_font, GetDrawTextStyle(), -1).Width() - 1;
    };
    int width = widthAt(ownScale);
    // Font sizes are whole pixels: one pixel smaller at a time, down to
    // three quarters of the size, until the text fits.
    const int smallest = font->size * 3 / 4;
    for (int size = font->size - 1; width > room && size >= smallest && size > 0; --size) {
        // The least scale that makes the design size this size.
        fit.scale = ((2 * size - 1) * 100 + 2 * font->designSize - 1) / (2 * font->designSize);
        width = widthAt(fit.scale);
    }
    return fit.scale;
}

template <typename InheritType>
void LabelTemplate<InheritType>::RelayoutOrInvalidate()
{
    if (this->IsAutoSized())
        this->RelayoutFromAncestor();
    else
        this->Invalidate();
}

template class LabelTemplate<Control>;
template class LabelTemplate<Box>;

} // namespace ui
