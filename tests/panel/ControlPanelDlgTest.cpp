#include "panel/ControlPanelDlg.h"
#include "panel/Daemon.h"
#include "tests/panel/PanelHelpers.h"
#include "tests/support/GuiDriver.h"

#include <gtest/gtest.h>

namespace {
using Step = ModalScript::Step;

HWND Panel()
{
    return FindThreadDialog("Vellmoran v1.02 - Control Panel");
}

std::string Status()
{
    char text[64] = "";
    ::GetDlgItemTextA(Panel(), IDC_STATUS, text, sizeof(text));
    return text;
}

Step StatusBecomes(const char* text)
{
    return [text] { return Status() == text; };
}

Step Click(int id)
{
    return ModalScript::Do([id] { UserClick(Panel(), id); });
}

Step DaemonCount(size_t count)
{
    return [count] { return DaemonWindows().size() == count; };
}

DWORD StartDaemon()
{
    LaunchDaemon();
    EXPECT_TRUE(WaitUntil([] { return FindDaemonWindow() != nullptr; }, kProcessGuardMs));
    return DaemonProcess(FindDaemonWindow());
}

int g_statusTexts = 0;

// Counts the texts set on the status control.
LRESULT CALLBACK CountStatusTexts(int code, WPARAM wParam, LPARAM lParam)
{
    const CWPSTRUCT* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && call->message == WM_SETTEXT && ::GetDlgCtrlID(call->hwnd) == IDC_STATUS)
        ++g_statusTexts;
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

class ControlPanel : public ::testing::Test {
protected:
    void SetUp() override
    {
        EndAllDaemons();
        SetRunValue("");
        g_bStatusActive = 0;
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

TEST_F(ControlPanel, OpensCentredOnOKAndSetsTheStatusOnlyOnAChange)
{
    // Any top-level window with the daemon's title counts as the daemon.
    HWND fakeDaemon = ::CreateWindowExA(0, "Static", "V3LLM0R4ND", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr,
                                        nullptr);
    HHOOK hook = ::SetWindowsHookExA(WH_CALLWNDPROC, CountStatusTexts, nullptr, ::GetCurrentThreadId());
    g_statusTexts = 0;
    INT_PTR result = RunPanel({
        ModalScript::Do([] {
            EXPECT_EQ(::GetDlgItem(Panel(), IDOK), ::GetFocus());
            RECT work, rect;
            ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
            ::GetWindowRect(Panel(), &rect);
            EXPECT_LE(std::abs((rect.left + rect.right) - (work.left + work.right)), 2);
            EXPECT_LE(std::abs((rect.top + rect.bottom) - (work.top + work.bottom)), 2);
            // Before the first tick.
            EXPECT_EQ("Vellmoran is ACTIVE", Status());
        }),
        ModalScript::Pause(2500),
        ModalScript::Do([&] { ::DestroyWindow(fakeDaemon); }),
        StatusBecomes("Vellmoran is OFF"),
        ModalScript::Pause(2500),
        Click(IDCANCEL),
    });
    ::UnhookWindowsHookEx(hook);
    EXPECT_EQ(IDCANCEL, result);
    EXPECT_EQ(2, g_statusTexts);
}

TEST_F(ControlPanel, StartTwiceStartsTwoDaemonsAndStopEndsThem)
{
    RunPanel({Click(IDC_START), Click(IDC_START), DaemonCount(2), StatusBecomes("Vellmoran is ACTIVE"),
              Click(IDC_STOP), DaemonCount(1), Click(IDC_STOP), DaemonCount(0), StatusBecomes("Vellmoran is OFF"),
              Click(IDCANCEL)});
}

TEST_F(ControlPanel, OKWritesTheRunValueAndRestartsOnlyARunningDaemon)
{
    // No daemon: OK writes the ticked box and starts nothing.
    RunPanel({ModalScript::Do([] { ::SendDlgItemMessageA(Panel(), IDC_LAUNCH_ON_STARTUP, BM_CLICK, 0, 0); }),
              Click(IDOK)});
    EXPECT_EQ(ExpectedRunData() + '\0', RunValue());
    PumpMessages(1500);
    EXPECT_TRUE(DaemonWindows().empty());

    // A running daemon is replaced by a new one, even with nothing changed.
    DWORD before = StartDaemon();
    EXPECT_EQ(IDOK, RunPanel({StatusBecomes("Vellmoran is ACTIVE"), Click(IDOK)}));
    ASSERT_TRUE(WaitUntil([&] { return DaemonWindows().size() == 1 && DaemonProcess(DaemonWindows()[0]) != before; },
                          kProcessGuardMs));
    PumpMessages(500);
    EXPECT_EQ(1u, DaemonWindows().size());
    EXPECT_EQ(ExpectedRunData() + '\0', RunValue());
}

TEST_F(ControlPanel, RunValueOfAnotherDirectoryShowsClearedSurvivesCancelAndOKDeletesIt)
{
    const std::string other = std::string("C:\\Elsewhere\\VellmoranD.exe") + '\0';
    SetRunValue(other);
    EXPECT_EQ(IDCANCEL, RunPanel({ModalScript::Do([] {
                  EXPECT_EQ(BST_UNCHECKED, ::IsDlgButtonChecked(Panel(), IDC_LAUNCH_ON_STARTUP));
                  ::SendDlgItemMessageA(Panel(), IDC_LAUNCH_ON_STARTUP, BM_CLICK, 0, 0);
                  // Escape acts as Cancel.
                  ::PostMessageA(::GetFocus(), WM_KEYDOWN, VK_ESCAPE, 0);
              })}));
    EXPECT_EQ(other, RunValue());
    RunPanel({Click(IDOK)});
    EXPECT_EQ("", RunValue());
}

TEST_F(ControlPanel, OKGivesUpOnADaemonThatDoesNotStopAndStartsNoSecondOne)
{
    ::SetEnvironmentVariableA("VELLMORAN_DAEMON_IGNORE_CLOSE", "1");
    DWORD before = StartDaemon();
    MessageBoxWatcher watcher(IDOK);
    DWORD start = ::GetTickCount();
    EXPECT_EQ(IDOK, RunPanel({Click(IDOK)}));
    DWORD waited = ::GetTickCount() - start;
    EXPECT_GE(waited, CControlPanelDlg::kDaemonStopTimeoutMs);
    EXPECT_LT(waited, CControlPanelDlg::kDaemonStopTimeoutMs + 6000);
    EXPECT_EQ(std::vector<std::string>{"The lock daemon did not stop, so it was not restarted."}, watcher.Texts());
    EXPECT_EQ(::LoadCursorA(nullptr, IDC_ARROW), ::GetCursor());
    PumpMessages(1000);
    ASSERT_EQ(1u, DaemonWindows().size());
    EXPECT_EQ(before, DaemonProcess(DaemonWindows()[0]));
}
