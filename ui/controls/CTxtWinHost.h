#pragma once

#ifndef UNICODE
#define UNICODE
#endif
#include <ole2.h>
// The text services header needs these first.
#include <imm.h>
#include <richedit.h>
#include <textserv.h>

#include "ui/render/UiRect.h"

#include <cstdint>
#include <set>

namespace ui {

class RichEdit;

// Hosts the system's windowless rich-edit text services for one RichEdit:
// answers the services' questions (device context, client rectangle,
// formats, property bits) from the control and turns their requests
// (invalidation, caret, cursor, timers, capture, focus) into the control's
// and the window's. Owned by the control; it owns the text services.
class CTxtWinHost : public ITextHost {
public:
    explicit CTxtWinHost(RichEdit& owner);
    virtual ~CTxtWinHost();
    CTxtWinHost(const CTxtWinHost&) = delete;
    CTxtWinHost& operator=(const CTxtWinHost&) = delete;

    // Loads "msftedit.dll" and creates the text services; false (and no
    // services) when any step fails.
    bool Init();
    ITextServices* GetTextServices() const { return m_services; }
    LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;

    // Rebuilt from the control's font, colours, style bits and flags; the
    // services are told what changed.
    void UpdateCharFormat();
    void UpdateParaFormat();
    void UpdatePropertyBits();
    void ClientRectChanged();
    bool OwnsTimer(UINT_PTR id) const { return m_timers.count(id) != 0; }
    // The caret the services placed, for the control to draw itself
    // (a layered window shows no system caret). Empty while hidden.
    UiRect GetCaretRect() const;

    // IUnknown: the host's lifetime is the control's, not the count's.
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return ++m_refs; }
    ULONG STDMETHODCALLTYPE Release() override { return --m_refs; }

    // ITextHost
    HDC TxGetDC() override;
    INT TxReleaseDC(HDC hdc) override;
    BOOL TxShowScrollBar(INT bar, BOOL show) override;
    BOOL TxEnableScrollBar(INT bars, INT arrows) override;
    BOOL TxSetScrollRange(INT bar, LONG minPos, INT maxPos, BOOL redraw) override;
    BOOL TxSetScrollPos(INT bar, INT pos, BOOL redraw) override;
    void TxInvalidateRect(LPCRECT rect, BOOL mode) override;
    void TxViewChange(BOOL update) override;
    BOOL TxCreateCaret(HBITMAP bitmap, INT width, INT height) override;
    BOOL TxShowCaret(BOOL show) override;
    BOOL TxSetCaretPos(INT x, INT y) override;
    BOOL TxSetTimer(UINT id, UINT timeout) override;
    void TxKillTimer(UINT id) override;
    void TxScrollWindowEx(INT dx, INT dy, LPCRECT scroll, LPCRECT clip, HRGN update,
                          LPRECT updateRect, UINT flags) override;
    void TxSetCapture(BOOL capture) override;
    void TxSetFocus() override;
    void TxSetCursor(HCURSOR cursor, BOOL text) override;
    BOOL TxScreenToClient(LPPOINT point) override;
    BOOL TxClientToScreen(LPPOINT point) override;
    HRESULT TxActivate(LONG* oldState) override;
    HRESULT TxDeactivate(LONG newState) override;
    HRESULT TxGetClientRect(LPRECT rect) override;
    HRESULT TxGetViewInset(LPRECT rect) override;
    HRESULT TxGetCharFormat(const CHARFORMATW** format) override;
    HRESULT TxGetParaFormat(const PARAFORMAT** format) override;
    COLORREF TxGetSysColor(int index) override;
    HRESULT TxGetBackStyle(TXTBACKSTYLE* style) override;
    HRESULT TxGetMaxLength(DWORD* length) override;
    HRESULT TxGetScrollBars(DWORD* scrollBars) override;
    HRESULT TxGetPasswordChar(TCHAR* ch) override;
    HRESULT TxGetAcceleratorPos(LONG* pos) override;
    HRESULT TxGetExtent(LPSIZEL extent) override;
    HRESULT OnTxCharFormatChange(const CHARFORMATW* format) override;
    HRESULT OnTxParaFormatChange(const PARAFORMAT* format) override;
    HRESULT TxGetPropertyBits(DWORD mask, DWORD* bits) override;
    HRESULT TxNotify(DWORD notification, void* data) override;
    HIMC TxImmGetContext() override;
    void TxImmReleaseContext(HIMC context) override;
    HRESULT TxGetSelectionBarWidth(LONG* width) override;

private:
    RichEdit& m_owner;
    ITextServices* m_services = nullptr;
    ULONG m_refs = 1;
    CHARFORMAT2W m_charFormat = {};
    PARAFORMAT2 m_paraFormat = {};
    DWORD m_propertyBits = 0;
    std::set<UINT_PTR> m_timers;
    UiRect m_caret;
    bool m_caretShown = false;
};

} // namespace ui
