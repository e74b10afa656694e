#include "daemon/IdleNotice.h"
#include "daemon/LockScreen.h"
#include "framework/Wnd.h"
#include "tests/support/GuiDriver.h"
#include "tests/support/RealDaemon.h"
#include "tests/support/SettingsFile.h"

#include <gtest/gtest.h>

#include <fstream>

using namespace RealDaemon;

namespace {
// The pointer from the left edge of the virtual screen to the right one.
void Wipe()
{
    for (DWORD x : {0, 65535})
        ::mouse_event(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_VIRTUALDESK, x, 32768,
                      0, 0);
}

bool ShowsWrong()
{
    return MessageHolds("Wrong password.");
}
}  // namespace

TEST(Daemon, UnarmedUntilSettingsRead)
{
    WriteArmed();
    HANDLE held = ::CreateFileA((Directory() + "\\Vellmoran.bin").c_str(), GENERIC_READ, 0, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    Process daemon;
    ASSERT_TRUE(WaitUntil(Main, kGuardMs));
    for (int press = 0; press < 2; ++press) {
        Pause();
        PumpMessages(1000);  // nothing can happen: a fixed wait
    }
    EXPECT_EQ(nullptr, Lock());
    ::CloseHandle(held);
    EXPECT_TRUE(daemon.LockBy(Pause));
}

TEST(Daemon, CloseWaitsForUnlock)
{
    WriteArmed();
    Process daemon;
    ASSERT_TRUE(daemon.LockBy(Pause));
    Press("SHUT\r");
    EXPECT_TRUE(ShowsWrong()) << Message();
    ASSERT_TRUE(::SendMessageTimeoutA(Main(), WM_CLOSE, 0, 0, SMTO_NORMAL, kGuardMs, nullptr));
    EXPECT_TRUE(Main() && Covered());
    Press("OPEN\r");
    EXPECT_TRUE(WaitUntil([] { return !Main() && !Lock(); }, kGuardMs));
    EXPECT_TRUE(daemon.Ended());  // the guard, which the panel started, as well
}

// The password as the panel allows it: 32 characters; more are not typed.
TEST(Daemon, LongestPassword)
{
    const std::string password(32, 'Q');
    WriteSettings({{"m_nVirtualKey", "19"}, {"m_csCode", Code(std::string(32, 'q'))}});
    Process daemon;
    ASSERT_TRUE(daemon.LockBy(Pause));
    Press(password + "Q\r");
    EXPECT_TRUE(Unlocked()) << Message();
}

// Enter or Space as the activation key still reaches the password box while
// locked, and locks again after the unlock.
TEST(Daemon, TypingKeyAsActivationKey)
{
    const struct {
        const char* key;
        void (*press)();
        const char *password, *typed;
    } cases[] = {{"13", [] { Press("\r"); }, "open", "OPEN\r"},
                 {"32", [] { Press(" "); }, "a b", "A B\r"}};
    for (const auto& c : cases) {
        WriteSettings({{"m_nVirtualKey", c.key}, {"m_csCode", Code(c.password)}});
        Process daemon;
        ASSERT_TRUE(daemon.LockBy(c.press)) << c.key;
        Press("SHUT\r");
        EXPECT_TRUE(ShowsWrong()) << Message();
        MessageHolds("Type the password");
        Press(c.typed);
        EXPECT_TRUE(Unlocked()) << c.key << ": " << Message();
        EXPECT_TRUE(daemon.LockBy(c.press)) << c.key;
    }
}

TEST(Daemon, EmptyEnterIsNoAttempt)
{
    WriteArmed();
    Process daemon;
    ASSERT_TRUE(daemon.LockBy(Pause));
    Press("\r\r\r\r");
    Press("OPEN\r");  // no wait: the empty Enters counted for nothing
    EXPECT_TRUE(Unlocked()) << Message();
}

TEST(Daemon, NoPasswordEnterUnlocks)
{
    WriteSettings({{"m_nVirtualKey", "19"}});
    Process daemon;
    ASSERT_TRUE(daemon.LockBy(Pause));
    Press("\r");
    EXPECT_TRUE(Unlocked());
}

TEST(Daemon, WipeAndIdleLock)
{
    WriteSettings({{"m_bScreenwipe", "1"}, {"m_nVelocity", "1100"}});
    EXPECT_TRUE(Process().LockBy(Wipe));
    ::SetEnvironmentVariableA("VELLMORAN_TEST_MINUTE_MS", "300");
    WriteSettings({{"m_bScreensaver", "1"}, {"m_nDelay", "1"}});
    EXPECT_TRUE(Process().LockBy([] {}));
    ::SetEnvironmentVariableA("VELLMORAN_TEST_MINUTE_MS", nullptr);
}

// Sleep: the system announces it, and the screen is locked before.
TEST(Daemon, SuspendLocks)
{
    WriteSettings({{"m_nVirtualKey", "19"}});
    Process daemon;
    ASSERT_TRUE(WaitUntil(Main, kGuardMs));
    EXPECT_TRUE(
        daemon.LockBy([] { ::SendMessageA(Main(), WM_POWERBROADCAST, PBT_APMSUSPEND, 0); }));
}

// The guard killed first, then the process that shows the lock: the lock
// process started a new guard, which covers the screen again.
TEST(Daemon, GuardKilledFirst)
{
    WriteArmed();
    Process daemon;
    ASSERT_TRUE(daemon.LockBy(Pause));
    ::TerminateProcess(daemon.m.hProcess, 1);
    ASSERT_TRUE(daemon.Ended());
    DWORD id = 0;
    ::GetWindowThreadProcessId(Lock(), &id);
    // The new guard is running once its process exists beside the lock process.
    EXPECT_TRUE(WaitUntil([] { return DaemonProcessCount() == 2; }, kGuardMs));
    HANDLE lockProcess = ::OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id);
    ::TerminateProcess(lockProcess, 1);
    ::WaitForSingleObject(lockProcess, kGuardMs);
    ::CloseHandle(lockProcess);
    EXPECT_TRUE(WaitUntil(Covered, kGuardMs)) << WhyUncovered();
    Press("OPEN\r");
    EXPECT_TRUE(Unlocked()) << Message();
}

// Images that once crashed the daemon at the key press: it locks with a
// plain background, stays up and opens to the password.
TEST(Daemon, HostileImages)
{
    const std::string truncated = Directory() + "\\truncated.bmp",
                      huge = Directory() + "\\huge.bmp";
    BITMAPFILEHEADER file = {0x4D42, 54 + 30000, 0, 0, 54};
    BITMAPINFOHEADER info = {40, 100, 100, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    std::string header(reinterpret_cast<char*>(&file), 14);
    header.append(reinterpret_cast<char*>(&info), 40);
    std::ofstream(truncated, std::ios::binary) << header;
    info.biWidth = info.biHeight = 100000;
    std::ofstream(huge, std::ios::binary)
        << std::string(reinterpret_cast<char*>(&file), 14)
        << std::string(reinterpret_cast<char*>(&info), 40) << std::string(64, 'x');
    for (const std::string& image :
         {truncated, huge, Directory(), Directory() + "\\" + std::string(2030, 'x')}) {
        WriteArmed({{"m_csImage", image}});
        Process daemon;
        ASSERT_TRUE(daemon.LockBy(Pause)) << image.substr(0, 80);
        Press("OPEN\r");
        EXPECT_TRUE(Unlocked()) << image.substr(0, 80);
        EXPECT_TRUE(Main() != nullptr);
    }
}

// The right password ends the wait of wrong ones: after it, the next wrong
// one is the first in a row again.
TEST(Daemon, RightPasswordResetsWait)
{
    WriteArmed();
    Process daemon;
    ASSERT_TRUE(daemon.LockBy(Pause));
    Press("SHUT\rSHUT\rSHUT\r");
    ASSERT_TRUE(MessageHolds("Try again"));
    MessageHolds("Type the password");
    Press("OPEN\r");
    ASSERT_TRUE(Unlocked());
    ASSERT_TRUE(daemon.LockBy(Pause));
    EXPECT_EQ("Type the password and press Enter.", Message());  // no wrong one in a row
    Press("SHUT\r");
    ASSERT_TRUE(ShowsWrong());
    EXPECT_EQ(std::string::npos, Message().find("Try again")) << Message();
}

// With the screensaver lock on, only idle time locks: neither the start nor
// the unlock, while input comes every tenth of a second against a delay of
// half a minute.
TEST(Daemon, IdleNeedsIdleTime)
{
    ::SetEnvironmentVariableA("VELLMORAN_TEST_MINUTE_MS", "30000");
    WriteSettings({{"m_nVirtualKey", "19"}, {"m_bScreensaver", "1"}, {"m_nDelay", "1"}});
    Process daemon;
    ::SetEnvironmentVariableA("VELLMORAN_TEST_MINUTE_MS", nullptr);
    auto busyStaysOpen = [] {
        for (int i = 0; i < 30; ++i) {
            ::mouse_event(MOUSEEVENTF_MOVE, i % 2 ? 1 : -1, 0, 0, 0);
            PumpMessages(100);
        }
        return Lock() == nullptr;
    };
    ASSERT_TRUE(WaitUntil(Main, kGuardMs));
    EXPECT_TRUE(busyStaysOpen());
    ASSERT_TRUE(daemon.LockBy(Pause));
    Press("\r");
    ASSERT_TRUE(Unlocked());
    EXPECT_TRUE(busyStaysOpen());
}

// A daemon started while another's window exists ends at once: it does not
// wait for the session's claim, which here nobody holds, and take it.
TEST(Daemon, SecondEndsAtOnce)
{
    HWND other = ::CreateWindowExA(0, "STATIC", "V3LLM0R4ND", WS_POPUP, 0, 0, 0, 0, nullptr,
                                   nullptr, nullptr, nullptr);
    Process second;
    EXPECT_TRUE(second.Ended());
    ::DestroyWindow(other);
}

// The warning follows the lock's own Caps Lock, which the keys at the lock screen toggle.
TEST(Daemon, CapsLockWarning)
{
    WriteArmed();
    Process daemon;
    ASSERT_TRUE(daemon.LockBy(Pause));
    const bool off = CardText(CLockScreen::kCapsId).empty();
    for (bool on : {off, !off}) {
        Press("\x14");
        EXPECT_TRUE(WaitUntil(
            [on] { return CardText(CLockScreen::kCapsId) == (on ? "Caps Lock is on" : ""); },
            kGuardMs))
            << on;
    }
}

TEST(Daemon, WrongCount)
{
    WriteArmed();
    Process daemon;
    ASSERT_TRUE(daemon.LockBy(Pause));
    EXPECT_EQ("", CardText(CLockScreen::kCountId));
    Press("SHUT\rSHUT\r");
    EXPECT_TRUE(WaitUntil(
        [] { return CardText(CLockScreen::kCountId).find("2 wrong passwords since ") == 0; },
        kGuardMs));
}

// Input in the moments after an idle lock opens it; after the activation key it does not.
TEST(Daemon, IdleGrace)
{
    ::SetEnvironmentVariableA("VELLMORAN_TEST_MINUTE_MS", "2000");
    WriteArmed({{"m_bScreensaver", "1"}, {"m_nDelay", "1"}});
    Process daemon;
    ::SetEnvironmentVariableA("VELLMORAN_TEST_MINUTE_MS", nullptr);
    auto move = [] { ::mouse_event(MOUSEEVENTF_MOVE, 5, 0, 0, 0); };
    ASSERT_TRUE(daemon.LockBy([] {}));
    move();
    EXPECT_TRUE(Unlocked());
    ASSERT_TRUE(daemon.LockBy(Pause));
    move();
    PumpMessages(1000);  // nothing can happen: a fixed wait
    EXPECT_TRUE(Covered());
}

// The notice counts down to the idle lock, and input takes it away.
TEST(Daemon, IdleNotice)
{
    ::SetEnvironmentVariableA("VELLMORAN_TEST_MINUTE_MS", "12000");
    WriteSettings({{"m_bScreensaver", "1"}, {"m_nDelay", "1"}});
    Process daemon;
    ::SetEnvironmentVariableA("VELLMORAN_TEST_MINUTE_MS", nullptr);
    HWND notice = nullptr;
    ASSERT_TRUE(WaitUntil(
        [&] { return ::IsWindowVisible(notice = ::FindWindowA(CIdleNotice::kClassName, nullptr)); },
        kGuardMs));
    std::string text = AfxGetWindowText(::GetWindow(notice, GW_CHILD));
    EXPECT_EQ(0u, text.find("Vellmoran locks the screen in ")) << text;
    ::mouse_event(MOUSEEVENTF_MOVE, 5, 0, 0, 0);
    EXPECT_TRUE(WaitUntil([] { return !::FindWindowA(CIdleNotice::kClassName, nullptr); }, kGuardMs));
    EXPECT_EQ(nullptr, Lock());
}
