#include "wizard/SettingsDlg.h"

#include "settings/ChangePassword.h"
#include "settings/SettingsKeys.h"
#include "wizard/CenterOnOwnerOrScreen.h"
#include "wizard/DialogScale.h"
#include "wizard/LockImage.h"
#include "wizard/PageSlide.h"
#include "wizard/WizardSettings.h"

namespace {
// The window's height once cut down to one page, in pixels at 96 DPI; the
// buttons would lie below its edge at other DPIs unless it grew with them.
const int kWindowHeightAt96Dpi = 320;
}  // namespace

CSettingsDlg::CSettingsDlg(CWnd* parent) : CIconDialog(IDD_SETTINGS, IDR_MAINFRAME, parent)
{
}

CSettingsDlg::~CSettingsDlg() = default;

void CSettingsDlg::DoDataExchange(CDataExchange* dx)
{
    CDialog::DoDataExchange(dx);
    DDX_Control(dx, IDC_DELAY, m_ctlDelay);
    DDX_Control(dx, IDC_PAGE_GAUGE, m_ctlPageGauge);
    DDX_Control(dx, IDC_HOTKEY, m_ctlHotKey);
    DDX_Control(dx, IDC_VELOCITY, m_ctlVelocity);
    DDX_Control(dx, IDC_DELAY_SPIN, m_ctlDelaySpin);
    DDX_Text(dx, IDC_DELAY, m_nDelay);
    DDV_MinMaxInt(dx, m_nDelay, Settings::kMinDelay, Settings::kMaxDelay);
    DDX_Check(dx, IDC_ENABLE_SCREENSAVER, m_bScreensaver);
    DDX_Check(dx, IDC_ENABLE_SCREENWIPE, m_bScreenwipe);
}

// Enter and Escape go to the focused control like any other key: the
// hot-key edit takes them as keys, and neither may close the wizard.
BOOL CSettingsDlg::PreTranslateMessage(MSG* msg)
{
    if (msg->message == WM_KEYDOWN && (msg->wParam == VK_ESCAPE || msg->wParam == VK_RETURN))
        return FALSE;
    return CDialog::PreTranslateMessage(msg);
}

BOOL CSettingsDlg::OnInitDialog()
{
    CIconDialog::OnInitDialog();
    m_ctlDelaySpin.SendMessage(UDM_SETRANGE32, Settings::kMinDelayByArrows, Settings::kMaxDelay);
    m_ctlVelocity.SetRangeMin(Settings::kMinVelocity, FALSE);
    m_ctlVelocity.SetRangeMax(Settings::kMaxVelocity, FALSE);
    m_ctlVelocity.SetTicFreq(Settings::kVelocityTick);

    // A file error must not leave the window four pages wide: report it
    // and go on with what was read.
    try {
        LoadSettings();
    } catch (...) {
        AfxReportCurrentException();
    }

    RECT page;
    m_ctlPageGauge.GetClientRect(&page);
    MoveWindow(page.left, page.top, page.right - page.left, ScaledFrom96Dpi(m_hWnd, kWindowHeightAt96Dpi) - page.top, TRUE);
    CenterOnOwnerOrScreen(m_hWnd);
    return TRUE;
}

// A stored 0 means "not set" for the velocity and the delay, as a missing key
// does.
void CSettingsDlg::LoadSettings()
{
    WizardSettings stored;
    std::string problem = ReadWizardSettings(stored);
    m_ctlHotKey.SetKey(stored.virtualKey);
    m_bScreenwipe = stored.screenwipe;
    m_bScreensaver = stored.screensaver;
    m_ctlDelay.EnableWindow(m_bScreensaver != 0);
    m_ctlVelocity.SetPos(stored.velocity != 0 ? stored.velocity : Settings::kDefaultVelocity);
    m_nDelay = stored.delay != 0 ? stored.delay : Settings::kDefaultDelay;
    UpdateData(FALSE);
    // Without this, an OK would silently write the defaults over the stored
    // settings.
    if (!problem.empty())
        AfxMessageBox(problem, MB_ICONEXCLAMATION);
}

// FALSE, and the user told why, when the file did not take all five.
BOOL CSettingsDlg::SaveSettings()
{
    WizardSettings shown;
    shown.virtualKey = m_ctlHotKey.m_nKeyCode;
    shown.screenwipe = m_bScreenwipe;
    shown.screensaver = m_bScreensaver;
    shown.velocity = m_ctlVelocity.GetPos();
    shown.delay = m_nDelay;
    return SaveWizardSettings(shown);
}

void CSettingsDlg::OnOK()
{
    if (!UpdateData(TRUE))
        return;
    if (!SaveSettings())
        return;
    CDialog::OnOK();
}

void CSettingsDlg::OnCancel()
{
    EndDialog(IDCANCEL);
}

// A bitmap static leaves the bitmap it loaded from the template to its owner:
// 411 KB and a GDI object at every opening otherwise. Taking it out first
// means no control still shows it, and that a system static that frees its
// own image cannot free it a second time.
void CSettingsDlg::OnDestroy()
{
    for (HWND child = ::GetWindow(m_hWnd, GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT)) {
        char className[16] = "";
        ::GetClassNameA(child, className, sizeof(className));
        if (lstrcmpiA(className, "Static") != 0 || (::GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) != SS_BITMAP)
            continue;
        if (HGDIOBJ image = reinterpret_cast<HGDIOBJ>(::SendMessageA(child, STM_SETIMAGE, IMAGE_BITMAP, 0)))
            ::DeleteObject(image);
    }
    SetMsgHandled(FALSE);
}

void CSettingsDlg::OnApply()
{
    if (!UpdateData(TRUE))
        return;
    SaveSettings();
}

// Keys that reach the dialog window itself get the dialog's own handling.
LRESULT CSettingsDlg::OnKey(WPARAM, LPARAM)
{
    SetMsgHandled(FALSE);
    return 0;
}

void CSettingsDlg::OnChangePassword()
{
    RunChangePasswordFlow();
}

void CSettingsDlg::OnChangeImage()
{
    ChooseLockImage(m_hWnd);
}

void CSettingsDlg::OnNext()
{
    SlidePages(-1);
}

void CSettingsDlg::OnBack()
{
    SlidePages(+1);
}

void CSettingsDlg::OnPageCancel()
{
    OnCancel();
}

void CSettingsDlg::OnEnableScreensaver()
{
    UpdateData(TRUE);
    m_ctlDelay.EnableWindow(m_bScreensaver != 0);
}

void CSettingsDlg::SlidePages(int direction)
{
    RECT page;
    m_ctlPageGauge.GetClientRect(&page);
    SlideChildWindows(m_hWnd, page.right - page.left, direction);
}

void RunSettingsWizard()
{
    CSettingsDlg wizard;
    wizard.DoModal();
}
