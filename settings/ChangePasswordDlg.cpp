#include "settings/ChangePasswordDlg.h"

#include "res/resource.h"
#include "settings/DaemonContract.h"
#include "settings/SecureWipe.h"

namespace {
const int kPasswordEdits[] = {IDC_OLD_PASSWORD, IDC_NEW_PASSWORD, IDC_CONFIRM_PASSWORD};

const char kNotInCodePage[] =
    "The new password contains characters that this computer's code page cannot store, so the lock "
    "could not tell them apart. Use other characters.";

// Takes a password out of its edit box through buffers that are wiped
// afterwards: the string the framework would return lives on unwiped. Text
// beyond the buffer is cut, still long enough to be refused as too long. A
// new password must be stored as typed: a character that the code page
// cannot hold would become "?", which any such character would then match.
void DDX_Password(CDataExchange* dx, int id, std::string& value, bool stored = false)
{
    if (!dx->m_bSaveAndValidate) {
        DDX_Text(dx, id, value);
        return;
    }
    HWND edit = dx->PrepareEditCtrl(id);
    wchar_t wide[4 * Contract::kMaxPasswordChars];
    char ansi[sizeof(wide)];
    int length = ::GetWindowTextW(edit, wide, 4 * Contract::kMaxPasswordChars);
    BOOL lost = FALSE;
    int bytes = ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide, length, ansi, sizeof(ansi), nullptr,
                                      stored ? &lost : nullptr);
    value.assign(ansi, static_cast<size_t>(bytes));
    SecureWipe(wide, sizeof(wide));
    SecureWipe(ansi, sizeof(ansi));
    if (lost) {
        SecureWipe(value);
        dx->Fail(kNotInCodePage);
    }
}
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
    DDX_Password(dx, IDC_CONFIRM_PASSWORD, m_csConfirmPassword);
    DDV_MaxChars(dx, m_csConfirmPassword, Contract::kMaxPasswordChars);
    DDX_Password(dx, IDC_NEW_PASSWORD, m_csNewPassword, true);
    DDV_MaxChars(dx, m_csNewPassword, Contract::kMaxPasswordChars);
    DDX_Password(dx, IDC_OLD_PASSWORD, m_csOldPassword);
    DDV_MaxChars(dx, m_csOldPassword, Contract::kMaxPasswordChars);
}

// An edit box frees its text unwiped when it is destroyed. Text of the same
// length written over it lands in the same buffer; only then is it emptied.
void CChangePasswordDlg::OnDestroy()
{
    for (int id : kPasswordEdits) {
        HWND edit = ::GetDlgItem(m_hWnd, id);
        std::wstring filler(static_cast<size_t>(::GetWindowTextLengthW(edit)), L'*');
        ::SetWindowTextW(edit, filler.c_str());
        ::SendMessageW(edit, EM_EMPTYUNDOBUFFER, 0, 0);
        ::SetWindowTextW(edit, L"");
    }
    SetMsgHandled(FALSE);
}
