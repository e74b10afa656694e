#include "daemon/DaemonWindow.h"

#include "daemon/IdleNotice.h"
#include "daemon/IdleTrigger.h"
#include "daemon/LockScreen.h"
#include "daemon/LockTexts.h"
#include "daemon/TrayIcon.h"
#include "daemon/TrayTexts.h"
#include "daemon/WipeHook.h"
#include "settings/DaemonContract.h"
#include "settings/SettingsKeys.h"

#include <powrprof.h>
#include <shellapi.h>

#include <cstring>

namespace {
const char kClassName[] = "VellmoranDaemon";
const UINT kTrayMessage = WM_APP + 1;
const UINT kWipeMessage = WM_APP + 2;
const UINT_PTR kSettingsTimer = 1;
const UINT_PTR kIdleTimer = 2;
const UINT_PTR kLockRetryTimer = 3;
const UINT kSettingsRetryMs = 500;
const UINT kLockRetryMs = 250;
const int kHotKeyId = 1;
// A program asks the system to keep the display on: a presentation, a film.
bool DisplayKeptOn()
{
    EXECUTION_STATE state = 0;
    return ::CallNtPowerInformation(SystemExecutionState, nullptr, 0, &state, sizeof(state)) == 0
           && (state & ES_DISPLAY_REQUIRED) != 0;
}
}  // namespace

CDaemonWindow::CDaemonWindow(std::string directory, DWORD minuteMs, LockRecord& record)
    : m_directory(std::move(directory)), m_minuteMs(minuteMs), m_record(record)
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
    return ::CreateWindowExA(0, kClassName, Contract::kDaemonWindowTitle, WS_OVERLAPPED, 0, 0, 0, 0, nullptr, nullptr,
                             instance, this) != nullptr;
}

// The lock, in one place: Lock covers the screen, the lock screen hands in
// the keys typed, and only the right password among them calls Unlock.
void CDaemonWindow::Lock(bool idle)
{
    // Until a code is known nothing locks: a screen locked with an unknown
    // password could not be unlocked, and one taken for "no password"
    // would open to anyone.
    if (m_lock || (m_record.state != DaemonState::armed && m_record.state != DaemonState::locked))
        return;
    if (m_record.state == DaemonState::armed) {
        m_record.stats = {};
        ::GetLocalTime(&m_record.stats.lockedAt);
    }
    m_record.state = DaemonState::locked;
    // The activation key may be one the password needs, such as Enter.
    ReleaseHotKey();
    m_notice.reset();
    CGrace grace(::GetTickCount(), idle ? CGrace::kIdleMs : 0);
    m_lock.reset(new CLockScreen(m_record.code, m_image.get(), m_record.backoff, m_record.stats, grace));
    if (m_lock->Window() != nullptr) {
        ::KillTimer(m_hWnd, kLockRetryTimer);
        return;
    }
    m_lock.reset();
    ::SetTimer(m_hWnd, kLockRetryTimer, kLockRetryMs, nullptr);
    if (!m_bLockFailReported) {
        m_bLockFailReported = true;
        m_tray->ShowBalloon("Vellmoran", "The screen could not be locked. Vellmoran keeps trying.");
    }
}

HANDLE CDaemonWindow::InputEvent() const
{
    return m_lock ? m_lock->InputEvent() : nullptr;
}

void CDaemonWindow::OnInput()
{
    if (m_lock && m_lock->TakeInput())
        Unlock();
}

void CDaemonWindow::Unlock()
{
    m_lock.reset();
    m_record.state = DaemonState::armed;
    std::string report = UnlockReport(m_record.stats.wrongPasswords, TimeText(m_record.stats.lastWrongAt));
    if (!report.empty())
        m_tray->ShowBalloon("Vellmoran", report);
    if (m_bClosePending)
        End();
    else
        Arm();
}

// Only the daemon's own decision to end lets its window go.
void CDaemonWindow::End()
{
    m_record.state = DaemonState::ending;
    ::DestroyWindow(m_hWnd);
}

LRESULT CDaemonWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        m_taskbarCreated = ::RegisterWindowMessageA("TaskbarCreated");
        m_tray.reset(new CTrayIcon(m_hWnd, kTrayMessage));
        // A lock process that replaces one that died while locked locks at
        // once, with the code it held.
        if (m_record.state == DaemonState::locked)
            Lock();
        TryReadSettings();
        return 0;
    case WM_TIMER:
        if (wParam == kSettingsTimer && !m_bSettingsRead)
            TryReadSettings();
        else if (wParam == kIdleTimer && m_idle)
            PollIdle();
        else if (wParam == kLockRetryTimer && m_record.state == DaemonState::locked)
            Lock();
        return 0;
    case WM_HOTKEY:
    case kWipeMessage:
        Lock();
        return 0;
    case WM_POWERBROADCAST:
        // Locked before the system sleeps, so the desktop never shows on
        // waking.
        if (wParam == PBT_APMSUSPEND)
            Lock();
        return TRUE;
    case kTrayMessage:
        if (!m_lock)
            OnTray(lParam);
        return 0;
    case WM_CLOSE:
        if (m_record.state == DaemonState::locked)
            m_bClosePending = true;
        else
            End();
        return 0;
    case WM_QUERYENDSESSION:
        return TRUE;
    case WM_ENDSESSION:  // a real log-off ends the process; a faked one nothing
    case WM_SYSCOMMAND:
        return 0;
    case WM_DISPLAYCHANGE:
        // The wipe spans the virtual screen as it is now.
        if (m_wipe) {
            m_wipe.reset();
            m_wipe.reset(new CWipeHook(m_hWnd, kWipeMessage, static_cast<DWORD>(m_settings.velocityMs)));
        }
        return 0;
    case WM_DESTROY:
        if (m_record.state != DaemonState::ending)
            return 0;
        m_lock.reset();
        Disarm();
        m_tray.reset();
        return 0;
    case WM_NCDESTROY: {
        if (m_record.state != DaemonState::ending)
            return 0;
        HWND hWnd = m_hWnd;
        m_hWnd = nullptr;
        m_bEnded = true;
        return ::DefWindowProcA(hWnd, message, wParam, lParam);
    }
    }
    if (message == m_taskbarCreated && m_taskbarCreated != 0 && m_tray)
        m_tray->Restore();
    return ::DefWindowProcA(m_hWnd, message, wParam, lParam);
}

void CDaemonWindow::TryReadSettings()
{
    if (ReadDaemonSettings(Settings::kFileName, m_settings)) {
        ::KillTimer(m_hWnd, kSettingsTimer);
        m_bSettingsRead = true;
        // The code is the one of the daemon's start for its whole life: a
        // lock process that replaces a dead one keeps it.
        bool starting = m_record.state == DaemonState::starting;
        if (starting) {
            size_t length = std::min(m_settings.code.size(), LockRecord::kMaxCode - 1);
            std::memcpy(m_record.code, m_settings.code.data(), length);
            m_record.code[length] = '\0';
            m_record.state = DaemonState::armed;
        }
        ReadImage();
        Arm();
        std::string notice = StartNotice(m_settings, m_bHotKey);
        if (starting && !notice.empty() && !m_bHotKeyReported)
            m_tray->ShowBalloon("Vellmoran", notice);
    } else {
        ::SetTimer(m_hWnd, kSettingsTimer, kSettingsRetryMs, nullptr);
    }
    UpdateTip();
}

// Read and checked once, so that locking later reads no file.
void CDaemonWindow::ReadImage()
{
    if (m_settings.image.empty())
        return;
    m_image.reset(new CheckedBitmap);
    if (ReadCheckedBitmap(m_settings.image, *m_image) == BitmapCheck::ok)
        return;
    m_image.reset();
    m_tray->ShowBalloon("Vellmoran", "The lock image cannot be shown, so the lock screen stays plain. "
                                     "Choose an uncompressed bitmap in the control panel.");
}

void CDaemonWindow::Arm()
{
    if (!m_bSettingsRead || m_record.state != DaemonState::armed)
        return;
    if (m_settings.virtualKey != 0 && !m_bHotKey) {
        m_bHotKey = ::RegisterHotKey(m_hWnd, kHotKeyId, 0, static_cast<UINT>(m_settings.virtualKey)) != FALSE;
        if (!m_bHotKey && !m_bHotKeyReported) {
            m_bHotKeyReported = true;
            m_tray->ShowBalloon("Vellmoran",
                                "Another program uses the activation key, so it does not lock the screen. "
                                "Choose another key in the control panel.");
        }
    }
    if (m_settings.screenwipe && !m_wipe)
        m_wipe.reset(new CWipeHook(m_hWnd, kWipeMessage, static_cast<DWORD>(m_settings.velocityMs)));
    if (m_settings.screensaver && !m_idle) {
        m_idle.reset(new CIdleTrigger(static_cast<DWORD>(m_settings.delayMinutes) * m_minuteMs));
        PollIdle();
    }
}

void CDaemonWindow::Disarm()
{
    ReleaseHotKey();
    m_wipe.reset();
    ::KillTimer(m_hWnd, kIdleTimer);
    ::KillTimer(m_hWnd, kSettingsTimer);
    ::KillTimer(m_hWnd, kLockRetryTimer);
    m_idle.reset();
    m_notice.reset();
}

void CDaemonWindow::ReleaseHotKey()
{
    if (m_bHotKey)
        ::UnregisterHotKey(m_hWnd, kHotKeyId);
    m_bHotKey = false;
}

void CDaemonWindow::UpdateTip()
{
    if (!m_bSettingsRead)
        m_tray->SetTip("Vellmoran is not armed: its settings cannot be read yet");
    else
        m_tray->SetTip(ArmedTip(m_settings, m_bHotKey));
}

void CDaemonWindow::PollIdle()
{
    LASTINPUTINFO input = {sizeof(input), 0};
    ::GetLastInputInfo(&input);
    BOOL screensaverRunning = FALSE;
    ::SystemParametersInfoA(SPI_GETSCREENSAVERRUNNING, 0, &screensaverRunning, 0);
    DWORD now = ::GetTickCount();
    if (m_idle->Poll(now, input.dwTime, screensaverRunning != FALSE, DisplayKeptOn()))
        Lock(true);
    DWORD lockIn = m_idle->LockInMs(now);
    if (!m_lock && lockIn != INFINITE && lockIn <= m_idle->WarningMs()) {
        if (!m_notice)
            m_notice.reset(new CIdleNotice);
        m_notice->Show((lockIn + 999) / 1000);
    } else {
        m_notice.reset();
    }
    ::SetTimer(m_hWnd, kIdleTimer, m_idle->NextPollMs(now), nullptr);
}

void CDaemonWindow::OnTray(LPARAM event)
{
    if (event == WM_LBUTTONDBLCLK) {
        OpenControlPanel();
        return;
    }
    if (event != WM_RBUTTONUP && event != WM_CONTEXTMENU)
        return;
    switch (m_tray->TrackMenu(LockNowItem(m_settings, m_bHotKey))) {
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
    std::string panel = m_directory + "\\" + Contract::kPanelFile;
    ::ShellExecuteA(m_hWnd, "open", panel.c_str(), nullptr, m_directory.c_str(), SW_SHOWNORMAL);
}
