#include "tests/panel/PanelHelpers.h"

#include "panel/ExecutableDirectory.h"
#include "tests/support/GuiDriver.h"

namespace {
const char kRunKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";

BOOL CALLBACK CollectDaemonWindow(HWND hWnd, LPARAM lParam)
{
    char title[32] = "";
    ::GetWindowTextA(hWnd, title, sizeof(title));
    if (std::string(title) == "V3LLM0R4ND")
        reinterpret_cast<std::vector<HWND>*>(lParam)->push_back(hWnd);
    return TRUE;
}
}  // namespace

std::string RunValue()
{
    char buffer[1024];
    DWORD size = sizeof(buffer);
    HKEY key;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, kRunKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return std::string();
    LONG status = ::RegQueryValueExA(key, "VellmoranD", nullptr, nullptr, reinterpret_cast<BYTE*>(buffer), &size);
    ::RegCloseKey(key);
    return status == ERROR_SUCCESS ? std::string(buffer, size) : std::string();
}

void SetRunValue(const std::string& bytes, DWORD type)
{
    HKEY key;
    ::RegCreateKeyExA(HKEY_LOCAL_MACHINE, kRunKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr);
    if (bytes.empty())
        ::RegDeleteValueA(key, "VellmoranD");
    else
        ::RegSetValueExA(key, "VellmoranD", 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                         static_cast<DWORD>(bytes.size()));
    ::RegCloseKey(key);
}

std::string ExpectedRunData()
{
    char directory[MAX_PATH];
    GetExecutableDirectory(directory);
    return std::string(directory) + "\\VellmoranD.exe";
}

std::vector<HWND> DaemonWindows()
{
    std::vector<HWND> windows;
    ::EnumWindows(CollectDaemonWindow, reinterpret_cast<LPARAM>(&windows));
    return windows;
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
        if (HANDLE process = ::OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, DaemonProcess(window))) {
            ::TerminateProcess(process, 0);
            ::WaitForSingleObject(process, 5000);
            ::CloseHandle(process);
        }
    }
    WaitUntil([] { return DaemonWindows().empty(); }, 5000);
}
