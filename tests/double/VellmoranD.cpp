// A test double of the lock daemon, so that the control panel can be tested
// end to end; never shipped. It owns one hidden top-level window titled
// "V3LLM0R4ND" and ends when that window is closed. It locks nothing.
//
// At start-up, before its window exists, it reads the settings file as the
// real daemon would: the five settings and the password code, each through
// its own exclusive open of Vellmoran.bin. It writes what it read to
// VellmoranD.log beside itself, replacing any earlier log: one line per key
// in this order
//   m_nVirtualKey, m_bScreenwipe, m_bScreensaver, m_nVelocity, m_nDelay,
//   m_csCode
// each "key=value" when the read succeeded (the integers in decimal, the code
// as stored) and the bare key when it failed (no such record, or the file
// could not be opened). A file error ends the log with "error: " and the
// error's text.
//
// Environment variables, inherited from whoever starts it, for fault tests:
//   VELLMORAN_DAEMON_IGNORE_CLOSE=1        WM_CLOSE is ignored: the daemon
//                                          hangs on
//   VELLMORAN_DAEMON_CLOSE_DELAY_MS=n      the window goes n ms after WM_CLOSE
//   VELLMORAN_DAEMON_NO_WINDOW=1           ends at once without a window, like
//                                          a daemon that fails to start
//   VELLMORAN_DAEMON_HOLD_SETTINGS_MS=n    after reading, holds Vellmoran.bin
//                                          open exclusively for n ms, from
//                                          before its window appears
#include "framework/File.h"
#include "framework/WinApp.h"
#include "settings/SettingsPath.h"
#include "settings/SettingsStore.h"

#include <windows.h>

#include <cstdlib>
#include <fstream>

namespace {
const char kWindowTitle[] = "V3LLM0R4ND";
const UINT_PTR kCloseTimer = 1;

int EnvironmentNumber(const char* name)
{
    char value[32];
    DWORD length = ::GetEnvironmentVariableA(name, value, sizeof(value));
    if (length == 0 || length >= sizeof(value))
        return 0;
    return std::atoi(value);
}

std::string BesideDaemon(const char* fileName)
{
    return SettingsDirectory(AfxGetModulePath()) + "\\" + fileName;
}

void ReadSettingsIntoLog()
{
    std::ofstream log(BesideDaemon("VellmoranD.log"), std::ios::trunc);
    try {
        CSettingsStore store("Vellmoran.bin");
        for (const char* key : {"m_nVirtualKey", "m_bScreenwipe", "m_bScreensaver", "m_nVelocity", "m_nDelay"}) {
            int value = 0;
            if (store.ReadInt(key, value))
                log << key << '=' << value << '\n';
            else
                log << key << '\n';
        }
        std::string code;
        if (store.ReadString("m_csCode", code))
            log << "m_csCode=" << code << '\n';
        else
            log << "m_csCode\n";
    } catch (const CFileException& e) {
        log << "error: " << e.what() << '\n';
    }
}

LRESULT CALLBACK DaemonWindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CLOSE:
        if (EnvironmentNumber("VELLMORAN_DAEMON_IGNORE_CLOSE"))
            return 0;
        if (int delay = EnvironmentNumber("VELLMORAN_DAEMON_CLOSE_DELAY_MS")) {
            ::SetTimer(hWnd, kCloseTimer, static_cast<UINT>(delay), nullptr);
            return 0;
        }
        ::DestroyWindow(hWnd);
        return 0;
    case WM_TIMER:
        if (wParam == kCloseTimer)
            ::DestroyWindow(hWnd);
        return 0;
    case WM_DESTROY:
        ::PostQuitMessage(0);
        return 0;
    default:
        return ::DefWindowProcA(hWnd, message, wParam, lParam);
    }
}
}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    if (EnvironmentNumber("VELLMORAN_DAEMON_NO_WINDOW"))
        return 1;

    ReadSettingsIntoLog();

    // Held before the window appears, so that whoever sees the window can
    // count on the conflict.
    CFile heldSettings;
    UINT_PTR releaseTimer = 0;
    if (int holdMs = EnvironmentNumber("VELLMORAN_DAEMON_HOLD_SETTINGS_MS")) {
        heldSettings.Open(BesideDaemon("Vellmoran.bin"),
                          CFile::modeRead | CFile::shareExclusive | CFile::modeCreate | CFile::modeNoTruncate);
        releaseTimer = ::SetTimer(nullptr, 0, static_cast<UINT>(holdMs), nullptr);
    }

    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = DaemonWindowProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = "VellmoranDaemonDouble";
    if (!::RegisterClassA(&windowClass))
        return 1;
    HWND window = ::CreateWindowExA(0, windowClass.lpszClassName, kWindowTitle, WS_OVERLAPPED, 0, 0, 0, 0,
                                    nullptr, nullptr, instance, nullptr);
    if (window == nullptr)
        return 1;

    MSG msg;
    while (::GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (msg.hwnd == nullptr && msg.message == WM_TIMER && releaseTimer != 0 && msg.wParam == releaseTimer) {
            ::KillTimer(nullptr, releaseTimer);
            releaseTimer = 0;
            if (heldSettings.IsOpen())
                heldSettings.Close();
            continue;
        }
        ::DispatchMessageA(&msg);
    }
    return 0;
}
