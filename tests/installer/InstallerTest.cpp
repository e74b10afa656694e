// The setup program and its uninstaller, run silently as an administrator's
// deployment tool would, into folders of their own in the test prefix.
#include "tests/support/GuiDriver.h"
#include "tests/support/SettingsFile.h"

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
std::string Built(const char* name) { return ExecutableDirectory() + "\\..\\bin\\" + name; }
const std::string kDouble = ExecutableDirectory() + "\\VellmoranD.exe";

std::string Contents(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return file ? std::string(std::istreambuf_iterator<char>(file), {}) : "<missing>";
}
// Compared without printing: a difference in an executable would fill the log.
bool Same(const std::string& path, const std::string& other) { return Contents(path) == Contents(other); }
bool Exists(const std::string& path) { return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// A value's bytes under HKLM (a text without its terminator), "<missing>" if there is none.
std::string Value(const char* key, const char* name)
{
    char data[1024];
    DWORD size = sizeof(data), type = 0;
    LSTATUS status = ::SHGetValueA(HKEY_LOCAL_MACHINE, key, name, &type, data, &size);
    return status ? "<missing>" : std::string(data, type == REG_SZ && size ? size - 1 : size);
}
void SetRunValue(const std::string& data) { ::SHSetValueA(HKEY_LOCAL_MACHINE, kRunKey, "VellmoranD", REG_SZ, data.c_str(), DWORD(data.size() + 1)); }
std::string Shortcut()
{
    char programs[MAX_PATH] = "";
    ::SHGetFolderPathA(nullptr, CSIDL_COMMON_PROGRAMS, nullptr, 0, programs);
    return std::string(programs) + "\\Vellmoran Control Panel.lnk";
}

HANDLE Start(std::string commandLine)
{
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    ::CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process);
    ::CloseHandle(process.hThread);
    return process.hProcess;
}
// The exit code; a process that hangs (on a message box, say) is ended and gives STILL_ACTIVE.
DWORD Run(const std::string& commandLine)
{
    HANDLE process = Start(commandLine);
    DWORD code = STILL_ACTIVE;
    if (::WaitForSingleObject(process, kHangGuardMs) != WAIT_OBJECT_0)
        ::TerminateProcess(process, STILL_ACTIVE);
    ::GetExitCodeProcess(process, &code);
    return code;
}
DWORD Install(const std::string& folder) { return Run("\"" + Built("Vellmoran-1.02-setup.exe") + "\" /S /D=" + folder); }
// The quiet uninstaller returns at once and works on from a copy of itself, which removes its key last.
bool Uninstall()
{
    Run(Value(kUninstallKey, "QuietUninstallString"));
    return WaitUntil([] { return Value(kUninstallKey, "DisplayName") == "<missing>"; }, kHangGuardMs);
}
bool Shows(const char* title) { return WaitUntil([title] { return WindowsTitled(title).size() == 1; }, 60000); }
// Starts the double from the install folder, where the panel would start the daemon.
HANDLE StartDaemon(const std::string& daemon, const char* ignoreClose)
{
    ::CopyFileA(kDouble.c_str(), daemon.c_str(), FALSE);
    ::SetEnvironmentVariableA("VELLMORAN_DAEMON_IGNORE_CLOSE", ignoreClose);
    HANDLE process = Start("\"" + daemon + "\"");
    ::SetEnvironmentVariableA("VELLMORAN_DAEMON_IGNORE_CLOSE", nullptr);
    EXPECT_TRUE(Shows("V3LLM0R4ND"));
    return process;
}
}  // namespace

TEST(Installer, InstallsUpgradesOverARunningDaemonAndUninstalls)
{
    const std::string folder = "C:\\Program Files\\Vellmoran Test", panel = folder + "\\Vellmoran.exe",
                      daemon = folder + "\\VellmoranD.exe", settings = folder + "\\Vellmoran.bin";
    for (const std::string& left : {panel, daemon, settings, folder + "\\VellmoranD.log", Shortcut()})
        ::DeleteFileA(left.c_str());
    ::SHDeleteKeyA(HKEY_LOCAL_MACHINE, kUninstallKey);
    ASSERT_TRUE(WindowsTitled("V3LLM0R4ND").empty());  // no daemon left by other tests

    ASSERT_EQ(0u, Install(folder));
    EXPECT_TRUE(Same(Built("Vellmoran.exe"), panel) && Same(Built("VellmoranD.exe"), daemon));
    const std::pair<const char*, std::string> values[] = {
        {"DisplayName", "Vellmoran 1.02"}, {"DisplayVersion", "1.02"}, {"DisplayIcon", panel + ",0"}, {"InstallLocation", folder},
        {"UninstallString", "\"" + folder + "\\Uninstall.exe\""}, {"QuietUninstallString", "\"" + folder + "\\Uninstall.exe\" /S"},
        {"NoModify", std::string("\1\0\0\0", 4)}, {"NoRepair", std::string("\1\0\0\0", 4)}};
    for (const auto& [name, expected] : values)
        EXPECT_EQ(expected, Value(kUninstallKey, name)) << name;
    DWORD estimatedKb = *reinterpret_cast<const DWORD*>(Value(kUninstallKey, "EstimatedSize").data());
    EXPECT_GE(estimatedKb, (Contents(panel).size() + Contents(daemon).size()) / 1024);
    EXPECT_TRUE(Exists(Shortcut()));
    HANDLE installedPanel = Start("\"" + panel + "\"");
    EXPECT_TRUE(Shows("Vellmoran v1.02 - Control Panel"));
    ::PostMessageA(::FindWindowA(nullptr, "Vellmoran v1.02 - Control Panel"), WM_CLOSE, 0, 0);
    EXPECT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(installedPanel, kHangGuardMs));

    // An upgrade keeps what the user set, and first stops the daemon that runs from the folder.
    const std::string userSettings = SettingsRecordBytes("m_nDelay", "7") + SettingsRecordBytes("m_csCode", "\x7f\x01");
    std::ofstream(settings, std::ios::binary) << userSettings;
    SetRunValue(daemon);
    HANDLE runningDaemon = StartDaemon(daemon, nullptr);
    ASSERT_EQ(0u, Install(folder));
    EXPECT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(runningDaemon, kHangGuardMs));
    EXPECT_TRUE(Same(Built("VellmoranD.exe"), daemon));
    EXPECT_EQ(userSettings, Contents(settings));
    EXPECT_EQ(daemon, Value(kRunKey, "VellmoranD"));

    // A daemon that stays: setup gives up, without a message box to wait on, before it changes a file.
    std::ofstream(panel, std::ios::binary) << "an older panel";
    HANDLE stuckDaemon = StartDaemon(daemon, "1");
    DWORD asked = ::GetTickCount();
    EXPECT_EQ(2u, Install(folder));  // aborted by setup, not waiting on a message box
    EXPECT_GE(::GetTickCount() - asked, 10000u);  // after the daemon's ten seconds
    EXPECT_TRUE(Contents(panel) == "an older panel" && Same(kDouble, daemon));
    ::TerminateProcess(stuckDaemon, 0);
    ASSERT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(stuckDaemon, kHangGuardMs));

    ASSERT_TRUE(Uninstall());
    for (const std::string& gone : {panel, daemon, folder + "\\Uninstall.exe", Shortcut()})
        EXPECT_FALSE(Exists(gone)) << gone;
    EXPECT_EQ("<missing>", Value(kRunKey, "VellmoranD"));
    EXPECT_EQ(userSettings, Contents(settings));

    // The Run value of another copy, in a folder whose name begins the same, stays; an empty folder goes.
    const std::string other = folder + " 2", otherCopy = folder + " 2 copy\\VellmoranD.exe";
    ASSERT_EQ(0u, Install(other));
    SetRunValue(otherCopy);
    ASSERT_TRUE(Uninstall());
    EXPECT_EQ(otherCopy, Value(kRunKey, "VellmoranD"));
    EXPECT_FALSE(Exists(other));
    ::SHDeleteValueA(HKEY_LOCAL_MACHINE, kRunKey, "VellmoranD");
}

TEST(Installer, ProgramsDeclareTheirRightsAndSystems)
{
    for (const auto& [name, level] : {std::pair("Vellmoran.exe", "requireAdministrator"), {"VellmoranD.exe", "asInvoker"}}) {
        HMODULE module = ::LoadLibraryExA(Built(name).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        HRSRC resource = ::FindResourceA(module, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));
        ASSERT_TRUE(resource) << name;
        std::string xml(static_cast<const char*>(::LockResource(::LoadResource(module, resource))),
                        ::SizeofResource(module, resource));
        EXPECT_NE(std::string::npos, xml.find(std::string("level=\"") + level + "\"")) << name;
        EXPECT_NE(std::string::npos, xml.find("<supportedOS Id=\"{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}\"/>")) << name;
        EXPECT_EQ(std::string::npos, xml.find("Common-Controls")) << name;
    }
    // The tests share the panel's dialogs, not its request for elevation.
    EXPECT_FALSE(::FindResourceA(nullptr, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24)));
}
