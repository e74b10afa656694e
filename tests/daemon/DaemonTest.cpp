#include "daemon/LockScreen.h"
#include "framework/Wnd.h"
#include "settings/PasswordScrambler.h"
#include "tests/support/GuiDriver.h"
#include "tests/support/SettingsFile.h"

#include <gtest/gtest.h>

#include <fstream>
#include <vector>

namespace {
const DWORD kGuardMs = 30000;  // hang guard only; everything waits for conditions

// The real daemon runs from a directory of its own, beside its own settings,
// so that it never meets the panel tests' double.
std::string InDaemonDirectory(const char* name)
{
    return ExecutableDirectory() + "\\daemon" + (*name ? "\\" : "") + name;
}

void WriteDaemonSettings(const std::vector<std::pair<std::string, std::string>>& records)
{
    std::ofstream file(InDaemonDirectory("Vellmoran.bin"), std::ios::binary | std::ios::trunc);
    for (const auto& [key, value] : records)
        file << SettingsRecordBytes(key, value);
}

// Presses and releases each virtual key of the string: "OPEN\r" types
// "open" and Enter, "\x13" is Pause.
void Press(const std::string& keys)
{
    for (char key : keys) {
        INPUT events[2] = {};
        for (INPUT& event : events)
            event.type = INPUT_KEYBOARD, event.ki.wVk = static_cast<BYTE>(key);
        events[1].ki.dwFlags = KEYEVENTF_KEYUP;
        ::SendInput(2, events, sizeof(INPUT));
    }
}

// The pointer from the left edge of the virtual screen to the right one.
void Wipe()
{
    INPUT events[2] = {};
    for (int i = 0; i < 2; ++i) {
        events[i].type = INPUT_MOUSE, events[i].mi.dx = i * 65535, events[i].mi.dy = 32768;
        events[i].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_VIRTUALDESK;
    }
    ::SendInput(2, events, sizeof(INPUT));
}

class Daemon {
public:
    Daemon()
    {
        STARTUPINFOA startup = {};
        startup.cb = sizeof(startup);
        PROCESS_INFORMATION process = {};
        std::string commandLine = "\"" + InDaemonDirectory("VellmoranD.exe") + "\"";
        EXPECT_TRUE(::CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                                     InDaemonDirectory("").c_str(), &startup, &process));
        ::CloseHandle(process.hThread);
        m_hProcess = process.hProcess;
        m_pid = process.dwProcessId;
    }
    ~Daemon()
    {
        ::TerminateProcess(m_hProcess, 1);
        ::WaitForSingleObject(m_hProcess, kGuardMs);
        ::CloseHandle(m_hProcess);
    }

    bool Ended(DWORD waitMs) const { return ::WaitForSingleObject(m_hProcess, waitMs) == WAIT_OBJECT_0; }
    HWND Window(const char* className, const char* title) const
    {
        HWND w = nullptr;
        DWORD pid = 0;
        while ((w = ::FindWindowExA(nullptr, w, className, title)) != nullptr && ::GetWindowThreadProcessId(w, &pid))
            if (pid == m_pid && ::IsWindowVisible(w) == (className != nullptr))
                return w;
        return nullptr;
    }
    HWND Main() const { return Window(nullptr, "V3LLM0R4ND"); }
    HWND Lock() const { return Window(CLockScreen::kClassName, nullptr); }
    std::string LockText(int id) const { return AfxGetWindowText(::GetDlgItem(Lock(), id)); }
    bool Started() const { return WaitUntil([this] { return Main() != nullptr; }, kGuardMs); }
    // Repeats the trigger until the screen locks: the daemon arms it only
    // once it has read its settings.
    bool LockBy(void (*trigger)()) const
    {
        DWORD last = ::GetTickCount() - 1000;
        return WaitUntil([&] {
            if (::GetTickCount() - last >= 500)
                trigger(), last = ::GetTickCount();
            return Lock() != nullptr;
        }, kGuardMs);
    }
    bool Shows(const std::string& part, bool shown = true) const
    {
        return WaitUntil([&] { return (LockText(CLockScreen::kMessageId).find(part) != std::string::npos) == shown; },
                         kGuardMs);
    }

private:
    HANDLE m_hProcess;
    DWORD m_pid;
};
}  // namespace

TEST(Daemon, ArmsOnlyOnceItReadItsSettingsThenTheKeyLocksTheWholeScreenUntilTheRightPassword)
{
    std::string code = "open";
    ScramblePassword(code);
    WriteDaemonSettings({{"m_nVirtualKey", "19"}, {"m_csCode", code}});
    HANDLE held = ::CreateFileA(InDaemonDirectory("Vellmoran.bin").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                0, nullptr);
    Daemon daemon;
    ASSERT_TRUE(daemon.Started());
    for (int i = 0; i < 4; ++i)
        Press("\x13"), PumpMessages(300);
    EXPECT_TRUE(daemon.Lock() == nullptr);
    ::CloseHandle(held);
    ASSERT_TRUE(daemon.LockBy([] { Press("\x13"); }));

    RECT r;
    ::GetWindowRect(daemon.Lock(), &r);
    EXPECT_EQ((std::vector<int>{::GetSystemMetrics(SM_XVIRTUALSCREEN), ::GetSystemMetrics(SM_YVIRTUALSCREEN),
                                ::GetSystemMetrics(SM_CXVIRTUALSCREEN), ::GetSystemMetrics(SM_CYVIRTUALSCREEN)}),
              (std::vector<int>{r.left, r.top, r.right - r.left, r.bottom - r.top}));
    EXPECT_TRUE(::GetWindowLongA(daemon.Lock(), GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_TRUE(daemon.Shows("Type the password"));

    Press("SHUT\r");
    EXPECT_TRUE(daemon.Shows("Wrong password."));
    EXPECT_EQ("", daemon.LockText(CLockScreen::kPasswordId));
    DWORD_PTR result;
    ASSERT_TRUE(::SendMessageTimeoutA(daemon.Main(), WM_CLOSE, 0, 0, SMTO_NORMAL, kGuardMs, &result));
    EXPECT_TRUE(daemon.Main() && daemon.Lock());  // held back while locked
    Press("SHUT\rSHUT\r");  // the third wrong attempt in a row makes the next one wait
    EXPECT_TRUE(daemon.Shows("Try again in "));
    EXPECT_TRUE(daemon.Lock() != nullptr);
    EXPECT_TRUE(daemon.Shows("Try again", false));
    Press("OPEN\r");
    EXPECT_TRUE(daemon.Ended(kGuardMs));  // the held-back close follows the unlock
}

TEST(Daemon, ASecondOneEndsAtOnceOneStartedAsThePreviousEndsComesUpAndTheFileIsNeverMade)
{
    ::DeleteFileA(InDaemonDirectory("Vellmoran.bin").c_str());
    Daemon first;
    ASSERT_TRUE(first.Started());
    EXPECT_TRUE(Daemon().Ended(kGuardMs));
    EXPECT_EQ(1u, WindowsTitled("V3LLM0R4ND").size());
    ::PostMessageA(first.Main(), WM_CLOSE, 0, 0);
    ASSERT_TRUE(WaitUntil([&] { return first.Main() == nullptr; }, kGuardMs));
    Daemon third;  // as the panel's OK starts it
    EXPECT_TRUE(third.Started());
    EXPECT_TRUE(first.Ended(kGuardMs));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesA(InDaemonDirectory("Vellmoran.bin").c_str()));
}

TEST(Daemon, AWipeLocksAndWithNoPasswordSetEnterUnlocks)
{
    WriteDaemonSettings({{"m_bScreenwipe", "1"}, {"m_nVelocity", "1100"}});
    Daemon daemon;
    ASSERT_TRUE(daemon.Started());
    ASSERT_TRUE(daemon.LockBy(Wipe));
    EXPECT_TRUE(daemon.Shows("No password is set; set one in the control panel."));
    Press("\r");
    EXPECT_TRUE(WaitUntil([&] { return daemon.Lock() == nullptr; }, kGuardMs));
    EXPECT_TRUE(daemon.Main() != nullptr);
}

TEST(Daemon, IdleTimeLocks)
{
    WriteDaemonSettings({{"m_bScreensaver", "1"}, {"m_nDelay", "1"}});
    ::SetEnvironmentVariableA("VELLMORAN_TEST_MINUTE_MS", "300");
    Daemon daemon;
    ::SetEnvironmentVariableA("VELLMORAN_TEST_MINUTE_MS", nullptr);
    EXPECT_TRUE(WaitUntil([&] { return daemon.Lock() != nullptr; }, kGuardMs));
}
