#include "panel/ControlPanelDlg.h"
#include "panel/Daemon.h"
#include "settings/SettingsStore.h"
#include "tests/panel/PanelHelpers.h"

#include <gtest/gtest.h>

// The DISABLED_ cases run only in a copy of this program that the first case
// places in an awkward folder.
namespace {
// The build's directory, plain ASCII here.
std::wstring Bin()
{
    std::string bin = ExecutableDirectory();
    return std::wstring(bin.begin(), bin.end());
}

// Runs one DISABLED_ case in a copy of this program in a new folder; true if
// it passed and left nothing behind in the folder.
bool PassesFrom(const std::wstring& folder, const std::wstring& test)
{
    wchar_t self[MAX_PATH];
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring copy = folder + L"\\P.exe", line = L"P --gtest_also_run_disabled_tests --gtest_filter=*DISABLED_" + test;
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    DWORD exitCode = 1;
    ::CreateDirectoryW(folder.c_str(), nullptr);
    if (::CopyFileW(self, copy.c_str(), FALSE) && ::CreateProcessW(copy.c_str(), &line[0], nullptr, nullptr, FALSE, 0,
                                                                   nullptr, folder.c_str(), &startup, &process)) {
        ::WaitForSingleObject(process.hProcess, 120000);
        ::TerminateProcess(process.hProcess, 1);  // a copy that hangs fails
        ::GetExitCodeProcess(process.hProcess, &exitCode);
    }
    ::DeleteFileW(copy.c_str());
    return ::RemoveDirectoryW(folder.c_str()) && exitCode == 0;
}

// The panel, whose box must show clear, with the buttons clicked in turn;
// what its message boxes said.
std::vector<std::string> RunPanel(std::vector<int> clicks)
{
    MessageBoxWatcher watcher(IDOK);
    ModalScript script({ModalScript::Do([&] {
                           HWND panel = FindThreadDialog("Vellmoran v1.02 - Control Panel");
                           EXPECT_EQ(BST_UNCHECKED, ::IsDlgButtonChecked(panel, IDC_LAUNCH_ON_STARTUP));
                           // Sent, so that each click's message box has come and gone before the next.
                           for (int id : clicks) {
                               EXPECT_EQ("", WhyUnclickable(::GetDlgItem(panel, id)));
                               ::SendDlgItemMessageA(panel, id, BM_CLICK, 0, 0);
                           }
                       })},
                       60000);
    CControlPanelDlg().DoModal();
    return watcher.Texts();
}
}  // namespace

TEST(InstallFolder, CopiesInAwkwardFoldersSayWhatFailedAndWriteNoDamagedPath)
{
    EndAllDaemons();
    SetRunValue("");
    // 245 characters leave no room for the Run value, and no daemon lies
    // beside the copy: its OK stops the running one and cannot start another.
    ASSERT_TRUE(LaunchDaemon());
    ASSERT_TRUE(WaitUntil([] { return !DaemonWindows().empty(); }, 10000));
    EXPECT_TRUE(PassesFrom(Bin() + L"\\" + std::wstring(244 - Bin().size(), L'd'), L"FolderTooLong"));
    EXPECT_TRUE(DaemonWindows().empty());
    EXPECT_EQ("", RunValue());

    // The code page turns this name into question marks, which an ANSI path
    // would store in the Run value and then read back as a match.
    std::wstring odd = Bin() + L"\\\u65E5\u672C \u2713 dir";
    std::string damaged(MAX_PATH, '\0');
    damaged.resize(::WideCharToMultiByte(CP_ACP, 0, odd.c_str(), -1, &damaged[0], MAX_PATH, nullptr, nullptr) - 1);
    SetRunValue(damaged += std::string("\\VellmoranD.exe") + '\0');
    EXPECT_TRUE(PassesFrom(odd, L"UnusableFolder"));
    EXPECT_EQ(damaged, RunValue());
    SetRunValue("");
}

TEST(InstallFolder, DISABLED_FolderTooLong)
{
    EXPECT_EQ((std::vector<std::string>{
                  "The \"Launch on Startup\" setting could not be changed.\n\nThe path of the program's folder is too long.",
                  "Vellmoran was stopped and could not be started again, so the screen lock is off.\n\nThe file "
                  "VellmoranD.exe is missing from the program's folder."}),
              RunPanel({IDC_LAUNCH_ON_STARTUP, IDOK}));
}

TEST(InstallFolder, DISABLED_UnusableFolder)
{
    ASSERT_FALSE(AfxModulePathFitsCodePage());
    // Start and "Stop && Configure" refuse, OK leaves the Run value alone,
    // and the settings store writes nowhere.
    std::vector<std::string> texts = RunPanel({IDC_START, IDC_STOP_AND_CONFIGURE, IDC_LAUNCH_ON_STARTUP, IDOK});
    ASSERT_EQ(3u, texts.size());
    for (const std::string& text : texts)
        EXPECT_NE(std::string::npos, text.find("Move Vellmoran to a folder whose name uses only characters of the "
                                               "system's code page."));
    EXPECT_EQ(0, CSettingsStore("Vellmoran.bin").WriteString("m_nDelay", "5"));
}
