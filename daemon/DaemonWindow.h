#pragma once

#include "daemon/AttemptBackoff.h"
#include "daemon/DaemonSettings.h"
#include "daemon/ObjectWindowProc.h"

#include <windows.h>

#include <memory>
#include <string>

class CIdleTrigger;
class CLockScreen;
class CTrayIcon;
class CWipeHook;

// The panel finds the daemon by this window title and stops it with
// WM_CLOSE.
extern const char kDaemonWindowTitle[];

// The daemon: its hidden top-level window, from start to end, receives the
// triggers (activation key, screen wipe, idle time, the tray menu) and owns
// the lock screen. WM_CLOSE ends the daemon, except while the screen is
// locked: then it is held back until the unlock, or any program could
// unlock the screen by asking the daemon to end. Log-off and shutdown end it
// in any case.
class CDaemonWindow {
public:
    // minuteMs is the length of a minute of the idle delay; only tests
    // shorten it.
    CDaemonWindow(std::string directory, DWORD minuteMs);
    ~CDaemonWindow();
    CDaemonWindow(const CDaemonWindow&) = delete;
    CDaemonWindow& operator=(const CDaemonWindow&) = delete;

    bool Create(HINSTANCE instance);

private:
    friend LRESULT CALLBACK ObjectWindowProc<CDaemonWindow>(HWND, UINT, WPARAM, LPARAM);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    void TryReadSettings();
    void Arm();
    void Disarm();
    void UpdateTip();
    void PollIdle();
    void Lock();
    void OnUnlocked();
    void OnTray(LPARAM event);
    void OpenControlPanel();

    std::string m_directory;
    DWORD m_minuteMs;
    HWND m_hWnd = nullptr;
    UINT m_taskbarCreated = 0;
    DaemonSettings m_settings;
    bool m_bSettingsRead = false;
    bool m_bHotKey = false;
    bool m_bHotKeyReported = false;
    bool m_bClosePending = false;
    CAttemptBackoff m_backoff;
    std::unique_ptr<CTrayIcon> m_tray;
    std::unique_ptr<CWipeHook> m_wipe;
    std::unique_ptr<CIdleTrigger> m_idle;
    std::unique_ptr<CLockScreen> m_lock;
};
