// Attacks on the lock from another program of the same user: each runs while
// the screen is locked, and afterwards the screen must be covered again and
// open to the right password only.
#include "daemon/LockScreen.h"
#include "tests/support/GuiDriver.h"
#include "tests/support/RealDaemon.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

using namespace RealDaemon;

namespace {
class Attack : public ::testing::Test {
protected:
    static void SetUpTestSuite() { WriteArmed(); }

    void SetUp() override
    {
        m_daemon = std::make_unique<Process>();
        ASSERT_TRUE(m_daemon->LockBy(Pause)) << WhyUncovered();
    }

    // The screen stays covered, or is covered again; then only the right
    // password opens it. (A WM_CLOSE among the attacks, held while locked,
    // then ends the daemon, as it would have unlocked.)
    void ExpectHeld()
    {
        EXPECT_TRUE(WaitUntil(Covered, kGuardMs)) << WhyUncovered();
        MessageHolds("Try again", false);
        Press("SHUT\r");
        EXPECT_TRUE(MessageHolds("Wrong password.")) << Message();
        EXPECT_TRUE(Covered()) << WhyUncovered();
        Press("OPEN\r");
        EXPECT_TRUE(Unlocked()) << Message();
    }

    std::unique_ptr<Process> m_daemon;
};

// Every message that once opened or ended the lock, posted and sent to
// either window.
const UINT kMessages[] = {WM_APP + 1,  WM_APP + 2,    WM_APP + 3,   WM_USER,
                          WM_USER + 1, WM_CLOSE,      WM_DESTROY,   WM_NCDESTROY,
                          WM_QUIT,     WM_ENDSESSION, WM_SYSCOMMAND};

// Posted, sent, to the thread, and timers that would call a procedure.
TEST_F(Attack, Messages)
{
    ::SendMessageTimeoutA(Main(), WM_QUERYENDSESSION, 0, 0, SMTO_NORMAL, kGuardMs, nullptr);
    for (UINT message : kMessages) {
        WPARAM wParam = message == WM_ENDSESSION ? TRUE : message == WM_SYSCOMMAND ? SC_CLOSE : 0;
        for (HWND window : {Main(), Lock(), PasswordBox()}) {
            ::PostMessageA(window, message, wParam, 0);
            ::SendMessageTimeoutA(window, message, wParam, 0, SMTO_NORMAL, kGuardMs, nullptr);
        }
    }
    ::PostThreadMessageA(::GetWindowThreadProcessId(Main(), nullptr), WM_QUIT, 0, 0);
    for (HWND window : {Main(), Lock()})
        ::PostMessageA(window, WM_TIMER, 1, 0x12345678);
    ExpectHeld();
}

TEST_F(Attack, WindowTakenAway)
{
    const std::vector<std::pair<const char*, std::function<void(HWND)>>> attacks = {
        {"hidden", [](HWND w) { ::ShowWindow(w, SW_HIDE); }},
        {"minimised", [](HWND w) { ::ShowWindow(w, SW_MINIMIZE); }},
        {"off screen",
         [](HWND w) { ::SetWindowPos(w, nullptr, 5000, 5000, 0, 0, SWP_NOSIZE | SWP_NOZORDER); }},
        {"1x1", [](HWND w) { ::SetWindowPos(w, nullptr, 0, 0, 1, 1, SWP_NOMOVE | SWP_NOZORDER); }},
        {"not topmost",
         [](HWND w) { ::SetWindowPos(w, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE); }},
        {"region", [](HWND w) { ::SetWindowRgn(w, ::CreateRectRgn(0, 0, 1, 1), TRUE); }},
        {"disabled", [](HWND w) { ::EnableWindow(w, FALSE); }},
        {"layered",
         [](HWND w) {
             ::SetWindowLongA(w, GWL_EXSTYLE,
                              ::GetWindowLongA(w, GWL_EXSTYLE) | WS_EX_LAYERED | WS_EX_TRANSPARENT);
             ::SetLayeredWindowAttributes(w, 0, 0, LWA_ALPHA);
         }},
        {"child of another", [](HWND w) { ::SetParent(w, ::GetShellWindow()); }},
        {"box hidden", [](HWND) { ::ShowWindow(PasswordBox(), SW_HIDE); }},
        {"box closed", [](HWND) { ::PostMessageA(PasswordBox(), WM_CLOSE, 0, 0); }},
        {"object lost",
         [](HWND w) {
             ::SetWindowLongPtrA(w, GWLP_USERDATA, 0);
             ::PostMessageA(w, WM_CLOSE, 0, 0);
         }},
    };
    for (const auto& [name, attack] : attacks) {
        attack(Lock());
        EXPECT_TRUE(WaitUntil(Covered, kGuardMs)) << name << ": " << WhyUncovered();
    }
    ExpectHeld();
}

// A window of another program that puts itself on top every 10 ms gets
// neither keys nor clicks.
int g_rivalKeys = 0, g_rivalClicks = 0;

LRESULT CALLBACK RivalProc(HWND w, UINT m, WPARAM wp, LPARAM lp)
{
    g_rivalKeys += m == WM_KEYDOWN || m == WM_CHAR || m == WM_SYSKEYDOWN;
    g_rivalClicks += m == WM_LBUTTONDOWN;
    if (m == WM_TIMER)
        ::SetWindowPos(w, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE),
            ::SetForegroundWindow(w);
    return ::DefWindowProcA(w, m, wp, lp);
}

TEST_F(Attack, RivalOnTop)
{
    WNDCLASSA rivalClass = {};
    rivalClass.lpszClassName = "Rival";
    rivalClass.lpfnWndProc = RivalProc;
    ::RegisterClassA(&rivalClass);
    HWND rival = ::CreateWindowExA(WS_EX_TOPMOST, "Rival", "Rival", WS_POPUP | WS_VISIBLE, 100, 100,
                                   200, 200, nullptr, nullptr, nullptr, nullptr);
    ::SetTimer(rival, 1, 10, nullptr);
    PumpMessages(200);
    for (int i = 0; i < 3; ++i) {
        Click({200, 200});
        Press("ABC");
        PumpMessages(100);
    }
    PumpMessages(500);
    ::DestroyWindow(rival);
    EXPECT_EQ(0, g_rivalKeys);
    EXPECT_EQ(0, g_rivalClicks);
    Press("\r");  // what the box holds is not the password
    ExpectHeld();
}

// A crash, or another program ending the lock's process: the screen is
// covered again, with the same password and the count of wrong ones.
TEST_F(Attack, LockProcessKilled)
{
    for (int i = 0; i < 3; ++i)
        Press("SHUT\r");
    ASSERT_TRUE(MessageHolds("Try again")) << Message();
    HWND before = Lock();
    DWORD id = 0;
    ::GetWindowThreadProcessId(before, &id);
    HANDLE process = ::OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id);
    ASSERT_TRUE(process != nullptr);
    ::TerminateProcess(process, 0);
    ::WaitForSingleObject(process, kGuardMs);
    ::CloseHandle(process);
    EXPECT_TRUE(WaitUntil([&] { return Lock() != before && Covered(); }, kGuardMs))
        << WhyUncovered();
    // The fourth wrong password in a row waits longer; a new count would not wait at all.
    MessageHolds("Type the password");
    Press("SHUT\r");
    EXPECT_TRUE(MessageHolds("Try again")) << Message();
    MessageHolds("Type the password");
    Press("OPEN\r");
    EXPECT_TRUE(Unlocked()) << Message();
}
}  // namespace
