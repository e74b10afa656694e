#include "panel/ControlPanelDlg.h"
#include "panel/Daemon.h"
#include "tests/panel/PanelHelpers.h"
#include "tests/support/GuiDriver.h"
#include "tests/support/MessageLog.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {
using Step = ModalScript::Step;

HWND Panel() { return FindThreadDialog("Vellmoran v1.02 - Control Panel"); }

std::string Status()
{
    char text[64] = "";
    ::GetDlgItemTextA(Panel(), IDC_STATUS, text, sizeof(text));
    return text;
}

Step StatusBecomes(const char* text) { return [text] { return Status() == text; }; }
Step Click(int id) { return ModalScript::Do([id] { UserClick(Panel(), id); }); }
Step DaemonCount(size_t count) { return [count] { return DaemonWindows().size() == count; }; }

DWORD StartDaemon()
{
    LaunchDaemon();
    EXPECT_TRUE(WaitUntil([] { return FindDaemonWindow() != nullptr; }, kProcessGuardMs));
    return DaemonProcess(FindDaemonWindow());
}

// The handles this process holds (Wine's GetProcessHandleCount counts none).
DWORD HandleCount()
{
    DWORD count = 0, flags;
    for (UINT_PTR handle = 4; handle < 0x10000; handle += 4)
        count += ::GetHandleInformation(reinterpret_cast<HANDLE>(handle), &flags) != FALSE;
    return count;
}

class ControlPanel : public ::testing::Test {
protected:
    void SetUp() override
    {
        EndAllDaemons();
        SetRunValue("");
        g_bStatusActive = 0;  // the status a fresh process starts with
    }
    void TearDown() override
    {
        ::SetEnvironmentVariableA("VELLMORAN_DAEMON_IGNORE_CLOSE", nullptr);
        EndAllDaemons();
        SetRunValue("");
    }

    INT_PTR RunPanel(std::vector<Step> steps)
    {
        CControlPanelDlg panel;
        ModalScript script(std::move(steps));
        return panel.DoModal();
    }
};
}  // namespace

TEST_F(ControlPanel, OpensCentredWithOKFocused)
{
    EXPECT_EQ(IDCANCEL, RunPanel({ModalScript::Do([] {
                                      EXPECT_EQ(::GetDlgItem(Panel(), IDOK), ::GetFocus());
                                      RECT work, rect;
                                      ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
                                      ::GetWindowRect(Panel(), &rect);
                                      EXPECT_LE(std::abs((rect.left + rect.right) - (work.left + work.right)), 2);
                                      EXPECT_LE(std::abs((rect.top + rect.bottom) - (work.top + work.bottom)), 2);
                                  }),
                                  Click(IDCANCEL)}));
}

// Any top-level window with the daemon's title counts as the daemon. The
// text is set when the status changes, never on the other ticks; a busy
// machine only ever delays a tick, so the smallest gap between ticks shows
// the period.
TEST_F(ControlPanel, StatusRefresh)
{
    HWND fakeDaemon = ::CreateWindowExA(0, "Static", "V3LLM0R4ND", WS_POPUP, 0, 0, 1, 1, 0, 0, 0, 0);
    MessageLog log([](HWND w) { return w == Panel() || ::GetDlgCtrlID(w) == IDC_STATUS; }, {WM_TIMER, WM_SETTEXT});
    auto ticks = [&log] {
        std::vector<DWORD> times;
        for (const MessageLog::Entry& entry : log.Entries())
            if (entry.message == WM_TIMER && entry.wParam == 1)
                times.push_back(entry.time);
        return times;
    };
    auto twoMoreTicks = [&]() -> Step {
        return [&, from = ~size_t(0)]() mutable {
            from = std::min(from, ticks().size());
            return ticks().size() >= from + 2;
        };
    };
    RunPanel({ModalScript::Do([] { EXPECT_EQ("Vellmoran is ACTIVE", Status()); }), twoMoreTicks(),
              ModalScript::Do([&] { ::DestroyWindow(fakeDaemon); }), StatusBecomes("Vellmoran is OFF"),
              twoMoreTicks(), Click(IDCANCEL)});
    std::vector<UINT> texts;
    for (UINT message : log.Sequence())
        if (message == WM_SETTEXT)
            texts.push_back(message);
    EXPECT_EQ(2u, texts.size());  // ACTIVE at the opening, OFF once the daemon went
    const std::vector<DWORD> times = ticks();
    DWORD smallest = ~0u;
    for (size_t i = 1; i < times.size(); ++i)
        smallest = std::min(smallest, times[i] - times[i - 1]);
    EXPECT_LT(smallest, 5000u) << "the status is refreshed about once a second";
}

// Each click starts another daemon, and the panel keeps no handle of one.
TEST_F(ControlPanel, StartAndStop)
{
    DWORD handles = 0;  // once the first start has made what every start needs
    RunPanel({Click(IDC_START), DaemonCount(1), ModalScript::Do([&] { handles = HandleCount(); }), Click(IDC_START),
              Click(IDC_START), DaemonCount(3), StatusBecomes("Vellmoran is ACTIVE"), Click(IDC_STOP), DaemonCount(2),
              Click(IDC_STOP), DaemonCount(1), Click(IDC_STOP), DaemonCount(0), StatusBecomes("Vellmoran is OFF"), Click(IDCANCEL)});
    EXPECT_LT(HandleCount(), handles + 2) << "before: " << handles;
}

TEST_F(ControlPanel, OKWithoutDaemonWritesTheRunValueOnly)
{
    RunPanel({Click(IDC_LAUNCH_ON_STARTUP), Click(IDOK)});
    EXPECT_EQ(ExpectedRunData() + '\0', RunValue());
    PumpMessages(1500);
    EXPECT_TRUE(DaemonWindows().empty());
}

// A running daemon is replaced by a new one, even with nothing changed.
TEST_F(ControlPanel, OKRestartsARunningDaemon)
{
    DWORD before = StartDaemon();
    EXPECT_EQ(IDOK, RunPanel({StatusBecomes("Vellmoran is ACTIVE"), Click(IDOK)}));
    ASSERT_TRUE(WaitUntil([&] { return DaemonWindows().size() == 1 && DaemonProcess(DaemonWindows()[0]) != before; },
                          kProcessGuardMs));
    PumpMessages(500);
    EXPECT_EQ(1u, DaemonWindows().size());
}

TEST_F(ControlPanel, RunValueOfAnotherDirectory)
{
    const std::string other = std::string("C:\\Elsewhere\\VellmoranD.exe") + '\0';
    SetRunValue(other);
    EXPECT_EQ(IDCANCEL, RunPanel({ModalScript::Do([] {
                                      EXPECT_EQ(BST_UNCHECKED, ::IsDlgButtonChecked(Panel(), IDC_LAUNCH_ON_STARTUP));
                                  }),
                                  Click(IDC_LAUNCH_ON_STARTUP),
                                  [] { return ::IsDlgButtonChecked(Panel(), IDC_LAUNCH_ON_STARTUP) == BST_CHECKED; },
                                  // Escape acts as Cancel.
                                  ModalScript::Do([] { ::PostMessageA(::GetFocus(), WM_KEYDOWN, VK_ESCAPE, 0); })}));
    EXPECT_EQ(other, RunValue());
    RunPanel({Click(IDOK)});
    EXPECT_EQ("", RunValue());
}

// A user waits for a daemon that does not stop at most half a minute; then
// the panel says why there is no new daemon and closes.
TEST_F(ControlPanel, OKGivesUpOnAStuckDaemon)
{
    ::SetEnvironmentVariableA("VELLMORAN_DAEMON_IGNORE_CLOSE", "1");
    DWORD before = StartDaemon();
    MessageBoxWatcher watcher(IDOK);
    DWORD clicked = 0, closed = 0;
    EXPECT_EQ(IDOK, RunPanel({ModalScript::Do([&] { clicked = ::GetTickCount(), UserClick(Panel(), IDOK); })}));
    closed = ::GetTickCount();
    EXPECT_LT(closed - clicked, 30000u);
    EXPECT_EQ(std::vector<std::string>{"The lock daemon did not stop, so it was not restarted."}, watcher.Texts());
    EXPECT_EQ(::LoadCursorA(nullptr, IDC_ARROW), ::GetCursor());
    PumpMessages(1000);
    ASSERT_EQ(1u, DaemonWindows().size());
    EXPECT_EQ(before, DaemonProcess(DaemonWindows()[0]));
}
