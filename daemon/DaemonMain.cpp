#include "daemon/DaemonCommand.h"
#include "daemon/DaemonWindow.h"
#include "daemon/Guard.h"
#include "daemon/SingleInstance.h"
#include "framework/WinApp.h"
#include "settings/SettingsPath.h"

#include <windows.h>

#include <cstdlib>
#include <vector>

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

// The lock process's message loop, which also watches the guard and starts
// a new one when it dies. It ends only when the daemon's window is gone by
// the daemon's own decision: a WM_QUIT that another program posts is
// dropped, as is a WM_TIMER that would call a procedure none of ours set.
int RunLockProcess(HINSTANCE instance, const CLockRecordMapping& mapping, HANDLE guard)
{
    std::string modulePath = AfxGetModulePath();
    if (modulePath.empty())
        return 1;
    CDaemonWindow daemon(SettingsDirectory(modulePath), MinuteMs(), mapping.Record());
    if (!daemon.Create(instance))
        return 1;
    while (!daemon.Ended()) {
        std::vector<HANDLE> waits;
        if (guard != nullptr)
            waits.push_back(guard);
        if (HANDLE input = daemon.InputEvent())
            waits.push_back(input);
        DWORD signalled = ::MsgWaitForMultipleObjects(static_cast<DWORD>(waits.size()), waits.data(), FALSE,
                                                      INFINITE, QS_ALLINPUT);
        if (signalled < waits.size() && waits[signalled] == guard) {
            ::CloseHandle(guard);
            guard = LaunchPeer(DaemonRole::guard, mapping);
        } else if (signalled < waits.size()) {
            daemon.OnInput();
        }
        MSG msg;
        while (!daemon.Ended() && ::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT || (msg.message == WM_TIMER && msg.lParam != 0))
                continue;
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
    }
    if (guard != nullptr)
        ::CloseHandle(guard);
    return 0;
}
}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    DaemonCommand command = ParseDaemonCommand(::GetCommandLineA());
    if (command.role == DaemonRole::invalid)
        return 1;
    CSingleInstance instanceGuard;
    if (command.role == DaemonRole::first) {
        if (!instanceGuard.Acquire(kPredecessorWaitMs))
            return 0;
        CLockRecordMapping mapping = CLockRecordMapping::Create();
        if (!mapping.Valid())
            return 1;
        return RunGuard(mapping, LaunchPeer(DaemonRole::lock, mapping));
    }
    CLockRecordMapping mapping = CLockRecordMapping::Open(command.record);
    if (!mapping.Valid())
        return 1;
    if (command.role == DaemonRole::lock)
        return RunLockProcess(instance, mapping, command.peer);
    // A guard that replaces a dead one takes over its claim to the session.
    instanceGuard.TakeOver();
    return RunGuard(mapping, command.peer);
}
