#include "tests/panel/PanelHelpers.h"

#include <shlwapi.h>

namespace {
const char kRunKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
}  // namespace

std::string RunValue()
{
    char buffer[1024];
    DWORD size = sizeof(buffer);
    if (::SHGetValueA(HKEY_LOCAL_MACHINE, kRunKey, "VellmoranD", nullptr, buffer, &size) != ERROR_SUCCESS)
        return std::string();
    return std::string(buffer, size);
}

void SetRunValue(const std::string& bytes, DWORD type)
{
    if (bytes.empty())
        ::SHDeleteValueA(HKEY_LOCAL_MACHINE, kRunKey, "VellmoranD");
    else
        ::SHSetValueA(HKEY_LOCAL_MACHINE, kRunKey, "VellmoranD", type, bytes.data(), static_cast<DWORD>(bytes.size()));
}

DWORD DaemonProcess(HWND window)
{
    DWORD processId = 0;
    ::GetWindowThreadProcessId(window, &processId);
    return processId;
}

void EndAllDaemons()
{
    for (HWND window : DaemonWindows()) {
        HANDLE process = ::OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, DaemonProcess(window));
        ::TerminateProcess(process, 0);
        ::WaitForSingleObject(process, kProcessGuardMs);
        ::CloseHandle(process);
    }
    WaitUntil([] { return DaemonWindows().empty(); }, kProcessGuardMs);
}
