// A test double of the lock daemon, so that the control panel can be tested
// end to end; never shipped. It owns one hidden top-level window titled
// "V3LLM0R4ND" and ends when that window is closed. It locks nothing. Its
// window's property "StartedIn" holds a global atom of its current directory.
//
// One switch, an environment variable inherited from whoever starts it:
// VELLMORAN_DAEMON_IGNORE_CLOSE=1 makes it ignore WM_CLOSE, a daemon that
// hangs on.
#include "settings/DaemonContract.h"

#include <windows.h>

#include <cstdlib>

namespace {
LRESULT CALLBACK DaemonWindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CLOSE) {
        if (!std::getenv("VELLMORAN_DAEMON_IGNORE_CLOSE"))
            ::DestroyWindow(hWnd);
        return 0;
    }
    if (message == WM_DESTROY)
        ::PostQuitMessage(0);
    return ::DefWindowProcA(hWnd, message, wParam, lParam);
}
}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = DaemonWindowProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = "VellmoranDouble";
    ::RegisterClassA(&windowClass);
    HWND window = ::CreateWindowExA(0, "VellmoranDouble", Contract::kDaemonWindowTitle,
                                    WS_OVERLAPPED, 0, 0, 0, 0, nullptr, nullptr, instance, nullptr);
    char directory[MAX_PATH] = "";
    ::GetCurrentDirectoryA(MAX_PATH, directory);
    ::SetPropA(window, "StartedIn", reinterpret_cast<HANDLE>(::GlobalAddAtomA(directory)));
    MSG msg;
    while (window && ::GetMessageA(&msg, nullptr, 0, 0) > 0)
        ::DispatchMessageA(&msg);
    return window ? 0 : 1;
}
