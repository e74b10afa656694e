#include "panel/ExecutableDirectory.h"
#include "tests/support/GuiDriver.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {
BOOL CALLBACK CountPanel(HWND hWnd, LPARAM lParam)
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
    ::EnumWindows(CountPanel, reinterpret_cast<LPARAM>(&panels));
    return panels;
}

std::string Beside(const char* name)
{
    char directory[MAX_PATH];
    GetExecutableDirectory(directory);
    return std::string(directory) + "\\" + name;
}

// Starts the control panel from a working directory elsewhere, as a shortcut
// or a console would.
HANDLE StartPanel(const char* workingDirectory, const char* arguments)
{
    std::string commandLine = "\"" + Beside("Vellmoran.exe") + "\" " + arguments;
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    ::CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, workingDirectory, &startup,
                     &process);
    ::CloseHandle(process.hThread);
    return process.hProcess;
}
}  // namespace

TEST(Application, EveryCopyShowsAPanelAndEndsWhenItCloses)
{
    HANDLE first = StartPanel("C:\\windows", "");
    ASSERT_TRUE(WaitUntil([] { return Panels().size() == 1; }, 15000));
    // A second copy does not notice the first; arguments change nothing.
    HANDLE second = StartPanel("C:\\", "/quit --help");
    ASSERT_TRUE(WaitUntil([] { return Panels().size() == 2; }, 15000));
    for (HWND panel : Panels())
        ::PostMessageA(panel, WM_COMMAND, IDCANCEL, 0);
    for (HANDLE process : {first, second}) {
        EXPECT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(process, 10000));
        ::CloseHandle(process);
    }
}

TEST(Application, BothExecutablesCarryVersionOnePointZeroTwo)
{
    for (const char* name : {"Vellmoran.exe", "VellmoranD.exe"}) {
        std::string path = Beside(name);
        std::vector<char> info(::GetFileVersionInfoSizeA(path.c_str(), nullptr) + 1);
        ASSERT_TRUE(::GetFileVersionInfoA(path.c_str(), 0, static_cast<DWORD>(info.size()), info.data())) << name;
        char* text = nullptr;
        UINT length = 0;
        ASSERT_TRUE(::VerQueryValueA(info.data(), "\\StringFileInfo\\040904b0\\FileVersion",
                                     reinterpret_cast<void**>(&text), &length));
        EXPECT_STREQ("1.02", text) << name;
    }
}
