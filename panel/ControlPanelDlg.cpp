#include "panel/ControlPanelDlg.h"

#include "panel/Daemon.h"
#include "panel/LaunchOnStartup.h"
#include "settings/DaemonContract.h"
#include "wizard/SettingsDlg.h"

BYTE g_bStatusActive = 0;

namespace {
// The Run value is named after the text before the first '.'.
const char kRunValueSource[] = "VellmoranD.dll";
const UINT_PTR kStatusTimer = 1;

const char kUnusableFolder[] =
    "Vellmoran cannot work in this folder: its name holds characters that the system's code page cannot "
    "represent.\n\nMove Vellmoran to a folder whose name uses only characters of the system's code page.";

// Why a launch or a registry change failed, in the user's terms.
std::string Reason(DWORD error)
{
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
        return std::string("The file ") + Contract::kDaemonFile + " is missing from the program's folder.";
    case ERROR_FILENAME_EXCED_RANGE:
        return "The path of the program's folder is too long.";
    case ERROR_NO_UNICODE_TRANSLATION:
        return kUnusableFolder;
    }
    char text[512] = "";
    std::string reason = ::FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error,
                                          0, text, sizeof(text), nullptr) != 0
                             ? text
                             : "System error " + std::to_string(error) + ".";
    reason.erase(reason.find_last_not_of(" \r\n") + 1);
    return reason;
}

// The folder is checked before anything is started or written, so that no
// damaged path is ever used; the user hears of it once per action.
bool InstallFolderUsable()
{
    if (AfxModulePathFitsCodePage())
        return true;
    AfxMessageBox(kUnusableFolder, MB_ICONHAND);
    return false;
}
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
    if (InstallFolderUsable())
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
    if (!InstallFolderUsable())
        return;
    OnStop();
    RunSettingsWizard();
}

void CControlPanelDlg::OnOK()
{
    UpdateData(TRUE);
    // In a folder the code page cannot name, the Run value is left as it is.
    if (InstallFolderUsable())
        ApplyLaunchOnStartup();

    ::SetCursor(::LoadCursorA(nullptr, IDC_WAIT));
    bool stuck = false;
    bool relaunchFailed = false;
    DWORD launchError = ERROR_SUCCESS;
    if (HWND daemon = FindDaemonWindow()) {
        RequestDaemonStop(daemon);
        // Never start a second daemon beside one that did not stop.
        stuck = !WaitForDaemonEnd(kDaemonStopTimeoutMs);
        relaunchFailed = !stuck && !LaunchDaemon();
        launchError = ::GetLastError();
    }
    ::SetCursor(::LoadCursorA(nullptr, IDC_ARROW));
    if (stuck)
        AfxMessageBox("The lock daemon did not stop, so it was not restarted.", MB_ICONEXCLAMATION);
    // The user must not walk away believing the screen lock is on.
    if (relaunchFailed)
        AfxMessageBox("Vellmoran was stopped and could not be started again, so the screen lock is off.\n\n" +
                          Reason(launchError),
                      MB_ICONHAND);
    CDialog::OnOK();
}

void CControlPanelDlg::ApplyLaunchOnStartup()
{
    BOOL applied = m_bLaunchOnStartup ? SetLaunchOnStartup(kRunValueSource) : RemoveLaunchOnStartup(kRunValueSource);
    DWORD error = ::GetLastError();
    // A value that is not there needs no removing.
    if (applied || (!m_bLaunchOnStartup && error == ERROR_FILE_NOT_FOUND))
        return;
    AfxMessageBox("The \"Launch on Startup\" setting could not be changed.\n\n" + Reason(error), MB_ICONEXCLAMATION);
}
