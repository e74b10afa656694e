#pragma once

#include "controls/FlatSpin.h"
#include "framework/Framework.h"
#include "res/resource.h"
#include "wizard/HotKeyEdit.h"

// The settings wizard: four pages side by side in one dialog, cut down to
// the width of one page. "Next >" and "< Back" slide every control a page
// width; which page shows follows only from where the controls stand.
class CSettingsDlg : public CIconDialog {
public:
    explicit CSettingsDlg(CWnd* parent = nullptr);
    ~CSettingsDlg() override;

protected:
    void DoDataExchange(CDataExchange* dx) override;
    BOOL PreTranslateMessage(MSG* msg) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

    void OnDestroy();
    void OnApply();
    LRESULT OnKey(WPARAM wParam, LPARAM lParam);
    void OnChangePassword();
    void OnChangeImage();
    void OnNext();
    void OnBack();
    void OnPageCancel();
    void OnEnableScreensaver();

    // Fill the controls from the settings file and write them back; the
    // save is FALSE when a key could not be written (the user was told).
    void LoadSettings();
    BOOL SaveSettings();
    void SlidePages(int direction);

    BEGIN_MSG_MAP(CSettingsDlg, CIconDialog)
        ON_WM_DESTROY()
        ON_WM_QUERYDRAGICON()
        ON_COMMAND(IDC_APPLY, OnApply)
        ON_COMMAND(IDC_CHANGE_PASSWORD, OnChangePassword)
        ON_MESSAGE(WM_KEYUP, OnKey)
        ON_MESSAGE(WM_KEYDOWN, OnKey)
        ON_MESSAGE(WM_CHAR, OnKey)
        ON_COMMAND(IDC_CHANGE_IMAGE, OnChangeImage)
        ON_COMMAND(IDC_NEXT_PAGE1, OnNext)
        ON_COMMAND(IDC_NEXT_PAGE2, OnNext)
        ON_COMMAND(IDC_NEXT_PAGE3, OnNext)
        ON_COMMAND(IDC_BACK_PAGE2, OnBack)
        ON_COMMAND(IDC_BACK_PAGE3, OnBack)
        ON_COMMAND(IDC_BACK_PAGE4, OnBack)
        ON_COMMAND(IDC_CANCEL_PAGE4, OnPageCancel)
        ON_COMMAND(IDC_CANCEL_PAGE3, OnPageCancel)
        ON_COMMAND(IDC_CANCEL_PAGE2, OnPageCancel)
        ON_COMMAND(IDC_ENABLE_SCREENSAVER, OnEnableScreensaver)
    END_MSG_MAP()

    CEdit m_ctlDelay;
    CButton m_ctlPageGauge;
    CHotKeyEdit m_ctlHotKey;
    CSliderCtrl m_ctlVelocity;
    CFlatSpin m_ctlDelaySpin;
    int m_nDelay = 0;
    int m_bScreensaver = 0;
    int m_bScreenwipe = 0;
};

// Runs the settings wizard over the control panel, its owner.
void RunSettingsWizard();
