// The setup program and its uninstaller, run silently as an administrator's
// deployment tool would, into a folder of their own in the test prefix.
#include "framework/Wnd.h"
#include "tests/support/GuiDriver.h"
#include "tests/support/SettingsFile.h"
#include "wizard/WizardSettings.h"

#include <shlobj.h>
#include <shlwapi.h>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

namespace {
const char kUninstallKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Vellmoran";
const char kRunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const DWORD kHangGuardMs = 180000;

// The product lies beside the setup program in bin/; the daemon's double beside this test.
std::string Built(const char* name)
{
    return ExecutableDirectory() + "\\..\\bin\\" + name;
}
const std::string kDouble = ExecutableDirectory() + "\\VellmoranD.exe";

// "<missing>" for no such file. Compared without printing: a difference in an executable would fill
// the log.
std::string Contents(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return file ? std::string(std::istreambuf_iterator<char>(file), {}) : "<missing>";
}

// A value's bytes under HKLM (a text without its terminator), "<missing>" if there is none.
std::string Value(const char* key, const char* name)
{
    char data[1024];
    DWORD size = sizeof(data), type = 0;
    LSTATUS status = ::SHGetValueA(HKEY_LOCAL_MACHINE, key, name, &type, data, &size);
    return status ? "<missing>" : std::string(data, type == REG_SZ && size ? size - 1 : size);
}
void SetRunValue(const std::string& to)
{
    ::SHSetValueA(HKEY_LOCAL_MACHINE, kRunKey, "VellmoranD", REG_SZ, to.c_str(), to.size() + 1);
}

// The exit code; STILL_ACTIVE for a setup that hangs (on a message box, say).
DWORD ExitCode(const std::string& commandLine)
{
    return ExitCodeOf(StartProcess(commandLine));
}
}  // namespace

TEST(Installer, InstallUpgradeUninstall)
{
    char programs[MAX_PATH] = "";
    ::SHGetFolderPathA(nullptr, CSIDL_COMMON_PROGRAMS, nullptr, 0, programs);
    const std::string folder = "C:\\Program Files\\Vellmoran Test",
                      panel = folder + "\\Vellmoran.exe", daemon = folder + "\\VellmoranD.exe",
                      settings = folder + "\\Vellmoran.bin",
                      shortcut = programs + std::string("\\Vellmoran Control Panel.lnk"),
                      install = "\"" + Built("Vellmoran-1.02-setup.exe") + "\" /S /D=" + folder;
    for (const std::string& left : {panel, daemon, settings, shortcut})
        ::DeleteFileA(left.c_str());

    ASSERT_EQ(0u, ExitCode(install));
    EXPECT_TRUE(Contents(Built("Vellmoran.exe")) == Contents(panel)
                && Contents(Built("VellmoranD.exe")) == Contents(daemon));
    const std::pair<const char*, std::string> values[] = {
        {"DisplayName", "Vellmoran 1.02"},
        {"DisplayVersion", "1.02"},
        {"DisplayIcon", panel + ",0"},
        {"InstallLocation", folder},
        {"UninstallString", "\"" + folder + "\\Uninstall.exe\""},
        {"QuietUninstallString", "\"" + folder + "\\Uninstall.exe\" /S"},
        {"NoModify", std::string("\1\0\0\0", 4)},
        {"NoRepair", std::string("\1\0\0\0", 4)}};
    for (const auto& [name, expected] : values)
        EXPECT_EQ(expected, Value(kUninstallKey, name)) << name;
    EXPECT_NE("<missing>", Contents(shortcut));
    HANDLE installedPanel = StartProcess(panel);
    EXPECT_TRUE(WaitUntil([] { return ::FindWindowA(nullptr, "Vellmoran v1.02 - Control Panel"); },
                          kHangGuardMs));
    ::PostMessageA(::FindWindowA(nullptr, "Vellmoran v1.02 - Control Panel"), WM_CLOSE, 0, 0);
    EXPECT_NE(STILL_ACTIVE, ExitCodeOf(installedPanel));

    // A daemon running from the folder that stays makes setup give up, without a message box to
    // wait on, before it changes a file; one that goes is stopped first, and the upgrade keeps what
    // the user set.
    const std::string userSettings =
        SettingsRecordBytes("m_nDelay", "7") + SettingsRecordBytes("m_csCode", "\x7f\x01");
    std::ofstream(settings, std::ios::binary) << userSettings;
    for (DWORD ignoreClose : {1, 0}) {
        std::ofstream(panel, std::ios::binary) << "an older panel";
        ::CopyFileA(kDouble.c_str(), daemon.c_str(),
                    FALSE);  // where the panel would start the daemon
        ::SetEnvironmentVariableA("VELLMORAN_DAEMON_IGNORE_CLOSE", ignoreClose ? "1" : nullptr);
        HANDLE runningDaemon = StartProcess(daemon);
        EXPECT_TRUE(WaitUntil([] { return ::FindWindowA(nullptr, "V3LLM0R4ND"); }, kHangGuardMs));
        EXPECT_EQ(ignoreClose * 2, ExitCode(install));
        EXPECT_TRUE((Contents(panel) == "an older panel") == ignoreClose) << ignoreClose;
        EXPECT_TRUE(Contents(ignoreClose ? kDouble : Built("VellmoranD.exe")) == Contents(daemon))
            << ignoreClose;
        EXPECT_TRUE(userSettings == Contents(settings));
        ::TerminateProcess(runningDaemon, 0);
        ASSERT_EQ(0u, ExitCodeOf(runningDaemon));
    }

    // The quiet uninstaller returns at once and works on from a copy of itself, which removes its
    // key last. It removes the Run value that points into its folder, not one of another copy whose
    // folder begins the same.
    for (const std::string& runValue : {daemon, folder + " 2\\VellmoranD.exe"}) {
        ASSERT_EQ(0u, runValue == daemon ? 0 : ExitCode(install));
        SetRunValue(runValue);
        ExitCode(Value(kUninstallKey, "QuietUninstallString"));
        ASSERT_TRUE(WaitUntil([] { return Value(kUninstallKey, "DisplayName") == "<missing>"; },
                              kHangGuardMs));
        for (const std::string& gone : {panel, daemon, folder + "\\Uninstall.exe", shortcut})
            EXPECT_EQ("<missing>", Contents(gone)) << gone;
        EXPECT_EQ(runValue == daemon ? "<missing>" : runValue, Value(kRunKey, "VellmoranD"));
        EXPECT_TRUE(userSettings == Contents(settings));
    }
    ::SHDeleteValueA(HKEY_LOCAL_MACHINE, kRunKey, "VellmoranD");
}

namespace {
const char kSetup[] = "Vellmoran-1.02-setup.exe";
const char kUninstallTitle[] = "Vellmoran 1.02 Uninstall";

// What the wizard saves for these values, made by the wizard's own save.
std::string WizardSaves(const WizardSettings& settings)
{
    DeleteSettingsFile();
    SaveWizardSettings(settings);
    std::string bytes = ReadSettingsFile();
    DeleteSettingsFile();
    return bytes;
}

void QuietUninstall()
{
    ExitCode(Value(kUninstallKey, "QuietUninstallString"));
    ASSERT_TRUE(WaitUntil([] { return Value(kUninstallKey, "DisplayName") == "<missing>"; },
                          kHangGuardMs));
}

// The uninstaller's window, or one of its message boxes, that shows this text in a control a user
// could click. Their titles begin with the uninstaller's caption.
HWND UninstallWindowShowing(const std::string& text)
{
    for (HWND window = nullptr; (window = ::FindWindowExA(nullptr, window, nullptr, nullptr));) {
        if (AfxGetWindowText(window).rfind(kUninstallTitle, 0) != 0)
            continue;
        for (HWND c = ::GetWindow(window, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT))
            if (WhyUnclickable(c).empty() && AfxGetWindowText(c).find(text) != std::string::npos)
                return window;
    }
    return nullptr;
}
HWND WaitForUninstallWindow(const std::string& text)
{
    HWND found = nullptr;
    EXPECT_TRUE(WaitUntil([&] { return (found = UninstallWindowShowing(text)) != nullptr; },
                          kHangGuardMs))
        << text;
    return found;
}
}  // namespace

// A first install arms the key the panel's help names, PAUSE, and starts the daemon at log-on;
// neither overrides what a user has.
TEST(Installer, FirstInstallProtects)
{
    const std::string folder = "C:\\Program Files\\Vellmoran First",
                      settings = folder + "\\Vellmoran.bin",
                      install = "\"" + Built(kSetup) + "\" /S ", at = " /D=" + folder;
    const std::string firstSettings = WizardSaves({VK_PAUSE, 0, 0, 500, 5});
    ::SHDeleteValueA(HKEY_LOCAL_MACHINE, kRunKey, "VellmoranD");
    ::DeleteFileA(settings.c_str());

    ASSERT_EQ(0u, ExitCode(install + "/NOSTARTUP" + at));
    EXPECT_TRUE(firstSettings == Contents(settings));
    EXPECT_EQ("<missing>", Value(kRunKey, "VellmoranD"));
    QuietUninstall();
    std::ofstream(settings, std::ios::binary) << SettingsRecordBytes("m_nVirtualKey", "120");
    const std::string kept = Contents(settings);

    ASSERT_EQ(0u, ExitCode(install + at));  // fresh again: the programs went
    EXPECT_EQ(folder + "\\VellmoranD.exe", Value(kRunKey, "VellmoranD"));  // REG_SZ, as the panel
    EXPECT_TRUE(kept == Contents(settings));
    ::SHDeleteValueA(HKEY_LOCAL_MACHINE, kRunKey, "VellmoranD");
    ASSERT_EQ(0u, ExitCode(install + at));  // an upgrade
    EXPECT_EQ("<missing>", Value(kRunKey, "VellmoranD"));
    SetRunValue("C:\\Elsewhere\\VellmoranD.exe");
    ASSERT_EQ(0u, ExitCode(install + at));
    EXPECT_EQ("C:\\Elsewhere\\VellmoranD.exe", Value(kRunKey, "VellmoranD"));
    ::SHDeleteValueA(HKEY_LOCAL_MACHINE, kRunKey, "VellmoranD");

    // Kept settings: the uninstaller says where they stay.
    ::CloseHandle(StartProcess("\"" + folder + "\\Uninstall.exe\""));
    UserClick(WaitForUninstallWindow("&Uninstall"), IDOK);
    UserClick(WaitForUninstallWindow("Remove your Vellmoran settings"), IDNO);
    HWND keptBox = WaitForUninstallWindow("stay in");
    EXPECT_NE(nullptr, UninstallWindowShowing(settings + ".\r\n\r\nA new install in " + folder
                                              + " picks them up."));
    UserClick(keptBox, IDOK);
    UserClick(WaitForUninstallWindow("&Close"), IDOK);
    EXPECT_TRUE(WaitUntil([] { return Value(kUninstallKey, "DisplayName") == "<missing>"; },
                          kHangGuardMs));
    EXPECT_TRUE(kept == Contents(settings));
    ::DeleteFileA(settings.c_str());
    ::RemoveDirectoryA(folder.c_str());
}
