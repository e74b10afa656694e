#include "daemon/DaemonWindow.h"
#include "daemon/SingleInstance.h"
#include "framework/WinApp.h"
#include "settings/SettingsPath.h"

#include <windows.h>

#include <cstdlib>

namespace {
// Long enough for a daemon that was just asked to end to let go.
const DWORD kPredecessorWaitMs = 5000;
const DWORD kMinuteMs = 60000;

// Tests shorten the minute of the idle delay; nothing else does.
DWORD MinuteMs()
{
    char value[16];
    DWORD length = ::GetEnvironmentVariableA("VELLMORAN_TEST_MINUTE_MS", value, sizeof(value));
    int ms = length > 0 && length < sizeof(value) ? std::atoi(value) : 0;
    return ms > 0 ? static_cast<DWORD>(ms) : kMinuteMs;
}
}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    CSingleInstance instanceGuard;
    if (!instanceGuard.Acquire(kPredecessorWaitMs))
        return 0;
    std::string modulePath = AfxGetModulePath();
    if (modulePath.empty())
        return 1;
    CDaemonWindow daemon(SettingsDirectory(modulePath), MinuteMs());
    if (!daemon.Create(instance))
        return 1;
    MSG msg;
    while (::GetMessageA(&msg, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
    return 0;
}
