#pragma once

#include "ui/core/Box.h"
#include "ui/core/Control.h"
#include "ui/core/StateColorMap.h"

#include <cstdint>
#include <string>

namespace ui {

// Text on a control or on a box: a font, text-drawing style bits (the
// TextStyle values), padding, the text or a language string id, and a text
// colour per state. Over a control it sizes itself to its content by default.
template <typename InheritType = Control>
class LabelTemplate : public InheritType {
public:
    // End ellipsis, no clipping, single line; left and top.
    static constexpr uint32_t kLabelTextStyle = 0x8120;

    LabelTemplate();

    // The text, or the language string of the text id when the text is empty.
    virtual std::wstring GetText() const;
    virtual std::string GetUtf8Text() const;
    virtual void SetText(const std::wstring& text);
    virtual void SetUtf8Text(const std::string& text);
    virtual void SetTextId(const std::wstring& id);
    virtual void SetUtf8TextId(const std::string& id);

    void SetAttribute(const std::wstring& name, const std::wstring& value) override;
    UiSize EstimateTextSize(UiSize available, bool& reEstimate) override;
    void RescaleDpi(int from, int to) override;
    bool HasHotLook() const override;
    void PaintText(IRenderContext& context) override;
    // Text is read, not operated: the keyboard passes it by.
    bool IsAllowTabStop() const override { return false; }
    // Static text when it has a text, named by it.
    uint32_t GetAccessRole() const override;
    std::wstring DefaultAccessName() const override;

    const std::wstring& GetFont() const { return m_font; }
    void SetFont(const std::wstring& fontId);
    uint32_t GetTextStyle() const { return m_textStyle; }
    void SetTextStyle(uint32_t style);
    // The style used to measure and draw: its single-line bit follows the
    // single-line setting, whatever "align" put there.
    uint32_t GetDrawTextStyle() const;
    bool IsSingleLine() const { return m_singleLine; }
    void SetSingleLine(bool singleLine);
    bool IsLineLimit() const { return m_lineLimit; }
    void SetLineLimit(bool lineLimit);
    const UiRect& GetTextPadding() const { return m_textPadding; }
    void SetTextPadding(const UiRect& padding, bool needDpiScale = true);
    const std::wstring& GetTextColor(ControlState state) const { return m_textColors.Get(state); }
    void SetTextColor(ControlState state, const std::wstring& color);

protected:
    // The text in rect, in a colour of the global table (nothing when the
    // name does not resolve).
    void DrawTextIn(IRenderContext& context, const UiRect& rect, const std::wstring& text,
                    const std::wstring& color, uint8_t alpha, bool lineLimit);
    void RelayoutOrInvalidate();
    // The scale to draw a single line of text at so that it fits the part
    // of rect that shows (within the parent): the control's own, or less
    // (down to three quarters of it) when the text is wider. The skin's
    // strips are sized for its own face; a wider face standing in for it,
    // or sizes rounded at another scale, must not cut texts off.
    int FittingScale(IRenderContext& context, const UiRect& rect, const std::wstring& text);

    std::wstring m_font;
    uint32_t m_textStyle = kLabelTextStyle;
    bool m_singleLine = true;
    bool m_lineLimit = false;
    UiRect m_textPadding;
    std::wstring m_text;
    std::wstring m_textId;
    StateColorMap m_textColors;
    // The last answer of FittingScale and what it was worked out for.
    struct Fit {
        std::wstring text;
        std::wstring font;
        int room = -1;
        int ownScale = 0;
        int scale = 0;
    } m_fit;
};

extern template class LabelTemplate<Control>;
extern template class LabelTemplate<Box>;

using Label = LabelTemplate<Control>;
using LabelBox = LabelTemplate<Box>;

} // namespace ui
