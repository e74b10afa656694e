#pragma once

#include <windows.h>

#include <string>

// The daemon's icon in the notification area: its tooltip tells what arms
// the lock, its menu offers "Lock now" and "Open control panel".
// Notifications arrive at the owner window as the given message.
class CTrayIcon {
public:
    enum Command { lockNow = 1, openControlPanel = 2 };

    CTrayIcon(HWND owner, UINT callbackMessage);
    ~CTrayIcon();
    CTrayIcon(const CTrayIcon&) = delete;
    CTrayIcon& operator=(const CTrayIcon&) = delete;

    void SetTip(const std::string& tip);
    // A balloon over the icon, for what the user must know once.
    void ShowBalloon(const std::string& title, const std::string& text);
    // After Explorer restarts, its notification area is empty again.
    void Restore();

    // The menu at the pointer, its first item named lockItem; the chosen
    // Command, or 0.
    int TrackMenu(const std::string& lockItem);

private:
    NOTIFYICONDATAA Data(UINT flags) const;

    HWND m_hOwner;
    UINT m_callbackMessage;
    HICON m_hIcon;
    std::string m_tip;
    bool m_bAdded = false;
};
