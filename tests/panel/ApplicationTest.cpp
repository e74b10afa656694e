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

std::string InstalledFile(const char* name)
{
    char directory[MAX_PATH];
    GetExecutableDirectory(directory);
    return std::string(directory) + "\\" + name;
}

// Starts the control panel from a working directory of its own choosing, as
// a shortcut or a console elsewhere would.
HANDLE StartPanel(const char* workingDirectory, const char* arguments)
{
    std::string commandLine = "\"" + InstalledFile("Vellmoran.exe") + "\" " + arguments;
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

TEST(Application, BothExecutablesCarryVersionOnePointZeroTwo)
{
    for (const char* name : {"Vellmoran.exe", "VellmoranD.exe"}) {
        SCOPED_TRACE(name);
        std::string path = InstalledFile(name);
        DWORD size = ::GetFileVersionInfoSizeA(path.c_str(), nullptr);
        ASSERT_NE(0u, size);
        std::vector<char> info(size);
        ASSERT_TRUE(::GetFileVersionInfoA(path.c_str(), 0, size, info.data()));
        VS_FIXEDFILEINFO* fixed = nullptr;
        UINT length = 0;
        ASSERT_TRUE(::VerQueryValueA(info.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
        EXPECT_EQ(MAKELONG(2, 1), fixed->dwFileVersionMS);
        char* text = nullptr;
        ASSERT_TRUE(::VerQueryValueA(info.data(), "\\StringFileInfo\\040904b0\\FileVersion",
                                     reinterpret_cast<void**>(&text), &length));
        EXPECT_STREQ("1.02", text);
        ASSERT_TRUE(::VerQueryValueA(info.data(), "\\StringFileInfo\\040904b0\\OriginalFilename",
                                     reinterpret_cast<void**>(&text), &length));
        EXPECT_STREQ(name, text);
    }
}
