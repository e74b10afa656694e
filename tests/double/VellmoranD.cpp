// A test double of the lock daemon, so that the control panel can be tested
// end to end; never shipped. It owns one hidden top-level window titled
// "V3LLM0R4ND" and ends when that window is closed. It locks nothing.
//
// At start-up, before its window exists, it reads the five settings and the
// password code, each through its own exclusive open of Vellmoran.bin, and
// writes what it read to VellmoranD.log beside itself, replacing any earlier
// log: one line per key in the order m_nVirtualKey, m_bScreenwipe,
// m_bScreensaver, m_nVelocity, m_nDelay, m_csCode, "key=value" (the value as
// stored) when the read succeeded and the bare key when it failed (no such
// record, or the file could not be opened). A file error ends the log with
// "error: " and the error's text.
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

#include <cstdlib>
#include <fstream>

namespace {
CFile g_heldSettings;

int Switch(const char* name)
{
    const char* value = std::getenv((std::string("VELLMORAN_DAEMON_") + name).c_str());
    return value ? std::atoi(value) : 0;
}

std::string BesideDaemon(const char* fileName) { return SettingsDirectory(AfxGetModulePath()) + "\\" + fileName; }

LRESULT CALLBACK DaemonWindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    // Timer 1 is the late close, timer 2 the release of the held file.
    if (message == WM_CLOSE && !Switch("IGNORE_CLOSE")
        && !(Switch("CLOSE_DELAY_MS") && ::SetTimer(hWnd, 1, Switch("CLOSE_DELAY_MS"), nullptr)))
        ::DestroyWindow(hWnd);
    else if (message == WM_TIMER && ::KillTimer(hWnd, wParam))
        wParam == 1 ? (void)::DestroyWindow(hWnd) : g_heldSettings.Close();
    else if (message == WM_DESTROY)
        ::PostQuitMessage(0);
    else if (message != WM_CLOSE)
        return ::DefWindowProcA(hWnd, message, wParam, lParam);
    return 0;
}
}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    if (Switch("NO_WINDOW"))
        return 1;
    std::ofstream log(BesideDaemon("VellmoranD.log"), std::ios::trunc);
    try {
        CSettingsStore store("Vellmoran.bin");
        for (const char* key : {"m_nVirtualKey", "m_bScreenwipe", "m_bScreensaver", "m_nVelocity", "m_nDelay", "m_csCode"}) {
            std::string value;
            log << key << (store.ReadString(key, value) ? "=" + value : "") << '\n';
        }
    } catch (const CFileException& e) {
        log << "error: " << e.what() << '\n';
    }
    log.close();
    // Held before the window appears, so that whoever sees the window can count on the conflict.
    if (Switch("HOLD_SETTINGS_MS"))
        g_heldSettings.Open(BesideDaemon("Vellmoran.bin"),
                            CFile::modeRead | CFile::shareExclusive | CFile::modeCreate | CFile::modeNoTruncate);
    WNDCLASSA windowClass = {0, DaemonWindowProc, 0, 0, instance, nullptr, nullptr, nullptr, nullptr, "VellmoranDouble"};
    ::RegisterClassA(&windowClass);
    HWND window = ::CreateWindowExA(0, "VellmoranDouble", "V3LLM0R4ND", WS_OVERLAPPED, 0, 0, 0, 0, nullptr, nullptr,
                                    instance, nullptr);
    if (window && g_heldSettings.IsOpen())
        ::SetTimer(window, 2, Switch("HOLD_SETTINGS_MS"), nullptr);
    MSG msg;
    while (window && ::GetMessageA(&msg, nullptr, 0, 0) > 0)
        ::DispatchMessageA(&msg);
    return window ? 0 : 1;
}
