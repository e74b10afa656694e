#include "panel/ControlPanelDlg.h"

#include "panel/Daemon.h"
#include "panel/LaunchOnStartup.h"
#include "wizard/SettingsDlg.h"

BYTE g_bStatusActive = 0;

namespace {
// The Run value is named after the text before the first '.'.
const char kRunValueSource[] = "VellmoranD.dll";
const UINT_PTR kStatusTimer = 1;
}  // namespace

CControlPanelDlg::CControlPanelDlg(CWnd* parent)
    : CIconDialog(IDD_CONTROLPANEL, IDR_MAINFRAME, parent)
{
}

CControlPanelDlg::~CControlPanelDlg() = default;

void CControlPanelDlg::DoDataExchange(CDataExchange* dx)
{
    CDialog::DoDataExchange(dx);
    DDX_Control(dx, IDC_STATUS, m_ctlStatus);
    DDX_Check(dx, IDC_LAUNCH_ON_STARTUP, m_bLaunchOnStartup);
}

BOOL CControlPanelDlg::OnInitDialog()
{
    CIconDialog::OnInitDialog();
    m_bLaunchOnStartup = IsLaunchOnStartup(kRunValueSource);
    RefreshStatus();
    SetTimer(kStatusTimer, 1000);
    UpdateData(FALSE);
    return TRUE;
}

void CControlPanelDlg::RefreshStatus()
{
    bool running = FindDaemonWindow() != nullptr;
    if (running && !g_bStatusActive) {
        m_ctlStatus.SetWindowText("Vellmoran is ACTIVE");
        g_bStatusActive = 1;
    } else if (!running && g_bStatusActive) {
        m_ctlStatus.SetWindowText("Vellmoran is OFF");
        g_bStatusActive = 0;
    }
}

void CControlPanelDlg::OnTimer(UINT_PTR id)
{
    if (id == kStatusTimer)
        RefreshStatus();
    SetMsgHandled(FALSE);
}

void CControlPanelDlg::OnStart()
{
    LaunchDaemon();
}

void CControlPanelDlg::OnStop()
{
    if (HWND daemon = FindDaemonWindow())
        RequestDaemonStop(daemon);
}

// The wizard opens at once, without waiting for the daemon to end, and the
// daemon stays stopped afterwards until the user presses Start.
void CControlPanelDlg::OnStopAndConfigure()
{
    OnStop();
    RunSettingsWizard();
}

void CControlPanelDlg::OnOK()
{
    UpdateData(TRUE);
    if (m_bLaunchOnStartup)
        SetLaunchOnStartup(kRunValueSource);
    else
        RemoveLaunchOnStartup(kRunValueSource);

    ::SetCursor(::LoadCursorA(nullptr, IDC_WAIT));
    bool stuck = false;
    if (HWND daemon = FindDaemonWindow()) {
        RequestDaemonStop(daemon);
        // Never start a second daemon beside one that did not stop.
        stuck = !WaitForDaemonEnd(kDaemonStopTimeoutMs);
        if (!stuck)
            LaunchDaemon();
    }
    ::SetCursor(::LoadCursorA(nullptr, IDC_ARROW));
    if (stuck)
        AfxMessageBox("The lock daemon did not stop, so it was not restarted.", MB_ICONEXCLAMATION);
    CDialog::OnOK();
}
