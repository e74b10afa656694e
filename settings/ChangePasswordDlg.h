#pragma once

#include "framework/Framework.h"

// Asks for the old password, the new one and its confirmation, each at most
// 32 characters, typed into masked edit boxes. The fields always start
// empty; the edit boxes are wiped before they go, and the typed passwords
// when the dialog object goes.
class CChangePasswordDlg : public CDialog {
public:
    explicit CChangePasswordDlg(CWnd* parent = nullptr);
    ~CChangePasswordDlg() override;

    std::string m_csConfirmPassword;
    std::string m_csNewPassword;
    std::string m_csOldPassword;

protected:
    void DoDataExchange(CDataExchange* dx) override;
    void OnDestroy();

    BEGIN_MSG_MAP(CChangePasswordDlg, CDialog)
        ON_WM_DESTROY()
    END_MSG_MAP()
};
