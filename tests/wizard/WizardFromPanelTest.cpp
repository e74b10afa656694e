#include "framework/WinApp.h"
#include "panel/ControlPanelDlg.h"
#include "panel/Daemon.h"
#include "res/resource.h"
#include "tests/support/SettingsFile.h"
#include "tests/wizard/WizardDriver.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

namespace {
const char kPanelCaption[] = "Vellmoran v1.02 - Control Panel";

std::string DaemonLogPath()
{
    return ExecutableDirectory() + "\\VellmoranD.log";
}

std::string DaemonLog()
{
    std::ifstream log(DaemonLogPath());
    return std::string(std::istreambuf_iterator<char>(log), std::istreambuf_iterator<char>());
}

bool DaemonRuns()
{
    return FindDaemonWindow() != nullptr;
}

void EndDaemons()
{
    for (HWND daemon = FindDaemonWindow(); daemon != nullptr; daemon = FindDaemonWindow()) {
        RequestDaemonStop(daemon);
        WaitUntil([daemon] { return !::IsWindow(daemon); }, 5000);
    }
}

// Fault switches of the daemon stand-in, inherited by the daemons started
// while they are set.
class DaemonSwitch {
public:
    DaemonSwitch(const char* name, const char* value) : m_name(name) { ::SetEnvironmentVariableA(name, value); }
    ~DaemonSwitch() { ::SetEnvironmentVariableA(m_name, nullptr); }
    DaemonSwitch(const DaemonSwitch&) = delete;
    DaemonSwitch& operator=(const DaemonSwitch&) = delete;

private:
    const char* m_name;
};

class WizardFromPanelTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        EndDaemons();
        ::DeleteFileA(DaemonLogPath().c_str());
        DeleteSettingsFile();
    }
    void TearDown() override
    {
        EndDaemons();
        ::DeleteFileA(DaemonLogPath().c_str());
        DeleteSettingsFile();
    }
};
}  // namespace

// The daemon that "Stop && Configure" stops still holds the settings file for
// a moment; the wizard waits for it instead of showing the defaults.
TEST_F(WizardFromPanelTest, StopAndConfigureOpensTheWizardWhoseSavedSettingsTheNextDaemonReads)
{
    WriteSettingsRecords({{"m_nDelay", "9"}, {"m_bScreensaver", "1"}, {"m_csCode", "code"}});
    {
        DaemonSwitch hold("VELLMORAN_DAEMON_HOLD_SETTINGS_MS", "60000");
        DaemonSwitch slowStop("VELLMORAN_DAEMON_CLOSE_DELAY_MS", "500");
        ASSERT_TRUE(LaunchDaemon());
        ASSERT_TRUE(WaitUntil(DaemonRuns, 10000));
    }

    MessageBoxWatcher watcher(IDOK);
    CWinApp app;
    CControlPanelDlg panel;
    app.m_pMainWnd = &panel;
    HWND panelWindow = nullptr;
    std::string delayShown;
    bool wizardOwnerMatches = false;
    bool panelDisabledMeanwhile = false;
    bool daemonGoneAfterWizard = false;
    ModalScript script({
        [&] { return (panelWindow = FindThreadDialog(kPanelCaption)) != nullptr; },
        ModalScript::Do([&] { PostClick(panelWindow, IDC_STOP_AND_CONFIGURE); }),
        WaitForWizard(),
        ModalScript::Do([&] {
            HWND wizard = Wizard();
            delayShown = ControlText(wizard, IDC_DELAY);
            wizardOwnerMatches = ::GetWindow(wizard, GW_OWNER) == panelWindow;
            panelDisabledMeanwhile = !::IsWindowEnabled(panelWindow);
            ::PostMessageA(::GetDlgItem(wizard, IDC_HOTKEY), WM_KEYDOWN, VK_F5, 1);
            ::SetDlgItemTextA(wizard, IDC_DELAY, "12");
        }),
        [] { return ControlText(Wizard(), IDC_HOTKEY) == "F5"; },
        ModalScript::Do([] { PostClick(Wizard(), IDOK); }),
        WaitForWizardGone(),
        ModalScript::Do([&] {
            daemonGoneAfterWizard = !DaemonRuns();
            PostClick(panelWindow, IDC_START);
        }),
        DaemonRuns,
        ModalScript::Do([&] { PostClick(panelWindow, IDCANCEL); }),
    });
    panel.DoModal();
    app.m_pMainWnd = nullptr;

    EXPECT_TRUE(watcher.Boxes().empty()) << watcher.Boxes()[0].text;
    EXPECT_EQ("9", delayShown);
    EXPECT_TRUE(wizardOwnerMatches);
    EXPECT_TRUE(panelDisabledMeanwhile);
    EXPECT_TRUE(daemonGoneAfterWizard);
    EXPECT_EQ("m_nVirtualKey=116\n"
              "m_bScreenwipe=0\n"
              "m_bScreensaver=1\n"
              "m_nVelocity=500\n"
              "m_nDelay=12\n"
              "m_csCode=code\n",
              DaemonLog());
}
