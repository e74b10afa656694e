#pragma once

#include "framework/Framework.h"
#include "res/resource.h"

// 1 while the status text shows the daemon as running. It belongs to the
// process, so that the text is set only when the state really changes.
extern BYTE g_bStatusActive;

// The main window: the daemon's status, Start, Stop, "Stop && Configure" and
// "Launch on Startup".
class CControlPanelDlg : public CIconDialog {
public:
    explicit CControlPanelDlg(CWnd* parent = nullptr);
    ~CControlPanelDlg() override;

    // How long OK waits for a running daemon to end before giving up.
    static constexpr DWORD kDaemonStopTimeoutMs = 10000;

protected:
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;
    void OnOK() override;

    void OnStart();
    void OnStop();
    void OnStopAndConfigure();
    void OnTimer(UINT_PTR id);
    void RefreshStatus();
    // Writes or deletes the Run value as the box says; tells the user when
    // that failed.
    void ApplyLaunchOnStartup();

    BEGIN_MSG_MAP(CControlPanelDlg, CIconDialog)
        ON_COMMAND(IDC_STOP_AND_CONFIGURE, OnStopAndConfigure)
        ON_COMMAND(IDC_START, OnStart)
        ON_COMMAND(IDC_STOP, OnStop)
        ON_WM_TIMER()
    END_MSG_MAP()

    CStatic m_ctlStatus;
    BOOL m_bLaunchOnStartup = 0;
};
