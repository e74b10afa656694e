#pragma once

#include "daemon/CheckedBitmap.h"
#include "daemon/DaemonSettings.h"
#include "daemon/LockRecord.h"
#include "daemon/ObjectWindowProc.h"

#include <windows.h>

#include <memory>
#include <string>

class CIdleNotice;
class CIdleTrigger;
class CLockScreen;
class CTrayIcon;
class CWipeHook;

// The lock process: its hidden top-level window, from start to end, receives
// the triggers (activation key, screen wipe, idle time, sleep, the tray
// menu) and owns the lock screen. Its state lives in the record shared with
// the guard. The screen locks by Lock and opens only by Unlock, which only
// the right password at the lock screen reaches, by a direct call. WM_CLOSE
// ends the daemon, except while the screen is locked: then it is held back
// until the unlock. Nothing else that another program can send ends it.
class CDaemonWindow {
public:
    // minuteMs is the length of a minute of the idle delay; only tests
    // shorten it.
    CDaemonWindow(std::string directory, DWORD minuteMs, LockRecord& record);
    ~CDaemonWindow();
    CDaemonWindow(const CDaemonWindow&) = delete;
    CDaemonWindow& operator=(const CDaemonWindow&) = delete;

    bool Create(HINSTANCE instance);
    // The window is gone, by the daemon's own decision: the process ends.
    bool Ended() const { return m_bEnded; }
    // Set while keys typed at the lock screen wait; null while unlocked.
    HANDLE InputEvent() const;
    void OnInput();

private:
    friend LRESULT CALLBACK ObjectWindowProc<CDaemonWindow>(HWND, UINT, WPARAM, LPARAM);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    // idle: the lock of an idle stretch, which input opens for a moment.
    void Lock(bool idle = false);
    void Unlock();
    void End();
    void TryReadSettings();
    void ReadImage();
    void Arm();
    void Disarm();
    void ReleaseHotKey();
    void UpdateTip();
    void PollIdle();
    void OnTray(LPARAM event);
    void OpenControlPanel();

    std::string m_directory;
    DWORD m_minuteMs;
    LockRecord& m_record;
    HWND m_hWnd = nullptr;
    UINT m_taskbarCreated = 0;
    DaemonSettings m_settings;
    std::unique_ptr<CheckedBitmap> m_image;
    bool m_bSettingsRead = false;
    bool m_bHotKey = false;
    bool m_bHotKeyReported = false;
    bool m_bLockFailReported = false;
    bool m_bClosePending = false;
    bool m_bEnded = false;
    std::unique_ptr<CTrayIcon> m_tray;
    std::unique_ptr<CWipeHook> m_wipe;
    std::unique_ptr<CIdleTrigger> m_idle;
    std::unique_ptr<CIdleNotice> m_notice;
    std::unique_ptr<CLockScreen> m_lock;
};
