#pragma once

#include "ui/core/ScrollableBox.h"
#include "ui/markup/ImageAttribute.h"

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace ui {

class CTxtWinHost;

// A text box whose layout, editing and drawing are done by the system's
// windowless rich-edit text services, without a child window. It behaves
// like a standard edit: mouse selection, the clipboard keys, and no typing
// while read-only. Attribute values are stored until the control is
// initialised in a window, where the text services are created.
class RichEdit : public ScrollableBox {
public:
    // Edit-style bits, with the values of the Windows edit styles.
    enum Style : uint32_t {
        kCenter = 0x1,
        kRight = 0x2,
        kMultiLine = 0x4,
        kPassword = 0x20,
        kAutoVScroll = 0x40,
        kAutoHScroll = 0x80,
        kReadOnly = 0x800,
        kNumber = 0x2000,
        kDisableNoScroll = 0x2000,
        kHScrollBar = 0x100000,
        kVScrollBar = 0x200000,
    };
    static constexpr int32_t kMaxTextLength = 32767;

    RichEdit();
    ~RichEdit() override;

    void OnInit() override;
    void SetAttribute(const std::wstring& name, const std::wstring& value) override;
    void SetEnabled(bool enabled) override;
    void SetRect(const UiRect& rect) override;
    // With an auto height: as tall as its text wrapped at its width, so
    // that every line shows.
    UiSize EstimateSize(UiSize available) override;
    void RescaleDpi(int from, int to) override;
    void HandleEvent(const EventArgs& event) override;
    void Paint(IRenderContext& context, const UiRect& dirtyRect) override;
    bool KeepsCaptionClick() const override { return true; }
    bool WantsTab() const override { return m_wantTab && !m_readOnly; }
    bool IsAllowTabStop() const override { return IsEnabled(); }
    uint32_t GetAccessRole() const override;
    // The text, except a password's.
    std::wstring GetAccessValue() const override;
    uint32_t GetAccessState() const override;
    bool ExposesAccessChildren() const override { return false; }
    // A multi-line text's lines (as separated by line breaks).
    std::vector<std::wstring> GetAccessLines() const override;
    UiRect GetAccessLineRect(size_t line) const override;

    // Replaces the whole text; it takes the current character format.
    void SetText(const std::wstring& text);
    // Line breaks come back as "\n".
    std::wstring GetText() const;
    void SetReadOnly(bool readOnly);
    bool IsReadOnly() const { return m_readOnly; }
    // Character positions; end -1 is the end of the text.
    void SetSel(long start, long end);
    std::wstring GetSelText() const;
    // Puts the selection on the clipboard as Unicode text (lines "\r\n").
    bool Copy() const;
    bool HasTextServices() const;

    uint32_t GetStyle() const { return m_style; }
    int32_t GetVerticalAlign() const { return m_verticalAlign; }
    const std::wstring& GetFont() const { return m_font; }
    // The colour name in effect: the disabled one while disabled.
    const std::wstring& GetCurrentTextColor() const;
    bool IsRich() const { return m_rich; }
    bool IsWordWrap() const { return (m_style & kMultiLine) != 0 && (m_style & kAutoHScroll) == 0; }
    // The rectangle the text is laid out in: the content rectangle, moved
    // for vertical alignment of a text shorter than it.
    UiRect GetTextRect() const { return m_textRect; }
    HWND GetHostWindow() const;

private:
    void SetStyleBit(uint32_t bit, bool on);
    void SetScrollBarStyle(bool vertical, bool on);
    void UpdateTextRect();
    // Makes the text pixels GDI drew (alpha 0) opaque, leaving the alpha of
    // what was under them alone.
    void DrawServices(IRenderContext& context, const UiRect& dirtyRect);
    void PaintPromptAndCaret(IRenderContext& context);
    bool HandleKeyDown(const EventArgs& event);
    LRESULT SendMouse(const EventArgs& event, UINT message);

    std::unique_ptr<CTxtWinHost> m_host;
    uint32_t m_style = kMultiLine;
    int32_t m_verticalAlign = 0;
    bool m_wantTab = true;
    bool m_wantReturnMsg = false;
    bool m_returnMsgWantCtrl = false;
    bool m_rich = false;
    bool m_readOnly = false;
    bool m_password = false;
    bool m_number = false;
    bool m_promptMode = false;
    std::wstring m_font;
    std::wstring m_normalTextColor;
    std::wstring m_disabledTextColor;
    std::wstring m_promptColor;
    std::wstring m_caretColor;
    std::wstring m_promptText;
    std::wstring m_promptTextId;
    ImageAttribute m_focusedImage;
    std::wstring m_text;
    UiRect m_textRect;
};

} // namespace ui
