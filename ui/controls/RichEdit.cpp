#include "ui/controls/RichEdit.h"

#include "ui/controls/CTxtWinHost.h"
#include "ui/controls/ControlEvents.h"
#include "ui/core/AttributeText.h"
#include "ui/core/Window.h"
#include "ui/markup/GlobalManager.h"
#include "ui/render/IRenderContext.h"

#include <algorithm>
#include <cstring>
#include <cwctype>
#include <vector>

namespace ui {

namespace {

// Rich edit ends paragraphs with "\r"; the control speaks "\n".
std::wstring ToLineFeeds(const std::wstring& text)
{
    std::wstring result;
    result.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'\r') {
            result += L'\n';
            if (i + 1 < text.size() && text[i + 1] == L'\n')
                ++i;
        } else {
            result += text[i];
        }
    }
    return result;
}

bool KeyDown(int key)
{
    return ::GetKeyState(key) < 0;
}

} // namespace

RichEdit::RichEdit() = default;

RichEdit::~RichEdit()
{
    // The services call back into the control while they shut down.
    m_host.reset();
}

void RichEdit::OnInit()
{
    ScrollableBox::OnInit();
    m_textRect = GetContentRect();
    auto host = std::make_unique<CTxtWinHost>(*this);
    if (!host->Init())
        return;
    m_host = std::move(host);
    if (!m_text.empty())
        SetText(m_text);
}

bool RichEdit::HasTextServices() const
{
    return m_host != nullptr && m_host->GetTextServices() != nullptr;
}

HWND RichEdit::GetHostWindow() const
{
    return m_window != nullptr ? m_window->GetHWND() : nullptr;
}

const std::wstring& RichEdit::GetCurrentTextColor() const
{
    return IsEnabled() || m_disabledTextColor.empty() ? m_normalTextColor : m_disabledTextColor;
}

void RichEdit::SetText(const std::wstring& text)
{
    m_text = text;
    if (HasTextServices()) {
        CHARRANGE all{0, -1};
        m_host->Send(EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&all));
        m_host->Send(EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text.c_str()));
        UpdateTextRect();
    }
    if (m_fixedHeight == kSizeAuto)
        RelayoutFromAncestor();
    Invalidate();
    NotifyAccess(EVENT_OBJECT_VALUECHANGE);
}

std::wstring RichEdit::GetText() const
{
    if (!HasTextServices())
        return m_text;
    GETTEXTLENGTHEX lengthInfo{GTL_PRECISE | GTL_NUMCHARS, 1200};
    const auto length =
        static_cast<long>(m_host->Send(EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&lengthInfo)));
    if (length <= 0)
        return std::wstring();
    std::vector<wchar_t> buffer(static_cast<size_t>(length) + 1);
    GETTEXTEX request{};
    request.cb = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
    request.flags = GT_DEFAULT;
    request.codepage = 1200;
    const auto copied = static_cast<size_t>(m_host->Send(
        EM_GETTEXTEX, reinterpret_cast<WPARAM>(&request), reinterpret_cast<LPARAM>(buffer.data())));
    return ToLineFeeds(std::wstring(buffer.data(), std::min(copied, buffer.size() - 1)));
}

void RichEdit::SetReadOnly(bool readOnly)
{
    m_readOnly = readOnly;
    SetStyleBit(kReadOnly, readOnly);
}

void RichEdit::SetSel(long start, long end)
{
    if (!HasTextServices())
        return;
    CHARRANGE range{start, end};
    m_host->Send(EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
}

std::wstring RichEdit::GetSelText() const
{
    if (!HasTextServices())
        return std::wstring();
    CHARRANGE range{};
    m_host->Send(EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&range));
    if (range.cpMax <= range.cpMin)
        return std::wstring();
    std::vector<wchar_t> buffer(static_cast<size_t>(range.cpMax - range.cpMin) + 1);
    const auto copied = static_cast<size_t>(
        m_host->Send(EM_GETSELTEXT, 0, reinterpret_cast<LPARAM>(buffer.data())));
    return ToLineFeeds(std::wstring(buffer.data(), std::min(copied, buffer.size() - 1)));
}

bool RichEdit::Copy() const
{
    if (m_password)
        return false;
    std::wstring text;
    for (const wchar_t ch : GetSelText()) {
        if (ch == L'\n')
            text += L'\r';
        text += ch;
    }
    if (text.empty() || !::OpenClipboard(GetHostWindow()))
        return false;
    ::EmptyClipboard();
    bool done = false;
    const size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    if (HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, bytes)) {
        if (void* target = ::GlobalLock(memory)) {
            std::memcpy(target, text.c_str(), bytes);
            ::GlobalUnlock(memory);
            done = ::SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
        }
        if (!done)
            ::GlobalFree(memory);
    }
    ::CloseClipboard();
    return done;
}

void RichEdit::SetStyleBit(uint32_t bit, bool on)
{
    const uint32_t style = on ? (m_style | bit) : (m_style & ~bit);
    if (style == m_style)
        return;
    m_style = style;
    if (m_host != nullptr)
        m_host->UpdatePropertyBits();
}

void RichEdit::SetScrollBarStyle(bool vertical, bool on)
{
    const uint32_t bar = vertical ? kVScrollBar : kHScrollBar;
    const uint32_t other = vertical ? kHScrollBar : kVScrollBar;
    if (on)
        SetStyleBit(bar | kDisableNoScroll, true);
    else
        SetStyleBit((m_style & other) != 0 ? bar : (bar | kDisableNoScroll), false);
    EnableScrollBar((m_style & kVScrollBar) != 0, (m_style & kHScrollBar) != 0);
}

void RichEdit::SetAttribute(const std::wstring& name, const std::wstring& value)
{
    const bool isTrue = value == L"true";
    const bool isFalse = value == L"false";
    if (name == L"vscrollbar" || name == L"hscrollbar") {
        SetScrollBarStyle(name == L"vscrollbar", isTrue);
    } else if (name == L"autovscroll" || name == L"autohscroll") {
        if (isTrue || isFalse)
            SetStyleBit(name == L"autovscroll" ? kAutoVScroll : kAutoHScroll, isTrue);
    } else if (name == L"multiline") {
        if (isTrue || isFalse)
            SetStyleBit(kMultiLine, isTrue);
    } else if (name == L"readonly") {
        if (isTrue || isFalse)
            SetReadOnly(isTrue);
    } else if (name == L"password") {
        if (isTrue || isFalse) {
            m_password = isTrue;
            SetStyleBit(kPassword, isTrue);
        }
    } else if (name == L"number") {
        if (isTrue || isFalse) {
            m_number = isTrue;
            SetStyleBit(kNumber, isTrue);
        }
    } else if (name == L"align") {
        for (const std::wstring& word : AttributeText::SplitWords(value)) {
            if (word == L"left")
                m_style &= ~(kCenter | kRight);
            else if (word == L"hcenter")
                m_style = (m_style | kCenter) & ~kRight;
            else if (word == L"right")
                m_style = (m_style | kRight) & ~kCenter;
            else if (word == L"top")
                m_verticalAlign = 0;
            else if (word == L"vcenter")
                m_verticalAlign = 1;
            else if (word == L"bottom")
                m_verticalAlign = 2;
        }
        if (m_host != nullptr)
            m_host->UpdateParaFormat();
        UpdateTextRect();
    } else if (name == L"normaltextcolor" || name == L"disabledtextcolor") {
        (name == L"normaltextcolor" ? m_normalTextColor : m_disabledTextColor) = value;
        if (m_host != nullptr && IsEnabled() == (name == L"normaltextcolor"))
            m_host->UpdateCharFormat();
    } else if (name == L"caretcolor") {
        m_caretColor = value;
    } else if (name == L"promptmode") {
        m_promptMode = AttributeText::ParseBool(value);
        Invalidate();
    } else if (name == L"promptcolor") {
        m_promptColor = value;
        Invalidate();
    } else if (name == L"prompttext" || name == L"prompttextid") {
        (name == L"prompttext" ? m_promptText : m_promptTextId) = value;
        Invalidate();
    } else if (name == L"focusedimage") {
        m_focusedImage.SetImageString(value);
        Invalidate();
    } else if (name == L"font") {
        m_font = value;
        if (m_host != nullptr)
            m_host->UpdateCharFormat();
    } else if (name == L"text") {
        SetText(value);
    } else if (name == L"textid") {
        SetText(GlobalManager::GetLanguageStrings().GetStringById(value));
    } else if (name == L"wanttab") {
        m_wantTab = AttributeText::ParseBool(value);
    } else if (name == L"wantreturnmsg") {
        m_wantReturnMsg = AttributeText::ParseBool(value);
    } else if (name == L"returnmsgwantctrl") {
        m_returnMsgWantCtrl = AttributeText::ParseBool(value);
    } else if (name == L"rich") {
        m_rich = AttributeText::ParseBool(value);
        if (m_host != nullptr)
            m_host->UpdatePropertyBits();
    } else {
        ScrollableBox::SetAttribute(name, value);
    }
}

void RichEdit::SetEnabled(bool enabled)
{
    ScrollableBox::SetEnabled(enabled);
    if (m_host != nullptr)
        m_host->UpdateCharFormat();
}

void RichEdit::SetRect(const UiRect& rect)
{
    ScrollableBox::SetRect(rect);
    UpdateTextRect();
}

UiSize RichEdit::EstimateSize(UiSize available)
{
    if (m_fixedHeight != kSizeAuto || !HasTextServices())
        return ScrollableBox::EstimateSize(available);
    const UiRect padding = m_layout->GetPadding();
    const int32_t width = m_fixedWidth >= 0 ? m_fixedWidth : available.cx;
    LONG textWidth = std::max(width - padding.left - padding.right, 1);
    LONG textHeight = 0;
    SIZEL extent{-1, -1};
    HDC screen = ::GetDC(nullptr);
    const HRESULT measured = m_host->GetTextServices()->TxGetNaturalSize(
        DVASPECT_CONTENT, screen, nullptr, nullptr, TXTNS_FITTOCONTENT, &extent, &textWidth,
        &textHeight);
    if (FAILED(measured))
        textHeight = 0;
    // A text that ends with a line break has an empty last line, which
    // shows nothing: it needs no room.
    const FontInfo* font = GlobalManager::GetFont(m_font, GetDpiScale());
    const std::wstring text = GetText();
    if (textHeight > 0 && !text.empty() && text.back() == L'\n' && font != nullptr &&
        font->handle) {
        const HGDIOBJ old = ::SelectObject(screen, font->handle.get());
        TEXTMETRICW metrics{};
        if (::GetTextMetricsW(screen, &metrics))
            textHeight = std::max<LONG>(textHeight - metrics.tmHeight, 0);
        ::SelectObject(screen, old);
    }
    ::ReleaseDC(nullptr, screen);
    m_reEstimate = false;
    m_estimatedSize = UiSize(m_fixedWidth >= 0 ? m_fixedWidth : width,
                             padding.top + padding.bottom + static_cast<int32_t>(textHeight));
    return m_estimatedSize;
}

void RichEdit::RescaleDpi(int from, int to)
{
    ScrollableBox::RescaleDpi(from, to);
    m_focusedImage.SetImageString(m_focusedImage.attributeString);
    if (m_host != nullptr)
        m_host->UpdateCharFormat();
}

void RichEdit::UpdateTextRect()
{
    UiRect text = GetContentRect();
    if (m_verticalAlign != 0 && HasTextServices() && !text.IsEmpty()) {
        LONG width = text.Width();
        LONG height = text.Height();
        SIZEL extent{-1, -1};
        HDC screen = ::GetDC(nullptr);
        const HRESULT result = m_host->GetTextServices()->TxGetNaturalSize(
            DVASPECT_CONTENT, screen, nullptr, nullptr, TXTNS_FITTOCONTENT, &extent, &width,
            &height);
        ::ReleaseDC(nullptr, screen);
        if (SUCCEEDED(result) && height < text.Height())
            text.top +=
                m_verticalAlign == 1 ? (text.Height() - height) / 2 : text.Height() - height;
    }
    if (text == m_textRect)
        return;
    m_textRect = text;
    if (m_host != nullptr)
        m_host->ClientRectChanged();
}

LRESULT RichEdit::SendMouse(const EventArgs& event, UINT message)
{
    return m_host->Send(message, static_cast<WPARAM>(event.wParam),
                        MAKELPARAM(event.mousePoint.x, event.mousePoint.y));
}

bool RichEdit::HandleKeyDown(const EventArgs& event)
{
    const bool control = KeyDown(VK_CONTROL);
    if (control && (event.keyCode == 'C' || event.keyCode == VK_INSERT)) {
        Copy();
        return true;
    }
    if (event.keyCode == VK_RETURN && m_wantReturnMsg && control == m_returnMsgWantCtrl) {
        SendControlEvent(*this, kEventReturn);
        return true;
    }
    m_host->Send(WM_KEYDOWN, static_cast<WPARAM>(event.wParam), static_cast<LPARAM>(event.lParam));
    return true;
}

void RichEdit::HandleEvent(const EventArgs& event)
{
    if (!HasTextServices() || (!IsMouseEnabled() && IsMouseEvent(event.type))) {
        ScrollableBox::HandleEvent(event);
        return;
    }
    switch (event.type) {
    case kEventSetCursor:
        ::SetCursor(::LoadCursorW(nullptr, IsEnabled() ? IDC_IBEAM : IDC_ARROW));
        return;
    case kEventInternalSetFocus:
        ScrollableBox::HandleEvent(event);
        m_host->Send(WM_SETFOCUS);
        return;
    case kEventInternalKillFocus:
        ScrollableBox::HandleEvent(event);
        m_host->Send(WM_KILLFOCUS);
        return;
    case kEventMouseButtonDown:
    case kEventInternalDoubleClick:
        if (IsEnabled())
            SendMouse(event,
                      event.type == kEventMouseButtonDown ? WM_LBUTTONDOWN : WM_LBUTTONDBLCLK);
        ScrollableBox::HandleEvent(event);
        return;
    case kEventMouseMove:
        if (IsEnabled())
            SendMouse(event, WM_MOUSEMOVE);
        return;
    case kEventMouseButtonUp:
        if (IsEnabled())
            SendMouse(event, WM_LBUTTONUP);
        ScrollableBox::HandleEvent(event);
        return;
    case kEventMouseScrollWheel:
        m_host->Send(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<int16_t>(event.wParam)),
                     static_cast<LPARAM>(event.lParam));
        return;
    case kEventKeyDown:
        if (IsEnabled() && HandleKeyDown(event))
            return;
        break;
    case kEventKeyUp:
        m_host->Send(WM_KEYUP, static_cast<WPARAM>(event.wParam),
                     static_cast<LPARAM>(event.lParam));
        return;
    case kEventChar: {
        const auto ch = static_cast<wchar_t>(event.wParam);
        const bool filtered = (m_number && ch >= L' ' && !std::iswdigit(ch)) ||
                              (ch == L'\r' && m_wantReturnMsg) || (ch == L'\t' && !WantsTab());
        if (IsEnabled() && !filtered)
            m_host->Send(WM_CHAR, static_cast<WPARAM>(event.wParam),
                         static_cast<LPARAM>(event.lParam));
        return;
    }
    default:
        break;
    }
    ScrollableBox::HandleEvent(event);
}

void RichEdit::Paint(IRenderContext& context, const UiRect& dirtyRect)
{
    ScrollableBox::Paint(context, dirtyRect);
    if (m_paintRect.IsEmpty())
        return;
    if (IsFocused() && !m_focusedImage.attributeString.empty())
        DrawImage(context, m_focusedImage);
    if (HasTextServices())
        DrawServices(context, dirtyRect);
    PaintPromptAndCaret(context);
}

void RichEdit::DrawServices(IRenderContext& context, const UiRect& dirtyRect)
{
    UiRect update = m_textRect;
    if (!update.Intersect(dirtyRect) || !update.Intersect(m_rect))
        return;
    // The back buffers are top-down 32-bit bitmaps; logical coordinates
    // are device ones shifted by the window origin.
    const UiPoint origin = context.GetWindowOrg();
    UiRect device = update;
    device.Offset(-origin.x, -origin.y);
    device.Intersect(UiRect(0, 0, context.GetWidth(), context.GetHeight()));
    uint8_t* bits = context.GetBits();
    const auto alphaAt = [&](int x, int y) -> uint8_t& {
        return bits[(static_cast<size_t>(y) * static_cast<size_t>(context.GetWidth()) +
                     static_cast<size_t>(x)) *
                        4 +
                    3];
    };
    // GDI writes alpha 0 wherever it draws: mark what was transparent
    // before so that it can be told apart from the text afterwards.
    std::vector<bool> wasClear;
    if (bits != nullptr && !device.IsEmpty()) {
        ::GdiFlush();
        wasClear.resize(static_cast<size_t>(device.Width()) * device.Height());
        for (int y = device.top; y < device.bottom; ++y) {
            for (int x = device.left; x < device.right; ++x) {
                uint8_t& alpha = alphaAt(x, y);
                if (alpha == 0) {
                    wasClear[static_cast<size_t>(y - device.top) * device.Width() +
                             (x - device.left)] = true;
                    alpha = 1;
                }
            }
        }
    }
    const RECTL bounds{m_textRect.left, m_textRect.top, m_textRect.right, m_textRect.bottom};
    RECT updateRect{update.left, update.top, update.right, update.bottom};
    m_host->GetTextServices()->TxDraw(DVASPECT_CONTENT, 0, nullptr, nullptr, context.GetDC(),
                                      nullptr, &bounds, nullptr, &updateRect, nullptr, 0,
                                      TXTVIEW_ACTIVE);
    if (wasClear.empty())
        return;
    ::GdiFlush();
    for (int y = device.top; y < device.bottom; ++y) {
        for (int x = device.left; x < device.right; ++x) {
            uint8_t& alpha = alphaAt(x, y);
            const bool clear =
                wasClear[static_cast<size_t>(y - device.top) * device.Width() + (x - device.left)];
            if (alpha == 0)
                alpha = 255;
            else if (clear && alpha == 1)
                alpha = 0;
        }
    }
}

void RichEdit::PaintPromptAndCaret(IRenderContext& context)
{
    if (m_promptMode && GetText().empty()) {
        const std::wstring prompt =
            m_promptText.empty() && !m_promptTextId.empty()
                ? GlobalManager::GetLanguageStrings().GetStringById(m_promptTextId)
                : m_promptText;
        const uint32_t color = GlobalManager::GetTextColor(m_promptColor);
        if (!prompt.empty() && color != 0)
            context.DrawText(m_textRect, prompt, color, m_font, 0, 255, false);
    }
    if (m_host == nullptr || !IsFocused() || m_readOnly)
        return;
    const UiRect caret = m_host->GetCaretRect();
    const std::wstring& name = m_caretColor.empty() ? GetCurrentTextColor() : m_caretColor;
    const uint32_t color = GlobalManager::GetTextColor(name);
    if (!caret.IsEmpty())
        context.FillRect(caret, color != 0 ? color : 0xFF000000, 255);
}

} // namespace ui
