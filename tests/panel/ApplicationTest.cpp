#include "res/resource.h"
#include "tests/panel/PanelHelpers.h"
#include "tests/support/GuiDriver.h"
#include "tests/support/SettingsFile.h"

#include <gtest/gtest.h>

#include <winternl.h>

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
// Another process's current directory, from its process parameters.
std::string CurrentDirectoryOf(DWORD processId)
{
    HANDLE process = ::OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId);
    PROCESS_BASIC_INFORMATION basic = {};
    ULONG got = 0;
    ::NtQueryInformationProcess(process, ProcessBasicInformation, &basic, sizeof(basic), &got);
    char* parameters = nullptr;  // the process parameters' address, then the directory's length and address
    struct { USHORT length, maximum; wchar_t* buffer; } directory = {};
    ::ReadProcessMemory(process, reinterpret_cast<char*>(basic.PebBaseAddress) + 0x10, &parameters, sizeof(parameters), nullptr);
    ::ReadProcessMemory(process, parameters + 0x24, &directory, sizeof(directory), nullptr);
    std::wstring text(directory.length / 2, L'\0');
    ::ReadProcessMemory(process, directory.buffer, &text[0], directory.length, nullptr);
    ::CloseHandle(process);
    return std::string(text.begin(), text.end());
}
}  // namespace

TEST(Application, EveryCopyHasAPanel)
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

// Started from elsewhere, the panel starts the daemon in its own directory.
TEST(Application, CurrentDirectory)
{
    EndAllDaemons();
    HANDLE panel = StartPanel("C:\\windows", "");
    ASSERT_TRUE(WaitUntil([] { return Panels() == 1; }, kProcessGuardMs));
    UserClick(WindowsTitled("Vellmoran v1.02 - Control Panel")[0], IDC_START);
    ASSERT_TRUE(WaitUntil([] { return !DaemonWindows().empty(); }, kProcessGuardMs));
    EXPECT_EQ(ExecutableDirectory() + "\\", CurrentDirectoryOf(DaemonProcess(DaemonWindows()[0])));
    UserClick(WindowsTitled("Vellmoran v1.02 - Control Panel")[0], IDCANCEL);
    EXPECT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(panel, kProcessGuardMs));
    ::TerminateProcess(panel, 1);
    ::CloseHandle(panel);
    EndAllDaemons();
}
