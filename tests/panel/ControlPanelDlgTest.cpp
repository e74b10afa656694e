#include "panel/ControlPanelDlg.h"
#include "panel/Daemon.h"
#include "panel/LaunchOnStartup.h"
#include "tests/panel/DaemonProcesses.h"
#include "tests/panel/RunValue.h"
#include "tests/support/GuiDriver.h"

#include <gtest/gtest.h>

namespace {
using Step = ModalScript::Step;

const char kCaption[] = "Vellmoran v1.02 - Control Panel";

HWND Panel()
{
    return FindThreadDialog(kCaption);
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

DWORD DaemonProcess(HWND window)
{
    DWORD processId = 0;
    ::GetWindowThreadProcessId(window, &processId);
    return processId;
}

HWND StartDaemonAndWait()
{
    EXPECT_TRUE(LaunchDaemon());
    EXPECT_TRUE(WaitUntil([] { return FindDaemonWindow() != nullptr; }, 10000));
    return FindDaemonWindow();
}

// Counts the texts set on one window, through a hook on this thread.
class SetTextCounter {
public:
    SetTextCounter()
    {
        s_count = 0;
        m_hook = ::SetWindowsHookExA(WH_CALLWNDPROC, Hook, nullptr, ::GetCurrentThreadId());
    }
    ~SetTextCounter() { ::UnhookWindowsHookEx(m_hook); }
    SetTextCounter(const SetTextCounter&) = delete;
    SetTextCounter& operator=(const SetTextCounter&) = delete;

    static int Count() { return s_count; }

private:
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam)
    {
        const CWPSTRUCT* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
        if (code == HC_ACTION && call->message == WM_SETTEXT && ::GetDlgCtrlID(call->hwnd) == IDC_STATUS &&
            ::GetParent(call->hwnd) == Panel())
            ++s_count;
        return ::CallNextHookEx(nullptr, code, wParam, lParam);
    }

    static int s_count;
    HHOOK m_hook;
};
int SetTextCounter::s_count = 0;

class ControlPanel : public ::testing::Test {
protected:
    void SetUp() override
    {
        EndAllDaemons();
        ForgetRunValue();
        g_bStatusActive = 0;
    }
    void TearDown() override
    {
        for (const char* name : {"VELLMORAN_DAEMON_IGNORE_CLOSE", "VELLMORAN_DAEMON_CLOSE_DELAY_MS",
                                 "VELLMORAN_DAEMON_NO_WINDOW"})
            SetDaemonSwitch(name, nullptr);
        EndAllDaemons();
        ForgetRunValue();
    }

    INT_PTR RunPanel(std::vector<Step> steps)
    {
        CControlPanelDlg panel;
        ModalScript script(std::move(steps), 40000);
        return panel.DoModal();
    }
};
}  // namespace

TEST_F(ControlPanel, OpensCentredWithFocusOnOKAndTheDaemonOff)
{
    INT_PTR result = RunPanel({
        ModalScript::Do([] {
            HWND panel = Panel();
            ASSERT_NE(nullptr, panel);
            EXPECT_TRUE(::IsWindowVisible(panel));
            EXPECT_EQ(::GetDlgItem(panel, IDOK), ::GetFocus());
            EXPECT_EQ("Vellmoran is OFF", Status());
            EXPECT_EQ(BST_UNCHECKED, ::IsDlgButtonChecked(panel, IDC_LAUNCH_ON_STARTUP));
            RECT work, rect;
            ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
            ::GetWindowRect(panel, &rect);
            EXPECT_LE(std::abs((rect.left + rect.right) - (work.left + work.right)), 2);
            EXPECT_LE(std::abs((rect.top + rect.bottom) - (work.top + work.bottom)), 2);
            EXPECT_EQ(::LoadIconA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAINFRAME)),
                      reinterpret_cast<HICON>(::SendMessageA(panel, WM_GETICON, ICON_BIG, 0)));
            PostClick(panel, IDCANCEL);
        }),
    });
    EXPECT_EQ(IDCANCEL, result);
}

TEST_F(ControlPanel, StatusTextIsSetOnlyWhenTheDaemonComesOrGoes)
{
    // Any top-level window with the daemon's title counts as the daemon.
    HWND fakeDaemon = ::CreateWindowExA(0, "Static", "V3LLM0R4ND", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                        nullptr, nullptr);
    ASSERT_NE(nullptr, fakeDaemon);
    SetTextCounter counter;
    RunPanel({
        ModalScript::Do([] {
            // Right after opening, before the first tick.
            EXPECT_EQ("Vellmoran is ACTIVE", Status());
            EXPECT_EQ(1, SetTextCounter::Count());
        }),
        ModalScript::Pause(2500),
        ModalScript::Do([&] {
            EXPECT_EQ(1, SetTextCounter::Count());
            ::DestroyWindow(fakeDaemon);
        }),
        StatusBecomes("Vellmoran is OFF"),
        ModalScript::Pause(2500),
        ModalScript::Do([] {
            EXPECT_EQ(2, SetTextCounter::Count());
            PostClick(Panel(), IDCANCEL);
        }),
    });
}

TEST_F(ControlPanel, StartTwiceStartsTwoDaemonsAndStopEndsOne)
{
    RunPanel({
        ModalScript::Do([] {
            PostClick(Panel(), IDC_START);
            PostClick(Panel(), IDC_START);
        }),
        [] { return DaemonWindows().size() == 2; },
        StatusBecomes("Vellmoran is ACTIVE"),
        ModalScript::Do([] { PostClick(Panel(), IDC_STOP); }),
        [] { return DaemonWindows().size() == 1; },
        ModalScript::Do([] { PostClick(Panel(), IDC_STOP); }),
        [] { return DaemonWindows().empty(); },
        StatusBecomes("Vellmoran is OFF"),
        ModalScript::Do([] { PostClick(Panel(), IDCANCEL); }),
    });
}

TEST_F(ControlPanel, OKRestartsARunningDaemon)
{
    DWORD before = DaemonProcess(StartDaemonAndWait());
    INT_PTR result = RunPanel({
        StatusBecomes("Vellmoran is ACTIVE"),
        ModalScript::Do([] { PostClick(Panel(), IDOK); }),
    });
    EXPECT_EQ(IDOK, result);
    ASSERT_TRUE(WaitUntil([] { return FindDaemonWindow() != nullptr; }, 10000));
    PumpMessages(500);
    ASSERT_EQ(1u, DaemonWindows().size());
    EXPECT_NE(before, DaemonProcess(DaemonWindows()[0]));
}

TEST_F(ControlPanel, OKWaitsForASlowDaemonBeforeRestartingIt)
{
    SetDaemonSwitch("VELLMORAN_DAEMON_CLOSE_DELAY_MS", "800");
    DWORD before = DaemonProcess(StartDaemonAndWait());
    DWORD start = 0;
    INT_PTR result = RunPanel({
        ModalScript::Do([&] {
            start = ::GetTickCount();
            PostClick(Panel(), IDOK);
        }),
    });
    EXPECT_EQ(IDOK, result);
    EXPECT_GE(::GetTickCount() - start, 800u);
    ASSERT_TRUE(WaitUntil([] { return FindDaemonWindow() != nullptr; }, 10000));
    PumpMessages(500);
    ASSERT_EQ(1u, DaemonWindows().size());
    EXPECT_NE(before, DaemonProcess(DaemonWindows()[0]));
}

TEST_F(ControlPanel, OKGivesUpOnADaemonThatDoesNotStopAndStartsNoSecondOne)
{
    SetDaemonSwitch("VELLMORAN_DAEMON_IGNORE_CLOSE", "1");
    DWORD before = DaemonProcess(StartDaemonAndWait());
    MessageBoxWatcher watcher(IDOK);
    DWORD start = 0;
    INT_PTR result = RunPanel({
        ModalScript::Do([&] {
            start = ::GetTickCount();
            PostClick(Panel(), IDOK);
        }),
    });
    DWORD waited = ::GetTickCount() - start;
    EXPECT_EQ(IDOK, result);
    EXPECT_GE(waited, CControlPanelDlg::kDaemonStopTimeoutMs);
    // The bound plus one step and the message box.
    EXPECT_LT(waited, CControlPanelDlg::kDaemonStopTimeoutMs + 6000);
    ASSERT_EQ(1u, watcher.Boxes().size());
    EXPECT_EQ("The lock daemon did not stop, so it was not restarted.", watcher.Boxes()[0].text);
    EXPECT_EQ(::LoadCursorA(nullptr, IDC_ARROW), ::GetCursor());
    PumpMessages(1000);
    ASSERT_EQ(1u, DaemonWindows().size());
    EXPECT_EQ(before, DaemonProcess(DaemonWindows()[0]));
}

TEST_F(ControlPanel, OKWithoutADaemonWritesTheRunValueAndStartsNothing)
{
    INT_PTR result = RunPanel({
        ModalScript::Do([] {
            ::SendDlgItemMessageA(Panel(), IDC_LAUNCH_ON_STARTUP, BM_CLICK, 0, 0);
            PostClick(Panel(), IDOK);
        }),
    });
    EXPECT_EQ(IDOK, result);
    DWORD type = 0;
    std::string bytes;
    ASSERT_TRUE(ReadRunValue(type, bytes));
    EXPECT_EQ(ExpectedRunData() + '\0', bytes);
    PumpMessages(1500);
    EXPECT_TRUE(DaemonWindows().empty());
}

TEST_F(ControlPanel, RunValueOfAnotherDirectoryShowsClearedAndOKDeletesIt)
{
    StoreRunValue(REG_SZ, std::string("C:\\Elsewhere\\VellmoranD.exe") + '\0');
    RunPanel({
        ModalScript::Do([] {
            EXPECT_EQ(BST_UNCHECKED, ::IsDlgButtonChecked(Panel(), IDC_LAUNCH_ON_STARTUP));
            PostClick(Panel(), IDOK);
        }),
    });
    DWORD type;
    std::string bytes;
    EXPECT_FALSE(ReadRunValue(type, bytes));
}

TEST_F(ControlPanel, OurRunValueShowsTickedAndSurvivesOK)
{
    ASSERT_TRUE(SetLaunchOnStartup("VellmoranD.dll"));
    RunPanel({
        ModalScript::Do([] {
            EXPECT_EQ(BST_CHECKED, ::IsDlgButtonChecked(Panel(), IDC_LAUNCH_ON_STARTUP));
            PostClick(Panel(), IDOK);
        }),
    });
    EXPECT_TRUE(IsLaunchOnStartup("VellmoranD.dll"));
}

TEST_F(ControlPanel, CancelLeavesTheRunValueAndTheDaemonAlone)
{
    const std::string other = std::string("C:\\Elsewhere\\VellmoranD.exe") + '\0';
    StoreRunValue(REG_SZ, other);
    DWORD before = DaemonProcess(StartDaemonAndWait());
    INT_PTR result = RunPanel({
        ModalScript::Do([] {
            ::SendDlgItemMessageA(Panel(), IDC_LAUNCH_ON_STARTUP, BM_CLICK, 0, 0);
            EXPECT_EQ(BST_CHECKED, ::IsDlgButtonChecked(Panel(), IDC_LAUNCH_ON_STARTUP));
            // Escape acts as Cancel.
            ::PostMessageA(::GetFocus(), WM_KEYDOWN, VK_ESCAPE, 0);
        }),
    });
    EXPECT_EQ(IDCANCEL, result);
    DWORD type;
    std::string bytes;
    ASSERT_TRUE(ReadRunValue(type, bytes));
    EXPECT_EQ(other, bytes);
    ASSERT_EQ(1u, DaemonWindows().size());
    EXPECT_EQ(before, DaemonProcess(DaemonWindows()[0]));
}

TEST_F(ControlPanel, ADaemonThatFailsToStartLeavesTheStatusOffSilently)
{
    SetDaemonSwitch("VELLMORAN_DAEMON_NO_WINDOW", "1");
    MessageBoxWatcher watcher(IDOK);
    RunPanel({
        ModalScript::Do([] { PostClick(Panel(), IDC_START); }),
        ModalScript::Pause(2500),
        ModalScript::Do([] {
            EXPECT_EQ("Vellmoran is OFF", Status());
            PostClick(Panel(), IDCANCEL);
        }),
    });
    EXPECT_TRUE(watcher.Boxes().empty());
}

TEST_F(ControlPanel, StopAndConfigureStopsTheDaemonFirst)
{
    StartDaemonAndWait();
    MessageBoxWatcher watcher(IDOK);
    RunPanel({
        ModalScript::Do([] { PostClick(Panel(), IDC_STOP_AND_CONFIGURE); }),
        [] { return DaemonWindows().empty(); },
        // The wizard, if one opened over the panel, is cancelled; then the
        // panel itself.
        ModalScript::Do([] {
            if (HWND wizard = FindThreadDialog("Vellmoran - Settings"))
                PostClick(wizard, IDCANCEL);
        }),
        [] { return FindThreadDialog("Vellmoran - Settings") == nullptr; },
        ModalScript::Do([] { PostClick(Panel(), IDCANCEL); }),
    });
    PumpMessages(1500);
    EXPECT_TRUE(DaemonWindows().empty());
}
