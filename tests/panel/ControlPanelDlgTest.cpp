#include "panel/ControlPanelDlg.h"
#include "panel/Daemon.h"
#include "panel/ExecutableDirectory.h"
#include "panel/LaunchOnStartup.h"
#include "settings/SettingsStore.h"
#include "tests/support/GuiDriver.h"
#include "tests/support/MessageLog.h"
#include "tests/support/SettingsFile.h"

#include <gtest/gtest.h>
#include <shlwapi.h>

#include <algorithm>

// The panel runs in this process, except where it is started from elsewhere
// as Vellmoran.exe, or where a copy of this program runs the DISABLED_ cases
// from an awkward folder.
namespace {
using Step = ModalScript::Step;
const char kRunKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";

// The daemon's Run value, read and written behind the panel's back; an empty
// text means no value.
std::string RunValue()
{
    char buffer[1024];
    DWORD size = sizeof(buffer);
    bool found = ::SHGetValueA(HKEY_LOCAL_MACHINE, kRunKey, "VellmoranD", nullptr, buffer, &size)
                 == ERROR_SUCCESS;
    return std::string(buffer, found ? size : 0);
}

void SetRunValue(const std::string& bytes, DWORD type = REG_SZ)
{
    ::SHDeleteValueA(HKEY_LOCAL_MACHINE, kRunKey, "VellmoranD");
    if (!bytes.empty())
        ::SHSetValueA(HKEY_LOCAL_MACHINE, kRunKey, "VellmoranD", type, bytes.data(),
                      static_cast<DWORD>(bytes.size()));
}

std::vector<HWND> DaemonWindows()
{
    return WindowsTitled("V3LLM0R4ND");
}

HWND Panel()
{
    return FindThreadDialog("Vellmoran v1.02 - Control Panel");
}

Step StatusBecomes(std::string text)
{
    return [text] {
        char shown[64] = "";
        return ::GetDlgItemTextA(Panel(), IDC_STATUS, shown, sizeof(shown)) && text == shown;
    };
}
Step Click(int id)
{
    return ModalScript::Do([id] { UserClick(Panel(), id); });
}
Step DaemonCount(size_t count)
{
    return [count] { return DaemonWindows().size() == count; };
}
Step BoxIs(UINT state)
{
    return [state] { return ::IsDlgButtonChecked(Panel(), IDC_LAUNCH_ON_STARTUP) == state; };
}
Step BoxClear()
{
    return ModalScript::Do([] { EXPECT_TRUE(BoxIs(BST_UNCHECKED)()); });
}

INT_PTR RunPanel(std::vector<Step> steps)
{
    ModalScript script(std::move(steps));
    return CControlPanelDlg().DoModal();
}

// The handles this process holds (Wine's GetProcessHandleCount counts none).
DWORD HandleCount()
{
    DWORD count = 0, flags;
    for (UINT_PTR handle = 4; handle < 0x10000; handle += 4)
        count += ::GetHandleInformation(reinterpret_cast<HANDLE>(handle), &flags) != FALSE;
    return count;
}

// The current directory that the daemon double found when it started.
std::string StartedIn(HWND daemon)
{
    char directory[MAX_PATH] = "";
    auto atom = static_cast<ATOM>(reinterpret_cast<UINT_PTR>(::GetPropA(daemon, "StartedIn")));
    return std::string(directory, ::GlobalGetAtomNameA(atom, directory, MAX_PATH));
}

// Runs one DISABLED_ case in a copy of this program in a new folder, which
// is also its current directory; true if it passed and left nothing behind.
bool PassesFrom(const std::wstring& folder, const std::wstring& test)
{
    wchar_t self[MAX_PATH];
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    const std::wstring copy = folder + L"\\P.exe";
    ::CreateDirectoryW(folder.c_str(), nullptr);
    bool passed =
        ::CopyFileW(self, copy.c_str(), FALSE)
        && ExitCodeOf(StartProcess(L"\"" + copy + L"\" --gtest_also_run_disabled_tests "
                                                      L"--gtest_filter=*DISABLED_" + test, folder))
               == 0;
    ::DeleteFileW(copy.c_str());
    return ::RemoveDirectoryW(folder.c_str()) && passed;
}

// Ends every daemon stand-in, also one that ignores WM_CLOSE, and clears the
// Run value.
class ControlPanel : public ::testing::Test {
protected:
    void SetUp() override { TearDown(); }
    void TearDown() override
    {
        ::SetEnvironmentVariableA("VELLMORAN_DAEMON_IGNORE_CLOSE", nullptr);
        for (HWND window : DaemonWindows()) {
            DWORD processId = 0;
            ::GetWindowThreadProcessId(window, &processId);
            HANDLE process = ::OpenProcess(PROCESS_TERMINATE, FALSE, processId);
            ::TerminateProcess(process, 0);
            ::CloseHandle(process);
        }
        WaitUntil([] { return DaemonWindows().empty(); }, kProcessGuardMs);
        SetRunValue("");
    }
};
}  // namespace

// Each click starts another daemon, and the panel keeps no handle of one.
// The status text is set when the daemon comes or goes, never on the other
// ticks; a busy machine only ever delays a tick, so the smallest gap between
// ticks shows the period.
TEST_F(ControlPanel, StartStopAndStatus)
{
    g_bStatusActive = 0;  // the status a fresh process starts with
    MessageLog log([](HWND w) { return w == Panel() || ::GetDlgCtrlID(w) == IDC_STATUS; },
                   {WM_TIMER, WM_SETTEXT});
    auto ticks = [&log] { return std::ranges::count(log.Sequence(), UINT(WM_TIMER)); };
    DWORD handles = 0;  // once the first start has made what every start needs
    long ticksWhenOn = 0, ticksWhenOff = 0;
    RunPanel({ModalScript::Do([] { EXPECT_EQ(::GetDlgItem(Panel(), IDOK), ::GetFocus()); }),
              Click(IDC_START),
              DaemonCount(1),
              ModalScript::Do([&] { handles = HandleCount(); }),
              Click(IDC_START),
              Click(IDC_START),
              DaemonCount(3),
              StatusBecomes("Vellmoran is ACTIVE"),
              ModalScript::Do([&] { ticksWhenOn = ticks(); }),
              [&] { return ticks() >= ticksWhenOn + 2; },
              Click(IDC_STOP),
              DaemonCount(2),
              Click(IDC_STOP),
              DaemonCount(1),
              Click(IDC_STOP),
              DaemonCount(0),
              StatusBecomes("Vellmoran is OFF"),
              ModalScript::Do([&] { ticksWhenOff = ticks(); }),
              [&] { return ticks() >= ticksWhenOff + 2; },
              Click(IDCANCEL)});
    EXPECT_LT(HandleCount(), handles + 2) << "before: " << handles;
    DWORD smallest = ~0u, last = 0;
    for (const MessageLog::Entry& e : log.Entries()) {
        if (e.message == WM_TIMER) {
            smallest = std::min(smallest, e.time - last);
            last = e.time;
        }
    }
    EXPECT_EQ("", log.Differences({WM_SETTEXT, WM_SETTEXT}, {WM_SETTEXT}));  // ACTIVE, then OFF
    EXPECT_LT(smallest, 5000u) << "the status is refreshed about once a second";
}

// Only OK applies the box, which shows a value naming another directory as
// clear. OK replaces a running daemon, even with nothing changed, and starts
// none when none ran.
TEST_F(ControlPanel, OKApplies)
{
    const std::string other = std::string("C:\\Elsewhere\\VellmoranD.exe") + '\0';
    SetRunValue(other);
    EXPECT_EQ(IDCANCEL, RunPanel({BoxClear(), Click(IDC_LAUNCH_ON_STARTUP),
                                  BoxIs(BST_CHECKED),  // Escape cancels.
                                  ModalScript::Do([] {
                                      ::PostMessageA(::GetFocus(), WM_KEYDOWN, VK_ESCAPE, 0);
                                  })}));
    EXPECT_EQ(other, RunValue());
    RunPanel({Click(IDOK)});
    EXPECT_EQ("", RunValue());
    PumpMessages(1500);  // no daemon may start: only a wait shows an absence
    EXPECT_TRUE(DaemonWindows().empty());

    HWND before = nullptr;
    EXPECT_EQ(IDOK, RunPanel({Click(IDC_START), DaemonCount(1),
                              ModalScript::Do([&] { before = DaemonWindows()[0]; }),
                              Click(IDC_LAUNCH_ON_STARTUP), Click(IDOK)}));
    EXPECT_EQ(ExecutableDirectory() + "\\VellmoranD.exe" + '\0', RunValue());
    ASSERT_TRUE(
        WaitUntil([&] { return DaemonWindows().size() == 1 && DaemonWindows()[0] != before; },
                  kProcessGuardMs));
    PumpMessages(500);  // no second daemon may follow: only a wait shows an absence
    EXPECT_EQ(1u, DaemonWindows().size());
}

// A user waits for a daemon that does not stop at most half a minute; then
// the panel says why there is no new daemon and closes.
TEST_F(ControlPanel, OKGivesUpOnAStuckDaemon)
{
    ::SetEnvironmentVariableA("VELLMORAN_DAEMON_IGNORE_CLOSE", "1");
    MessageBoxWatcher watcher(IDOK);
    HWND before = nullptr;
    DWORD clicked = 0;
    EXPECT_EQ(IDOK, RunPanel({Click(IDC_START), DaemonCount(1), ModalScript::Do([&] {
                                  before = DaemonWindows()[0];
                                  clicked = ::GetTickCount();
                                  UserClick(Panel(), IDOK);
                              })}));
    EXPECT_LT(::GetTickCount() - clicked, 30000u);
    EXPECT_EQ(std::vector<std::string>{"The lock daemon did not stop, so it was not restarted."},
              watcher.Texts());
    EXPECT_EQ(::LoadCursorA(nullptr, IDC_ARROW), ::GetCursor());
    PumpMessages(1000);  // no new daemon may start: only a wait shows an absence
    EXPECT_EQ(std::vector<HWND>{before}, DaemonWindows());
}

// Only the whole path of this program's daemon counts, byte for byte.
TEST_F(ControlPanel, RunValueWholePath)
{
    const std::string path = ExecutableDirectory() + "\\VellmoranD.exe";
    std::string upper = path;
    std::ranges::transform(upper, upper.begin(), ::toupper);
    const struct {
        std::string bytes;
        DWORD type;
        bool matches;
    } stored[] = {
        {"", REG_SZ, false},  // no value
        {path + '\0', REG_SZ, true},
        {"C:\\Elsewhere\\VellmoranD.exe" + std::string(1, '\0'), REG_SZ, false},
        {upper + '\0', REG_SZ, false},
        // Empty, or cut short: a prefix of the path is not the path.
        {std::string(1, '\0'), REG_SZ, false},
        {path.substr(0, path.size() - 4) + '\0', REG_SZ, false},
        // Too long for the query's 260-byte buffer.
        {path + std::string(300, ' ') + '\0', REG_SZ, false},
        // The type is not examined, and the text may lack its terminator.
        {path, REG_EXPAND_SZ, true},
    };
    for (const auto& s : stored) {
        SetRunValue(s.bytes, s.type);
        EXPECT_EQ(s.matches, IsLaunchOnStartup("VellmoranD.dll") != FALSE) << s.bytes;
    }
}

// Started from elsewhere, as a shortcut or a console would, and with
// arguments, which change nothing, the panel starts the daemon in its own
// directory.
TEST_F(ControlPanel, StartedElsewhere)
{
    auto panels = [] { return WindowsTitled("Vellmoran v1.02 - Control Panel"); };
    const std::string bin = ExecutableDirectory();
    HANDLE copy = StartProcess(L"\"" + std::wstring(bin.begin(), bin.end()) + L"\\Vellmoran.exe\" /quit --help",
                               L"C:\\windows");
    // Shown, not still being built.
    ASSERT_TRUE(WaitUntil([&] { return std::ranges::count_if(panels(), ::IsWindowVisible) == 1; },
                          kProcessGuardMs));
    UserClick(panels()[0], IDC_START);
    ASSERT_TRUE(WaitUntil([] { return !DaemonWindows().empty(); }, kProcessGuardMs));
    EXPECT_EQ(bin, StartedIn(DaemonWindows()[0]));
    UserClick(panels()[0], IDCANCEL);
    EXPECT_EQ(0u, ExitCodeOf(copy));
}

// A folder of 245 characters leaves no room for the Run value, and no daemon
// lies beside the copy: its OK stops the running one and cannot start
// another. The code page turns the other folder's name into question marks,
// which an ANSI path would store in the Run value and then read back as a
// match.
TEST_F(ControlPanel, AwkwardFolders)
{
    const std::string bin = ExecutableDirectory();
    const std::wstring wideBin(bin.begin(), bin.end()),
        odd = wideBin + L"\\\u65E5\u672C \u2713 dir";
    std::string damaged(MAX_PATH, '\0');
    damaged.resize(
        ::WideCharToMultiByte(CP_ACP, 0, odd.c_str(), -1, &damaged[0], MAX_PATH, nullptr, nullptr)
        - 1);
    SetRunValue(damaged += std::string("\\VellmoranD.exe") + '\0');
    ASSERT_TRUE(LaunchDaemon());
    ASSERT_TRUE(WaitUntil([] { return !DaemonWindows().empty(); }, kProcessGuardMs));
    EXPECT_TRUE(
        PassesFrom(wideBin + L"\\" + std::wstring(244 - bin.size(), L'd'), L"FolderTooLong"));
    EXPECT_TRUE(PassesFrom(odd, L"UnusableFolder"));
    EXPECT_EQ(damaged, RunValue());
}

TEST(InstallFolder, DISABLED_FolderTooLong)
{
    MessageBoxWatcher watcher(IDOK);
    RunPanel({BoxClear(), Click(IDC_LAUNCH_ON_STARTUP), Click(IDOK)});
    EXPECT_EQ((std::vector<std::string>{"The \"Launch on Startup\" setting could not be "
                                        "changed.\n\nThe path of the program's folder is too long.",
                                        "Vellmoran was stopped and could not be started again, so "
                                        "the screen lock is off.\n\nThe file "
                                        "VellmoranD.exe is missing from the program's folder."}),
              watcher.Texts());
}

// Start and "Stop && Configure" refuse, OK leaves the Run value alone, each
// saying so once, and the settings store writes nowhere.
TEST(InstallFolder, DISABLED_UnusableFolder)
{
    ASSERT_FALSE(AfxModulePathFitsCodePage());
    MessageBoxWatcher watcher(IDOK);
    RunPanel({BoxClear(), Click(IDC_START), Click(IDC_STOP_AND_CONFIGURE),
              Click(IDC_LAUNCH_ON_STARTUP), Click(IDOK)});
    EXPECT_EQ(std::vector<std::string>(
                  3, "Vellmoran cannot work in this folder: its name holds characters that the "
                     "system's code page cannot represent.\n\nMove Vellmoran to a folder whose "
                     "name uses only characters of the system's code page."),
              watcher.Texts());
    EXPECT_EQ(0, CSettingsStore("Vellmoran.bin").WriteString("m_nDelay", "5"));
}

// A path may come with either separator, as a shortcut or a console wrote it:
// the directory ends at the last of either.
TEST(ExecutableDirectory, EitherSeparator)
{
    for (auto [path, directory] : {std::pair{"C:\\a\\b\\V.exe", "C:\\a\\b"},
                                   {"C:/a/b/V.exe", "C:/a/b"},
                                   {"C:\\a/b\\V.exe", "C:\\a/b"},
                                   {"C:\\a\\b/V.exe", "C:\\a\\b"},
                                   {"V.exe", ""}}) {
        char text[MAX_PATH];
        lstrcpyA(text, path);
        CutAtLastSeparator(text);
        EXPECT_STREQ(directory, text) << path;
    }
}
