#include "panel/ExecutableDirectory.h"
#include "tests/support/GuiDriver.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {
BOOL CALLBACK CollectPanel(HWND hWnd, LPARAM lParam)
{
    char title[64] = "";
    ::GetWindowTextA(hWnd, title, sizeof(title));
    if (std::string(title) == "Vellmoran v1.02 - Control Panel" && ::IsWindowVisible(hWnd))
        reinterpret_cast<std::vector<HWND>*>(lParam)->push_back(hWnd);
    return TRUE;
}

std::vector<HWND> Panels()
{
    std::vector<HWND> panels;
    ::EnumWindows(CollectPanel, reinterpret_cast<LPARAM>(&panels));
    return panels;
}

// Starts the control panel from a working directory of its own choosing, as
// a shortcut or a console elsewhere would.
HANDLE StartPanel(const char* workingDirectory, const char* arguments)
{
    char directory[MAX_PATH];
    GetExecutableDirectory(directory);
    std::string commandLine = std::string("\"") + directory + "\\Vellmoran.exe\" " + arguments;
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    if (!::CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, workingDirectory,
                          &startup, &process))
        return nullptr;
    ::CloseHandle(process.hThread);
    return process.hProcess;
}
}  // namespace

TEST(Application, EveryCopyShowsAPanelAndEndsWhenItCloses)
{
    HANDLE first = StartPanel("C:\\windows", "");
    ASSERT_NE(nullptr, first);
    ASSERT_TRUE(WaitUntil([] { return Panels().size() == 1; }, 15000));
    // A second copy does not notice the first; arguments change nothing.
    HANDLE second = StartPanel("C:\\", "/quit --help");
    ASSERT_NE(nullptr, second);
    ASSERT_TRUE(WaitUntil([] { return Panels().size() == 2; }, 15000));

    for (HWND panel : Panels())
        ::PostMessageA(panel, WM_COMMAND, IDCANCEL, 0);
    for (HANDLE process : {first, second}) {
        EXPECT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(process, 10000));
        DWORD exitCode = STILL_ACTIVE;
        ::GetExitCodeProcess(process, &exitCode);
        EXPECT_EQ(0u, exitCode);
        ::CloseHandle(process);
    }
}
