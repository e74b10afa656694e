#include "settings/ChangePasswordDlg.h"

#include "res/resource.h"
#include "settings/SecureWipe.h"

namespace {
const int kMaxPasswordChars = 32;
}  // namespace

CChangePasswordDlg::CChangePasswordDlg(CWnd* parent) : CDialog(IDD_CHANGE_PASSWORD, parent)
{
}

CChangePasswordDlg::~CChangePasswordDlg()
{
    SecureWipe(m_csConfirmPassword);
    SecureWipe(m_csNewPassword);
    SecureWipe(m_csOldPassword);
}

void CChangePasswordDlg::DoDataExchange(CDataExchange* dx)
{
    DDX_Text(dx, IDC_CONFIRM_PASSWORD, m_csConfirmPassword);
    DDV_MaxChars(dx, m_csConfirmPassword, kMaxPasswordChars);
    DDX_Text(dx, IDC_NEW_PASSWORD, m_csNewPassword);
    DDV_MaxChars(dx, m_csNewPassword, kMaxPasswordChars);
    DDX_Text(dx, IDC_OLD_PASSWORD, m_csOldPassword);
    DDV_MaxChars(dx, m_csOldPassword, kMaxPasswordChars);
}
