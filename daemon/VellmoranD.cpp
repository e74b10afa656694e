// A stand-in for the lock daemon, so that the control panel can be run and
// tested end to end. It owns one hidden top-level window titled "V3LLM0R4ND"
// and ends when that window is closed. It locks nothing.
//
// Environment variables, inherited from whoever starts it, for fault tests:
//   VELLMORAN_DAEMON_IGNORE_CLOSE=1    WM_CLOSE is ignored: the daemon hangs on
//   VELLMORAN_DAEMON_CLOSE_DELAY_MS=n  the window goes n ms after WM_CLOSE
//   VELLMORAN_DAEMON_NO_WINDOW=1       ends at once without a window, like a
//                                      daemon that fails to start
#include <windows.h>

#include <cstdlib>

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

    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = DaemonWindowProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = "VellmoranDaemonStandIn";
    if (!::RegisterClassA(&windowClass))
        return 1;
    HWND window = ::CreateWindowExA(0, windowClass.lpszClassName, kWindowTitle, WS_OVERLAPPED, 0, 0, 0, 0,
                                    nullptr, nullptr, instance, nullptr);
    if (window == nullptr)
        return 1;

    MSG msg;
    while (::GetMessageA(&msg, nullptr, 0, 0) > 0)
        ::DispatchMessageA(&msg);
    return 0;
}
