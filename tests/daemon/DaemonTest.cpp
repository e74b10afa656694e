#include "daemon/LockScreen.h"
#include "framework/Wnd.h"
#include "settings/PasswordScrambler.h"
#include "tests/support/GuiDriver.h"
#include "tests/support/SettingsFile.h"

#include <gtest/gtest.h>

#include <fstream>

namespace {
const DWORD kGuardMs = 30000;  // hang guard only; everything waits for conditions
// The real daemon runs from a directory of its own, beside its own settings,
// so that it never meets the panel tests' double.
const std::string kDirectory = ExecutableDirectory() + "\\daemon", kSettings = kDirectory + "\\Vellmoran.bin";

void WriteDaemonSettings(const std::vector<std::pair<std::string, std::string>>& records)
{
    std::ofstream file(kSettings, std::ios::binary | std::ios::trunc);
    for (const auto& [key, value] : records)
        file << SettingsRecordBytes(key, value);
}

// Presses and releases each virtual key of the string: "OPEN\r" types "open" and Enter, "\x13" is Pause.
void Press(const std::string& keys)
{
    for (BYTE key : keys)
        ::keybd_event(key, 0, 0, 0), ::keybd_event(key, 0, KEYEVENTF_KEYUP, 0);
}

// The pointer from the left edge of the virtual screen to the right one.
void Wipe()
{
    for (DWORD x : {0, 65535})
        ::mouse_event(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_VIRTUALDESK, x, 32768, 0, 0);
}

// The daemon's hidden main window, and its lock screen.
HWND Main() { return ::FindWindowA(nullptr, "V3LLM0R4ND"); }
HWND Lock() { return ::FindWindowA(CLockScreen::kClassName, nullptr); }

struct Daemon {
    Daemon()
    {
        STARTUPINFOA startup = {};
        startup.cb = sizeof(startup);
        std::string commandLine = "\"" + kDirectory + "\\VellmoranD.exe\"";
        EXPECT_TRUE(::CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, kDirectory.c_str(),
                                     &startup, &m));
    }
    ~Daemon() { ::TerminateProcess(m.hProcess, 1), Ended(), ::CloseHandle(m.hProcess), ::CloseHandle(m.hThread); }
    bool Ended() const { return ::WaitForSingleObject(m.hProcess, kGuardMs) == WAIT_OBJECT_0; }
    // Repeats the trigger until the screen locks: the daemon arms it only once it has read its settings.
    bool LockBy(void (*trigger)()) const { return WaitUntil([&] { return trigger(), WaitUntil(Lock, 500); }, kGuardMs); }

    PROCESS_INFORMATION m = {};
};
}  // namespace

TEST(Daemon, OneOnlyArmedOnceItReadItsSettingsTheKeyLocksUntilTheRightPasswordAndCloseWaitsForIt)
{
    std::string code = "open";
    ScramblePassword(code);
    WriteDaemonSettings({{"m_nVirtualKey", "19"}, {"m_csCode", code}});
    HANDLE held = ::CreateFileA(kSettings.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    Daemon daemon;
    ASSERT_TRUE(WaitUntil(Main, kGuardMs));
    EXPECT_TRUE(Daemon().Ended());  // a second one
    Press("\x13"), PumpMessages(1000), Press("\x13"), PumpMessages(1000);
    EXPECT_TRUE(Lock() == nullptr);
    ::CloseHandle(held);
    ASSERT_TRUE(daemon.LockBy([] { Press("\x13"); }));
    Press("SHUT\r");
    auto message = [] { return AfxGetWindowText(::GetDlgItem(Lock(), CLockScreen::kMessageId)); };
    EXPECT_TRUE(WaitUntil([&] { return message().find("Wrong password.") == 0; }, kGuardMs)) << message();
    ASSERT_TRUE(::SendMessageTimeoutA(Main(), WM_CLOSE, 0, 0, SMTO_NORMAL, kGuardMs, nullptr));
    EXPECT_TRUE(Main() && Lock());  // held back while locked
    Press("OPEN\r");
    EXPECT_TRUE(daemon.Ended());  // the held-back close follows the unlock
}

TEST(Daemon, AWipeOrIdleTimeLocks)
{
    WriteDaemonSettings({{"m_bScreenwipe", "1"}, {"m_nVelocity", "1100"}});
    EXPECT_TRUE(Daemon().LockBy(Wipe));
    ::SetEnvironmentVariableA("VELLMORAN_TEST_MINUTE_MS", "300");
    WriteDaemonSettings({{"m_bScreensaver", "1"}, {"m_nDelay", "1"}});
    EXPECT_TRUE(Daemon().LockBy([] {}));
    ::SetEnvironmentVariableA("VELLMORAN_TEST_MINUTE_MS", nullptr);
}
