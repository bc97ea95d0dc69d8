#include "panel/TrayIcon.h"

#include <iterator>
#include <string_view>

TrayIcon::TrayIcon()
{
    // The record as the shell of every supported Windows version reads it.
    m_record.cbSize = NOTIFYICONDATAW_V3_SIZE;
}

TrayIcon::~TrayIcon()
{
    m_notify(NIM_DELETE, &m_record);
    if (m_icon != nullptr)
        ::DestroyIcon(m_icon);
}

void TrayIcon::Add(HWND window)
{
    if (window == nullptr)
        return;
    // The notification area shows small icons, at the system's scale.
    if (m_icon == nullptr)
        m_icon = static_cast<HICON>(
            ::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kIconId), IMAGE_ICON,
                         ::GetSystemMetrics(SM_CXSMICON), ::GetSystemMetrics(SM_CYSMICON), 0));
    m_record.hWnd = window;
    m_record.uID = kIconId;
    m_record.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    m_record.uCallbackMessage = m_callbackMessage;
    m_record.hIcon = m_icon;
    std::wstring_view(kToolTip).copy(m_record.szTip, std::size(m_record.szTip) - 1);
    m_notify(NIM_ADD, &m_record);
    m_added = true;
}

void TrayIcon::Remove()
{
    m_record.uFlags = 0;
    m_notify(NIM_DELETE, &m_record);
    m_added = false;
}

void TrayIcon::Restore()
{
    if (!m_added)
        return;
    m_record.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    m_notify(NIM_ADD, &m_record);
}
