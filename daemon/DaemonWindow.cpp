#include "daemon/DaemonWindow.h"

const char kDaemonWindowTitle[] = "V3LLM0R4ND";

namespace {
const char kClassName[] = "VellmoranDaemon";

LRESULT CALLBACK DaemonWindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CLOSE:
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

HWND CreateDaemonWindow(HINSTANCE instance)
{
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = DaemonWindowProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = kClassName;
    if (!::RegisterClassA(&windowClass))
        return nullptr;
    return ::CreateWindowExA(0, kClassName, kDaemonWindowTitle, WS_OVERLAPPED, 0, 0, 0, 0, nullptr, nullptr,
                             instance, nullptr);
}
