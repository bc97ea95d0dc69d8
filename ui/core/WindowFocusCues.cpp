// The focus cues of Window: the focused control's ring is shown the way
// Windows shows focus rectangles, through the window's UI state
// (UISF_HIDEFOCUS): hidden at first, shown once the keyboard is used.
#include "ui/core/Window.h"

#include "ui/core/Control.h"

namespace ui {

bool Window::s_keyboardInputLast = false;

bool Window::FocusCuesHiddenAtStart()
{
    // The user may have asked Windows to show keyboard cues always; a
    // window opened from the keyboard shows them at once.
    BOOL alwaysShown = FALSE;
    ::SystemParametersInfoW(SPI_GETKEYBOARDCUES, 0, &alwaysShown, 0);
    return !alwaysShown && !s_keyboardInputLast;
}

void Window::InitFocusCues()
{
    m_focusCuesHidden = FocusCuesHiddenAtStart();
    // The system keeps the state too (WM_QUERYUISTATE); it only passes on
    // changes of what it holds.
    if (m_focusCuesHidden)
        ::SendMessageW(m_hwnd, WM_UPDATEUISTATE, MAKEWPARAM(UIS_SET, UISF_HIDEFOCUS), 0);
}

void Window::OnKeyboardInput()
{
    s_keyboardInputLast = true;
    if (!m_focusCuesHidden || m_hwnd == nullptr)
        return;
    // The system hands the change to the top-level window, which passes it
    // to itself and its children as WM_UPDATEUISTATE.
    const WPARAM show = MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS);
    ::SendMessageW(m_hwnd, WM_CHANGEUISTATE, show, 0);
    // A system that keeps no UI state for the window (Wine) does not pass
    // it back; the cues are shown all the same.
    if (m_focusCuesHidden)
        OnUpdateUiState(show);
}

LRESULT Window::OnQueryUiState()
{
    // The system's answer for the other flags, this window's for the focus.
    const LRESULT state = CallWindowProc(WM_QUERYUISTATE, 0, 0) & ~UISF_HIDEFOCUS;
    return m_focusCuesHidden ? state | UISF_HIDEFOCUS : state;
}

void Window::OnUpdateUiState(WPARAM wParam)
{
    if ((HIWORD(wParam) & UISF_HIDEFOCUS) == 0)
        return;
    bool hidden = m_focusCuesHidden;
    switch (LOWORD(wParam)) {
    case UIS_SET:
        hidden = true;
        break;
    case UIS_CLEAR:
        hidden = false;
        break;
    case UIS_INITIALIZE:
        hidden = FocusCuesHiddenAtStart();
        break;
    default:
        return;
    }
    if (hidden == m_focusCuesHidden)
        return;
    // The ring is painted while shown: repaint where it is (or was).
    m_focusCuesHidden = false;
    InvalidateFocusRing(m_focus);
    m_focusCuesHidden = hidden;
}

void Window::InvalidateFocusRing(const Control* control)
{
    if (control == nullptr || m_focusCuesHidden)
        return;
    const UiRect ring = control->GetFocusRingRect();
    if (!ring.IsEmpty())
        Invalidate(ring);
}

} // namespace ui
