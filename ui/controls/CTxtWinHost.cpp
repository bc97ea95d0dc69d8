#include "ui/controls/CTxtWinHost.h"

#include "ui/controls/RichEdit.h"
#include "ui/core/Window.h"
#include "ui/markup/GlobalManager.h"

#include <cstdlib>
#include <cwchar>
#include <map>

namespace ui {

namespace {

// Defined here: the symbol of the import library is not the GUID itself.
const IID kTextServicesId = {
    0x8D33F740, 0xCF58, 0x11CE, {0xA8, 0x9D, 0x00, 0xAA, 0x00, 0x6C, 0xAD, 0xC5}};
const IID kTextHostId = {
    0x13E670F4, 0x1A5A, 0x11CF, {0xAB, 0xEB, 0x00, 0xAA, 0x00, 0xB6, 0x5E, 0xA1}};

constexpr DWORD kParaFormatMask = 0x8001003F;
constexpr LONG kTabStopTwips = 720;
constexpr int kTwipsPerInch = 1440;

// Thread timers keyed by their system id: the services' own ids could
// clash with the window's timers.
struct ServiceTimer {
    CTxtWinHost* host = nullptr;
    UINT id = 0;
};
std::map<UINT_PTR, ServiceTimer>& Timers()
{
    static std::map<UINT_PTR, ServiceTimer> timers;
    return timers;
}

void CALLBACK OnTimer(HWND, UINT, UINT_PTR systemId, DWORD)
{
    const auto found = Timers().find(systemId);
    if (found != Timers().end())
        found->second.host->Send(WM_TIMER, found->second.id, 0);
}

COLORREF ToColorRef(uint32_t argb)
{
    return RGB((argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF);
}

PCreateTextServices LoadCreateTextServices()
{
    // Loaded once and kept: text services of other controls may still live.
    static const PCreateTextServices create = [] {
        HMODULE module = ::LoadLibraryW(L"msftedit.dll");
        const FARPROC address =
            module != nullptr ? ::GetProcAddress(module, "CreateTextServices") : nullptr;
        return reinterpret_cast<PCreateTextServices>(reinterpret_cast<void (*)()>(address));
    }();
    return create;
}

} // namespace

CTxtWinHost::CTxtWinHost(RichEdit& owner) : m_owner(owner)
{
    m_charFormat.cbSize = sizeof(m_charFormat);
    m_paraFormat.cbSize = sizeof(m_paraFormat);
    UpdateCharFormat();
    UpdateParaFormat();
    UpdatePropertyBits();
}

CTxtWinHost::~CTxtWinHost()
{
    for (auto it = Timers().begin(); it != Timers().end();) {
        if (it->second.host == this) {
            ::KillTimer(nullptr, it->first);
            it = Timers().erase(it);
        } else {
            ++it;
        }
    }
    if (m_services != nullptr) {
        m_services->OnTxInPlaceDeactivate();
        m_services->Release();
    }
}

bool CTxtWinHost::Init()
{
    const PCreateTextServices create = LoadCreateTextServices();
    if (create == nullptr)
        return false;
    IUnknown* unknown = nullptr;
    if (FAILED(create(nullptr, this, &unknown)) || unknown == nullptr)
        return false;
    void* services = nullptr;
    const HRESULT result = unknown->QueryInterface(kTextServicesId, &services);
    unknown->Release();
    if (FAILED(result) || services == nullptr)
        return false;
    m_services = static_cast<ITextServices*>(services);
    m_services->TxSendMessage(EM_SETEVENTMASK, 0, ENM_CHANGE | ENM_SELCHANGE, nullptr);
    const UiRect text = m_owner.GetTextRect();
    const RECT client{text.left, text.top, text.right, text.bottom};
    m_services->OnTxInPlaceActivate(&client);
    return true;
}

LRESULT CTxtWinHost::Send(UINT message, WPARAM wParam, LPARAM lParam) const
{
    LRESULT result = 0;
    if (m_services != nullptr)
        m_services->TxSendMessage(message, wParam, lParam, &result);
    return result;
}

void CTxtWinHost::UpdateCharFormat()
{
    CHARFORMAT2W& format = m_charFormat;
    const FontInfo* font = GlobalManager::GetFont(m_owner.GetFont(), m_owner.GetDpiScale());
    format.dwMask = CFM_SIZE | CFM_OFFSET | CFM_FACE | CFM_CHARSET | CFM_COLOR | CFM_BOLD |
                    CFM_ITALIC | CFM_UNDERLINE;
    format.dwEffects = 0;
    if (font != nullptr) {
        const LOGFONTW& logFont = font->logFont;
        HDC screen = ::GetDC(nullptr);
        const int dpi = ::GetDeviceCaps(screen, LOGPIXELSY);
        ::ReleaseDC(nullptr, screen);
        format.yHeight = std::labs(logFont.lfHeight) * kTwipsPerInch / (dpi > 0 ? dpi : 96);
        format.bCharSet = logFont.lfCharSet;
        format.bPitchAndFamily = logFont.lfPitchAndFamily;
        std::wcsncpy(format.szFaceName, logFont.lfFaceName, LF_FACESIZE - 1);
        if (logFont.lfWeight >= FW_BOLD)
            format.dwEffects |= CFE_BOLD;
        if (logFont.lfItalic)
            format.dwEffects |= CFE_ITALIC;
        if (logFont.lfUnderline)
            format.dwEffects |= CFE_UNDERLINE;
    }
    const uint32_t argb = GlobalManager::GetTextColor(m_owner.GetCurrentTextColor());
    if (argb != 0)
        format.crTextColor = ToColorRef(argb);
    else
        format.dwEffects |= CFE_AUTOCOLOR;
    if (m_services != nullptr) {
        m_services->OnTxPropertyBitsChange(TXTBIT_CHARFORMATCHANGE, TXTBIT_CHARFORMATCHANGE);
        // Plain text takes the host's format only as a default: set it on the
        // text too.
        Send(EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&format));
        m_owner.Invalidate();
    }
}

void CTxtWinHost::UpdateParaFormat()
{
    PARAFORMAT2& format = m_paraFormat;
    format.dwMask = kParaFormatMask;
    format.cTabCount = 1;
    format.rgxTabs[0] = kTabStopTwips;
    const uint32_t style = m_owner.GetStyle();
    format.wAlignment = (style & RichEdit::kCenter) != 0  ? PFA_CENTER
                        : (style & RichEdit::kRight) != 0 ? PFA_RIGHT
                                                          : PFA_LEFT;
    if (m_services != nullptr) {
        m_services->OnTxPropertyBitsChange(TXTBIT_PARAFORMATCHANGE, TXTBIT_PARAFORMATCHANGE);
        Send(EM_SETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&format));
        m_owner.Invalidate();
    }
}

void CTxtWinHost::UpdatePropertyBits()
{
    const uint32_t style = m_owner.GetStyle();
    DWORD bits = TXTBIT_HIDESELECTION | TXTBIT_AUTOWORDSEL;
    if (m_owner.IsRich())
        bits |= TXTBIT_RICHTEXT;
    if ((style & RichEdit::kMultiLine) != 0)
        bits |= TXTBIT_MULTILINE;
    if ((style & RichEdit::kReadOnly) != 0)
        bits |= TXTBIT_READONLY;
    if ((style & RichEdit::kPassword) != 0)
        bits |= TXTBIT_USEPASSWORD;
    if (m_owner.IsWordWrap())
        bits |= TXTBIT_WORDWRAP;
    const DWORD changed = bits ^ m_propertyBits;
    m_propertyBits = bits;
    if (m_services != nullptr && changed != 0) {
        m_services->OnTxPropertyBitsChange(changed | TXTBIT_SCROLLBARCHANGE, bits);
        m_owner.Invalidate();
    }
}

void CTxtWinHost::ClientRectChanged()
{
    if (m_services != nullptr)
        m_services->OnTxPropertyBitsChange(TXTBIT_CLIENTRECTCHANGE, TXTBIT_CLIENTRECTCHANGE);
}

UiRect CTxtWinHost::GetCaretRect() const
{
    return m_caretShown ? m_caret : UiRect();
}

HRESULT CTxtWinHost::QueryInterface(REFIID riid, void** object)
{
    if (object == nullptr)
        return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, kTextHostId)) {
        *object = static_cast<ITextHost*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

HDC CTxtWinHost::TxGetDC()
{
    return ::GetDC(m_owner.GetHostWindow());
}

INT CTxtWinHost::TxReleaseDC(HDC hdc)
{
    return ::ReleaseDC(m_owner.GetHostWindow(), hdc);
}

BOOL CTxtWinHost::TxShowScrollBar(INT, BOOL)
{
    return TRUE;
}

BOOL CTxtWinHost::TxEnableScrollBar(INT, INT)
{
    return TRUE;
}

BOOL CTxtWinHost::TxSetScrollRange(INT, LONG, INT, BOOL)
{
    return TRUE;
}

BOOL CTxtWinHost::TxSetScrollPos(INT, INT, BOOL)
{
    m_owner.Invalidate();
    return TRUE;
}

void CTxtWinHost::TxInvalidateRect(LPCRECT, BOOL)
{
    m_owner.Invalidate();
}

void CTxtWinHost::TxViewChange(BOOL)
{
    m_owner.Invalidate();
}

BOOL CTxtWinHost::TxCreateCaret(HBITMAP, INT width, INT height)
{
    m_caret = UiRect(m_caret.left, m_caret.top, m_caret.left + (width > 0 ? width : 1),
                     m_caret.top + height);
    return TRUE;
}

BOOL CTxtWinHost::TxShowCaret(BOOL show)
{
    m_caretShown = show != FALSE;
    m_owner.Invalidate();
    return TRUE;
}

BOOL CTxtWinHost::TxSetCaretPos(INT x, INT y)
{
    m_caret = UiRect(x, y, x + m_caret.Width(), y + m_caret.Height());
    m_owner.Invalidate();
    return TRUE;
}

BOOL CTxtWinHost::TxSetTimer(UINT id, UINT timeout)
{
    TxKillTimer(id);
    const UINT_PTR systemId = ::SetTimer(nullptr, 0, timeout, OnTimer);
    if (systemId == 0)
        return FALSE;
    Timers()[systemId] = ServiceTimer{this, id};
    return TRUE;
}

void CTxtWinHost::TxKillTimer(UINT id)
{
    for (auto it = Timers().begin(); it != Timers().end(); ++it) {
        if (it->second.host == this && it->second.id == id) {
            ::KillTimer(nullptr, it->first);
            Timers().erase(it);
            return;
        }
    }
}

void CTxtWinHost::TxScrollWindowEx(INT, INT, LPCRECT, LPCRECT, HRGN, LPRECT, UINT)
{
    m_owner.Invalidate();
}

void CTxtWinHost::TxSetCapture(BOOL capture)
{
    // The window captures the mouse for the pressed control itself.
    if (!capture && ::GetCapture() == m_owner.GetHostWindow() && m_owner.GetWindow() != nullptr &&
        m_owner.GetWindow()->GetPushedControl() != &m_owner)
        ::ReleaseCapture();
}

void CTxtWinHost::TxSetFocus()
{
    m_owner.SetFocus();
}

void CTxtWinHost::TxSetCursor(HCURSOR cursor, BOOL)
{
    ::SetCursor(cursor);
}

BOOL CTxtWinHost::TxScreenToClient(LPPOINT point)
{
    return ::ScreenToClient(m_owner.GetHostWindow(), point);
}

BOOL CTxtWinHost::TxClientToScreen(LPPOINT point)
{
    return ::ClientToScreen(m_owner.GetHostWindow(), point);
}

HRESULT CTxtWinHost::TxActivate(LONG* oldState)
{
    if (oldState != nullptr)
        *oldState = 0;
    return S_OK;
}

HRESULT CTxtWinHost::TxDeactivate(LONG)
{
    return S_OK;
}

HRESULT CTxtWinHost::TxGetClientRect(LPRECT rect)
{
    const UiRect text = m_owner.GetTextRect();
    *rect = RECT{text.left, text.top, text.right, text.bottom};
    return S_OK;
}

HRESULT CTxtWinHost::TxGetViewInset(LPRECT rect)
{
    *rect = RECT{0, 0, 0, 0};
    return S_OK;
}

HRESULT CTxtWinHost::TxGetCharFormat(const CHARFORMATW** format)
{
    *format = reinterpret_cast<const CHARFORMATW*>(&m_charFormat);
    return S_OK;
}

HRESULT CTxtWinHost::TxGetParaFormat(const PARAFORMAT** format)
{
    *format = reinterpret_cast<const PARAFORMAT*>(&m_paraFormat);
    return S_OK;
}

COLORREF CTxtWinHost::TxGetSysColor(int index)
{
    if (index == COLOR_WINDOWTEXT && (m_charFormat.dwEffects & CFE_AUTOCOLOR) == 0)
        return m_charFormat.crTextColor;
    return ::GetSysColor(index);
}

HRESULT CTxtWinHost::TxGetBackStyle(TXTBACKSTYLE* style)
{
    // The control paints its own background.
    *style = TXTBACK_TRANSPARENT;
    return S_OK;
}

HRESULT CTxtWinHost::TxGetMaxLength(DWORD* length)
{
    *length = RichEdit::kMaxTextLength;
    return S_OK;
}

HRESULT CTxtWinHost::TxGetScrollBars(DWORD* scrollBars)
{
    *scrollBars = m_owner.GetStyle() &
                  (RichEdit::kVScrollBar | RichEdit::kHScrollBar | RichEdit::kAutoVScroll |
                   RichEdit::kAutoHScroll | RichEdit::kDisableNoScroll);
    return S_OK;
}

HRESULT CTxtWinHost::TxGetPasswordChar(TCHAR* ch)
{
    *ch = L'*';
    return (m_owner.GetStyle() & RichEdit::kPassword) != 0 ? S_OK : S_FALSE;
}

HRESULT CTxtWinHost::TxGetAcceleratorPos(LONG* pos)
{
    *pos = -1;
    return S_OK;
}

HRESULT CTxtWinHost::TxGetExtent(LPSIZEL)
{
    return E_NOTIMPL;
}

HRESULT CTxtWinHost::OnTxCharFormatChange(const CHARFORMATW*)
{
    return S_OK;
}

HRESULT CTxtWinHost::OnTxParaFormatChange(const PARAFORMAT*)
{
    return S_OK;
}

HRESULT CTxtWinHost::TxGetPropertyBits(DWORD mask, DWORD* bits)
{
    *bits = m_propertyBits & mask;
    return S_OK;
}

HRESULT CTxtWinHost::TxNotify(DWORD, void*)
{
    return S_OK;
}

HIMC CTxtWinHost::TxImmGetContext()
{
    return ::ImmGetContext(m_owner.GetHostWindow());
}

void CTxtWinHost::TxImmReleaseContext(HIMC context)
{
    ::ImmReleaseContext(m_owner.GetHostWindow(), context);
}

HRESULT CTxtWinHost::TxGetSelectionBarWidth(LONG* width)
{
    *width = 0;
    return S_OK;
}

} // namespace ui
