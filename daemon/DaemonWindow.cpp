#include "daemon/DaemonWindow.h"

#include "daemon/IdleTrigger.h"
#include "daemon/LockScreen.h"
#include "daemon/TrayIcon.h"
#include "daemon/WipeHook.h"
#include "settings/SettingsKeys.h"

#include <shellapi.h>

const char kDaemonWindowTitle[] = "V3LLM0R4ND";

namespace {
const char kClassName[] = "VellmoranDaemon";
const UINT kTrayMessage = WM_APP + 1;
const UINT kWipeMessage = WM_APP + 2;
const UINT kUnlockMessage = WM_APP + 3;
const UINT_PTR kSettingsTimer = 1;
const UINT_PTR kIdleTimer = 2;
const UINT kSettingsRetryMs = 500;
const int kHotKeyId = 1;
}  // namespace

CDaemonWindow::CDaemonWindow(std::string directory, DWORD minuteMs)
    : m_directory(std::move(directory)), m_minuteMs(minuteMs)
{
}

CDaemonWindow::~CDaemonWindow() = default;

bool CDaemonWindow::Create(HINSTANCE instance)
{
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = ObjectWindowProc<CDaemonWindow>;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = kClassName;
    if (!::RegisterClassA(&windowClass))
        return false;
    return ::CreateWindowExA(0, kClassName, kDaemonWindowTitle, WS_OVERLAPPED, 0, 0, 0, 0, nullptr, nullptr,
                             instance, this) != nullptr;
}

LRESULT CDaemonWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        m_taskbarCreated = ::RegisterWindowMessageA("TaskbarCreated");
        m_tray.reset(new CTrayIcon(m_hWnd, kTrayMessage));
        TryReadSettings();
        return 0;
    case WM_TIMER:
        if (wParam == kSettingsTimer)
            TryReadSettings();
        else if (wParam == kIdleTimer)
            PollIdle();
        return 0;
    case WM_HOTKEY:
        Lock();
        return 0;
    case kWipeMessage:
        Lock();
        return 0;
    case kUnlockMessage:
        OnUnlocked();
        return 0;
    case kTrayMessage:
        OnTray(lParam);
        return 0;
    case WM_CLOSE:
        if (m_lock)
            m_bClosePending = true;
        else
            ::DestroyWindow(m_hWnd);
        return 0;
    case WM_QUERYENDSESSION:
        return TRUE;
    case WM_ENDSESSION:
        if (wParam)
            ::DestroyWindow(m_hWnd);
        return 0;
    case WM_DESTROY:
        m_lock.reset();
        Disarm();
        m_tray.reset();
        ::PostQuitMessage(0);
        return 0;
    case WM_DISPLAYCHANGE:
        // The wipe spans the virtual screen as it is now.
        if (m_wipe) {
            m_wipe.reset();
            m_wipe.reset(new CWipeHook(m_hWnd, kWipeMessage, static_cast<DWORD>(m_settings.velocityMs)));
        }
        return 0;
    case WM_NCDESTROY: {
        HWND hWnd = m_hWnd;
        m_hWnd = nullptr;
        ::SetWindowLongPtrA(hWnd, GWLP_USERDATA, 0);
        return ::DefWindowProcA(hWnd, message, wParam, lParam);
    }
    }
    if (message == m_taskbarCreated && m_taskbarCreated != 0 && m_tray)
        m_tray->Restore();
    return ::DefWindowProcA(m_hWnd, message, wParam, lParam);
}

// Until the file has been read nothing locks: a screen locked with an unknown
// password could not be unlocked, and one taken for "no password" would
// open to anyone.
void CDaemonWindow::TryReadSettings()
{
    if (ReadDaemonSettings(Settings::kFileName, m_settings)) {
        ::KillTimer(m_hWnd, kSettingsTimer);
        m_bSettingsRead = true;
        Arm();
    } else {
        ::SetTimer(m_hWnd, kSettingsTimer, kSettingsRetryMs, nullptr);
    }
    UpdateTip();
}

void CDaemonWindow::Arm()
{
    if (m_settings.virtualKey != 0) {
        m_bHotKey = ::RegisterHotKey(m_hWnd, kHotKeyId, 0, static_cast<UINT>(m_settings.virtualKey)) != FALSE;
        if (!m_bHotKey && !m_bHotKeyReported) {
            m_bHotKeyReported = true;
            m_tray->ShowBalloon("Vellmoran",
                                "Another program uses the activation key, so it does not lock the screen. "
                                "Choose another key in the control panel.");
        }
    }
    if (m_settings.screenwipe)
        m_wipe.reset(new CWipeHook(m_hWnd, kWipeMessage, static_cast<DWORD>(m_settings.velocityMs)));
    if (m_settings.screensaver) {
        m_idle.reset(new CIdleTrigger(static_cast<DWORD>(m_settings.delayMinutes) * m_minuteMs));
        PollIdle();
    }
}

void CDaemonWindow::Disarm()
{
    if (m_bHotKey)
        ::UnregisterHotKey(m_hWnd, kHotKeyId);
    m_bHotKey = false;
    m_wipe.reset();
    ::KillTimer(m_hWnd, kIdleTimer);
    ::KillTimer(m_hWnd, kSettingsTimer);
    m_idle.reset();
}

void CDaemonWindow::UpdateTip()
{
    if (!m_bSettingsRead)
        m_tray->SetTip("Vellmoran is not armed: its settings cannot be read yet");
    else if (!m_bHotKey && !m_wipe && !m_idle)
        m_tray->SetTip("Vellmoran is not armed: no key, wipe or screensaver is set");
    else
        m_tray->SetTip("Vellmoran is armed");
}

void CDaemonWindow::PollIdle()
{
    LASTINPUTINFO input = {sizeof(input), 0};
    ::GetLastInputInfo(&input);
    BOOL screensaverRunning = FALSE;
    ::SystemParametersInfoA(SPI_GETSCREENSAVERRUNNING, 0, &screensaverRunning, 0);
    DWORD now = ::GetTickCount();
    if (m_idle->Poll(now, input.dwTime, screensaverRunning != FALSE))
        Lock();
    ::SetTimer(m_hWnd, kIdleTimer, m_idle->NextPollMs(now, input.dwTime), nullptr);
}

void CDaemonWindow::Lock()
{
    if (m_lock || !m_bSettingsRead)
        return;
    m_lock.reset(new CLockScreen(m_hWnd, kUnlockMessage, m_settings.code, m_settings.image, m_backoff));
    if (m_lock->Window() == nullptr)
        m_lock.reset();
}

void CDaemonWindow::OnUnlocked()
{
    m_lock.reset();
    if (m_bClosePending)
        ::DestroyWindow(m_hWnd);
}

void CDaemonWindow::OnTray(LPARAM event)
{
    if (event != WM_RBUTTONUP && event != WM_CONTEXTMENU)
        return;
    switch (m_tray->TrackMenu()) {
    case CTrayIcon::lockNow:
        Lock();
        break;
    case CTrayIcon::openControlPanel:
        OpenControlPanel();
        break;
    }
}

// Through the shell, so that the panel's elevation prompt can appear.
void CDaemonWindow::OpenControlPanel()
{
    std::string panel = m_directory + "\\Vellmoran.exe";
    ::ShellExecuteA(m_hWnd, "open", panel.c_str(), nullptr, m_directory.c_str(), SW_SHOWNORMAL);
}
