#include "panel/Daemon.h"

#include "settings/DaemonContract.h"

#include <cstring>

// 68 bytes in the 32-bit product; the 64-bit build exists only for tests.
static_assert(sizeof(STARTUPINFOA) == (sizeof(void*) == 4 ? 68 : 104), "STARTUPINFO is the system's own");

HWND FindDaemonWindow()
{
    return ::FindWindowA(nullptr, Contract::kDaemonWindowTitle);
}

BOOL LaunchDaemon()
{
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION process = {};
    char commandLine[sizeof(Contract::kDaemonFile)];
    std::strcpy(commandLine, Contract::kDaemonFile);
    if (!::CreateProcessA(nullptr, commandLine, nullptr, nullptr, FALSE, DETACHED_PROCESS | NORMAL_PRIORITY_CLASS,
                          nullptr, nullptr, &startup, &process))
        return FALSE;
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    return TRUE;
}

void RequestDaemonStop(HWND daemonWindow)
{
    ::PostMessageA(daemonWindow, WM_CLOSE, 0, 0);
}

BOOL WaitForDaemonEnd(DWORD timeoutMs)
{
    DWORD start = ::GetTickCount();
    while (FindDaemonWindow() != nullptr) {
        if (::GetTickCount() - start >= timeoutMs)
            return FALSE;
        ::Sleep(250);
    }
    return TRUE;
}
