#include "tests/panel/PanelHelpers.h"

#include "tests/support/GuiDriver.h"

#include <shlwapi.h>

namespace {
const char kRunKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";

struct Search {
    const char* title;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectTitled(HWND hWnd, LPARAM lParam)
{
    Search* search = reinterpret_cast<Search*>(lParam);
    char title[64] = "";
    ::GetWindowTextA(hWnd, title, sizeof(title));
    if (std::string(title) == search->title)
        search->found.push_back(hWnd);
    return TRUE;
}
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

std::vector<HWND> WindowsTitled(const char* title)
{
    Search search = {title, {}};
    ::EnumWindows(CollectTitled, reinterpret_cast<LPARAM>(&search));
    return search.found;
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
        ::WaitForSingleObject(process, 5000);
        ::CloseHandle(process);
    }
    WaitUntil([] { return DaemonWindows().empty(); }, 5000);
}
