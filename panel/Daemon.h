#pragma once

#include <windows.h>

// The lock daemon VellmoranD.exe: found by the title of its top-level window,
// started as a detached process, stopped by WM_CLOSE.
HWND FindDaemonWindow();
BOOL LaunchDaemon();
void RequestDaemonStop(HWND daemonWindow);

// Waits in steps of 250 ms until no daemon window is left; FALSE if one is
// still there after the timeout.
BOOL WaitForDaemonEnd(DWORD timeoutMs);
