#include "daemon/LockScreen.h"
#include "framework/Wnd.h"
#include "settings/PasswordScrambler.h"
#include "tests/support/GuiDriver.h"
#include "tests/support/SettingsFile.h"

#include <gtest/gtest.h>

#include <fstream>
#include <utility>
#include <vector>

namespace {
const DWORD kGuardMs = 30000;  // hang guard only; everything waits for conditions

// The real daemon runs from a directory of its own, beside its own settings,
// so that it never meets the panel tests' double.
std::string DaemonDirectory()
{
    return ExecutableDirectory() + "\\daemon";
}

std::string DaemonSettingsPath()
{
    return DaemonDirectory() + "\\Vellmoran.bin";
}

void WriteDaemonSettings(const std::vector<std::pair<std::string, std::string>>& records)
{
    std::string bytes;
    for (const auto& [key, value] : records)
        bytes += SettingsRecordBytes(key, value);
    std::ofstream(DaemonSettingsPath(), std::ios::binary | std::ios::trunc) << bytes;
}

std::string Code(std::string password)
{
    ScramblePassword(password);
    return password;
}

void SendKey(WORD key)
{
    INPUT input[2] = {};
    for (INPUT& event : input) {
        event.type = INPUT_KEYBOARD;
        event.ki.wVk = key;
    }
    input[1].ki.dwFlags = KEYEVENTF_KEYUP;
    ::SendInput(2, input, sizeof(INPUT));
}

void Type(const std::string& text)
{
    for (char c : text)
        SendKey(LOBYTE(::VkKeyScanA(c)));
    SendKey(VK_RETURN);
}

// A sweep of the pointer from one edge of the virtual screen to the other.
void Wipe()
{
    INPUT input[2] = {};
    for (int i = 0; i < 2; ++i) {
        input[i].type = INPUT_MOUSE;
        input[i].mi.dx = i * 65535;
        input[i].mi.dy = 32768;
        input[i].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_VIRTUALDESK;
    }
    ::SendInput(2, input, sizeof(INPUT));
}

class Daemon {
public:
    Daemon()
    {
        STARTUPINFOA startup = {};
        startup.cb = sizeof(startup);
        PROCESS_INFORMATION process = {};
        std::string commandLine = "\"" + DaemonDirectory() + "\\VellmoranD.exe\"";
        EXPECT_TRUE(::CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                                     DaemonDirectory().c_str(), &startup, &process));
        ::CloseHandle(process.hThread);
        m_hProcess = process.hProcess;
        m_pid = process.dwProcessId;
    }
    ~Daemon()
    {
        if (!Ended(0))
            ::TerminateProcess(m_hProcess, 1);
        ::WaitForSingleObject(m_hProcess, kGuardMs);
        ::CloseHandle(m_hProcess);
    }

    bool Ended(DWORD waitMs) const { return ::WaitForSingleObject(m_hProcess, waitMs) == WAIT_OBJECT_0; }
    HWND Window(const char* className, const char* title) const
    {
        for (HWND w = ::FindWindowExA(nullptr, nullptr, className, title); w;
             w = ::FindWindowExA(nullptr, w, className, title)) {
            DWORD pid = 0;
            ::GetWindowThreadProcessId(w, &pid);
            if (pid == m_pid)
                return w;
        }
        return nullptr;
    }
    HWND Main() const { return Window(nullptr, "V3LLM0R4ND"); }
    HWND Lock() const
    {
        HWND lock = Window(CLockScreen::kClassName, nullptr);
        return lock != nullptr && ::IsWindowVisible(lock) ? lock : nullptr;
    }
    std::string LockText(int id) const { return AfxGetWindowText(::GetDlgItem(Lock(), id)); }
    bool Started() const { return WaitUntil([this] { return Main() != nullptr; }, kGuardMs); }
    // Repeats the trigger until the screen locks: the daemon arms it only
    // once it has read its settings.
    bool LockBy(const std::function<void()>& trigger) const
    {
        DWORD last = ::GetTickCount() - 1000;
        return WaitUntil([&] {
            if (::GetTickCount() - last >= 500)
                trigger(), last = ::GetTickCount();
            return Lock() != nullptr;
        }, kGuardMs);
    }
    bool TextShows(int id, const std::string& part) const
    {
        return WaitUntil([&] { return LockText(id).find(part) != std::string::npos; }, kGuardMs);
    }

private:
    HANDLE m_hProcess;
    DWORD m_pid;
};
}  // namespace

TEST(Daemon, KeyLocksOverTheWholeScreenWrongPasswordsWaitCloseWaitsForTheRightOne)
{
    WriteDaemonSettings({{"m_nVirtualKey", "19"}, {"m_csCode", Code("open")}});
    Daemon daemon;
    ASSERT_TRUE(daemon.Started());
    ASSERT_TRUE(daemon.LockBy([] { SendKey(VK_PAUSE); }));
    RECT covered, virtualScreen;
    ::SetRect(&virtualScreen, ::GetSystemMetrics(SM_XVIRTUALSCREEN), ::GetSystemMetrics(SM_YVIRTUALSCREEN), 0, 0);
    virtualScreen.right = virtualScreen.left + ::GetSystemMetrics(SM_CXVIRTUALSCREEN);
    virtualScreen.bottom = virtualScreen.top + ::GetSystemMetrics(SM_CYVIRTUALSCREEN);
    ::GetWindowRect(daemon.Lock(), &covered);
    EXPECT_TRUE(::EqualRect(&virtualScreen, &covered));
    EXPECT_TRUE(::GetWindowLongA(daemon.Lock(), GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_TRUE(daemon.TextShows(CLockScreen::kMessageId, "Type the password"));

    Type("shut");
    EXPECT_TRUE(daemon.TextShows(CLockScreen::kMessageId, "Wrong password."));
    EXPECT_EQ("", daemon.LockText(CLockScreen::kPasswordId));
    DWORD_PTR result;
    ASSERT_TRUE(::SendMessageTimeoutA(daemon.Main(), WM_CLOSE, 0, 0, SMTO_NORMAL, kGuardMs, &result));
    EXPECT_FALSE(daemon.Ended(0));
    Type("shut"), Type("shut");  // the third wrong attempt makes the next one wait
    EXPECT_TRUE(daemon.TextShows(CLockScreen::kMessageId, "Try again in "));
    EXPECT_TRUE(daemon.Lock() != nullptr);
    EXPECT_TRUE(WaitUntil([&] { return daemon.LockText(CLockScreen::kMessageId).find("Try again") == std::string::npos; },
                          kGuardMs));
    Type("open");
    EXPECT_TRUE(daemon.Ended(kGuardMs));  // the held-back close
}

TEST(Daemon, ASecondOneEndsAtOnceOneStartedAsThePreviousEndsComesUpAndTheFileIsNeverMade)
{
    ::DeleteFileA(DaemonSettingsPath().c_str());
    Daemon first;
    ASSERT_TRUE(first.Started());
    {
        Daemon second;
        EXPECT_TRUE(second.Ended(kGuardMs));
    }
    EXPECT_EQ(1u, WindowsTitled("V3LLM0R4ND").size());
    ::PostMessageA(first.Main(), WM_CLOSE, 0, 0);
    ASSERT_TRUE(WaitUntil([&] { return first.Main() == nullptr; }, kGuardMs));
    Daemon third;  // as the panel's OK starts it
    EXPECT_TRUE(third.Started());
    EXPECT_TRUE(first.Ended(kGuardMs));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesA(DaemonSettingsPath().c_str()));
}

TEST(Daemon, AWipeLocksAndWithNoPasswordSetEnterUnlocks)
{
    WriteDaemonSettings({{"m_bScreenwipe", "1"}, {"m_nVelocity", "1100"}});
    Daemon daemon;
    ASSERT_TRUE(daemon.Started());
    ASSERT_TRUE(daemon.LockBy(Wipe));
    EXPECT_TRUE(daemon.TextShows(CLockScreen::kMessageId, "No password is set; set one in the control panel."));
    SendKey(VK_RETURN);
    EXPECT_TRUE(WaitUntil([&] { return daemon.Lock() == nullptr; }, kGuardMs));
    EXPECT_FALSE(daemon.Ended(0));
}

TEST(Daemon, IdleTimeLocks)
{
    WriteDaemonSettings({{"m_bScreensaver", "1"}, {"m_nDelay", "1"}});
    ::SetEnvironmentVariableA("VELLMORAN_TEST_MINUTE_MS", "300");
    Daemon daemon;
    ::SetEnvironmentVariableA("VELLMORAN_TEST_MINUTE_MS", nullptr);
    EXPECT_TRUE(WaitUntil([&] { return daemon.Lock() != nullptr; }, kGuardMs));
}

TEST(Daemon, SettingsHeldAtStartLockNothingUntilRead)
{
    WriteDaemonSettings({{"m_nVirtualKey", "19"}});
    HANDLE held = ::CreateFileA(DaemonSettingsPath().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    Daemon daemon;
    ASSERT_TRUE(daemon.Started());
    for (int i = 0; i < 4; ++i)
        SendKey(VK_PAUSE), PumpMessages(300);
    EXPECT_TRUE(daemon.Lock() == nullptr);
    ::CloseHandle(held);
    EXPECT_TRUE(daemon.LockBy([] { SendKey(VK_PAUSE); }));
}
