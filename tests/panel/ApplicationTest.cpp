#include "tests/panel/PanelHelpers.h"
#include "tests/support/GuiDriver.h"
#include "tests/support/SettingsFile.h"

#include <gtest/gtest.h>

namespace {
// The panels shown, not those still being built.
size_t Panels()
{
    size_t shown = 0;
    for (HWND panel : WindowsTitled("Vellmoran v1.02 - Control Panel"))
        shown += ::IsWindowVisible(panel) != FALSE;
    return shown;
}

// Starts the control panel from a working directory elsewhere, as a shortcut
// or a console would.
HANDLE StartPanel(const char* workingDirectory, const char* arguments)
{
    std::string commandLine = "\"" + ExecutableDirectory() + "\\Vellmoran.exe\" " + arguments;
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
    ASSERT_TRUE(WaitUntil([] { return Panels() == 1; }, kProcessGuardMs));
    // A second copy does not notice the first; arguments change nothing.
    HANDLE second = StartPanel("C:\\", "/quit --help");
    ASSERT_TRUE(WaitUntil([] { return Panels() == 2; }, kProcessGuardMs));
    for (HWND panel : WindowsTitled("Vellmoran v1.02 - Control Panel"))
        UserClick(panel, IDCANCEL);
    for (HANDLE process : {first, second}) {
        EXPECT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(process, kProcessGuardMs));
        ::TerminateProcess(process, 1);  // after a failure, so that no panel stays behind
        ::CloseHandle(process);
    }
}
