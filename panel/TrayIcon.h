#pragma once

#include <windows.h>
#include <shellapi.h>

#include <functional>

// The program's icon in the notification area: icon resource 132 with the
// tool tip "Korvane audio control Center"; mouse actions on it reach the
// window as message 0x401 with the mouse message in lParam. The icon is
// removed by Remove and by the destructor.
class TrayIcon {
public:
    static constexpr UINT kCallbackMessage = WM_USER + 1;
    static constexpr UINT kIconId = 132;
    static constexpr wchar_t kToolTip[] = L"Korvane audio control Center";
    // Shell_NotifyIconW, or a stand-in of the tests.
    using NotifyFunction = std::function<BOOL(DWORD, NOTIFYICONDATAW*)>;

    TrayIcon();
    ~TrayIcon();
    TrayIcon(const TrayIcon&) = delete;
    TrayIcon& operator=(const TrayIcon&) = delete;

    // Nothing for a null window; the shell's answer is not checked.
    void Add(HWND window);
    void Remove();
    // Adds the icon again when the notification area has restarted (its
    // icons are lost then); nothing when the icon is not meant to be there.
    void Restore();
    bool IsAdded() const { return m_added; }
    const NOTIFYICONDATAW& Record() const { return m_record; }
    void SetNotifyFunction(NotifyFunction notify) { m_notify = std::move(notify); }

private:
    bool m_added = false;
    UINT m_callbackMessage = kCallbackMessage;
    HICON m_icon = nullptr;
    NOTIFYICONDATAW m_record{};
    NotifyFunction m_notify = [](DWORD command, NOTIFYICONDATAW* record) {
        return ::Shell_NotifyIconW(command, record);
    };
};
