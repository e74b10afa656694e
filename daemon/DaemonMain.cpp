#include "daemon/DaemonWindow.h"
#include "daemon/SingleInstance.h"

#include <windows.h>

namespace {
// Long enough for a daemon that was just asked to end to let go.
const DWORD kPredecessorWaitMs = 5000;
}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    CSingleInstance instanceGuard;
    if (!instanceGuard.Acquire(kPredecessorWaitMs))
        return 0;
    if (CreateDaemonWindow(instance) == nullptr)
        return 1;
    MSG msg;
    while (::GetMessageA(&msg, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
    return 0;
}
