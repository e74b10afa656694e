#include "tests/panel/DaemonProcesses.h"

#include "tests/support/GuiDriver.h"

#include <string>

namespace {
BOOL CALLBACK CollectDaemonWindow(HWND hWnd, LPARAM lParam)
{
    char title[32] = "";
    ::GetWindowTextA(hWnd, title, sizeof(title));
    if (std::string(title) == "V3LLM0R4ND")
        reinterpret_cast<std::vector<HWND>*>(lParam)->push_back(hWnd);
    return TRUE;
}
}  // namespace

std::vector<HWND> DaemonWindows()
{
    std::vector<HWND> windows;
    ::EnumWindows(CollectDaemonWindow, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

void EndAllDaemons()
{
    for (HWND window : DaemonWindows()) {
        DWORD processId = 0;
        ::GetWindowThreadProcessId(window, &processId);
        if (processId == ::GetCurrentProcessId()) {
            ::DestroyWindow(window);
            continue;
        }
        if (HANDLE process = ::OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, processId)) {
            ::TerminateProcess(process, 0);
            ::WaitForSingleObject(process, 5000);
            ::CloseHandle(process);
        }
    }
    WaitUntil([] { return DaemonWindows().empty(); }, 5000);
}

void SetDaemonSwitch(const char* name, const char* value)
{
    ::SetEnvironmentVariableA(name, value);
}
