#include "daemon/TrayIcon.h"

#include "res/resource.h"

#include <shellapi.h>

#include <cstring>

namespace {
const UINT kIconId = 1;

void CopyText(char* field, size_t width, const std::string& text)
{
    std::strncpy(field, text.c_str(), width - 1);
    field[width - 1] = '\0';
}
}  // namespace

CTrayIcon::CTrayIcon(HWND owner, UINT callbackMessage)
    : m_hOwner(owner),
      m_callbackMessage(callbackMessage),
      m_hIcon(static_cast<HICON>(::LoadImageA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAINFRAME),
                                              IMAGE_ICON, ::GetSystemMetrics(SM_CXSMICON),
                                              ::GetSystemMetrics(SM_CYSMICON), 0)))
{
}

CTrayIcon::~CTrayIcon()
{
    if (m_bAdded) {
        NOTIFYICONDATAA data = Data(0);
        ::Shell_NotifyIconA(NIM_DELETE, &data);
    }
    if (m_hIcon != nullptr)
        ::DestroyIcon(m_hIcon);
}

NOTIFYICONDATAA CTrayIcon::Data(UINT flags) const
{
    NOTIFYICONDATAA data = {};
    data.cbSize = sizeof(data);
    data.hWnd = m_hOwner;
    data.uID = kIconId;
    data.uFlags = flags;
    data.uCallbackMessage = m_callbackMessage;
    data.hIcon = m_hIcon;
    CopyText(data.szTip, sizeof(data.szTip), m_tip);
    return data;
}

void CTrayIcon::SetTip(const std::string& tip)
{
    m_tip = tip;
    NOTIFYICONDATAA data = Data(NIF_MESSAGE | NIF_ICON | NIF_TIP);
    // Without a notification area (no shell yet) the icon is simply missing;
    // Restore adds it when one appears.
    if (m_bAdded)
        ::Shell_NotifyIconA(NIM_MODIFY, &data);
    else
        m_bAdded = ::Shell_NotifyIconA(NIM_ADD, &data) != FALSE;
}

void CTrayIcon::Restore()
{
    m_bAdded = false;
    SetTip(m_tip);
}

void CTrayIcon::ShowBalloon(const std::string& title, const std::string& text)
{
    NOTIFYICONDATAA data = Data(NIF_INFO);
    CopyText(data.szInfoTitle, sizeof(data.szInfoTitle), title);
    CopyText(data.szInfo, sizeof(data.szInfo), text);
    data.dwInfoFlags = NIIF_WARNING;
    ::Shell_NotifyIconA(NIM_MODIFY, &data);
}

int CTrayIcon::TrackMenu(const std::string& lockItem)
{
    HMENU menu = ::CreatePopupMenu();
    ::AppendMenuA(menu, MF_STRING, lockNow, lockItem.c_str());
    ::AppendMenuA(menu, MF_STRING, openControlPanel, "Open control panel");
    ::SetMenuDefaultItem(menu, lockNow, FALSE);
    POINT at;
    ::GetCursorPos(&at);
    // The menu of a hidden window closes when the user clicks elsewhere
    // only if that window is in the foreground.
    ::SetForegroundWindow(m_hOwner);
    int chosen = ::TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, at.x, at.y, 0, m_hOwner,
                                  nullptr);
    ::PostMessageA(m_hOwner, WM_NULL, 0, 0);
    ::DestroyMenu(menu);
    return chosen;
}
