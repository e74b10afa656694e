#include "settings/ChangePassword.h"

#include "framework/MessageBox.h"
#include "settings/ChangePasswordDlg.h"
#include "settings/PasswordScrambler.h"
#include "settings/SecureWipe.h"
#include "settings/SettingsKeys.h"
#include "settings/SettingsStore.h"

namespace {
void Refuse(const char* text)
{
    AfxMessageBox(text, MB_ICONHAND | MB_OK);
}
}  // namespace

void RunChangePasswordFlow()
{
    CChangePasswordDlg dialog;
    if (dialog.DoModal() != IDOK)
        return;

    CSettingsStore store(Settings::kFileName);
    std::string oldCode = dialog.m_csOldPassword;
    std::string storedCode;
    std::string newCode;
    CWipeOnExit wipe{&oldCode, &storedCode, &newCode};

    // A failed read is either a file without a code or a file that the lock
    // daemon holds; only the first may take a first password, which has no
    // old one to prove. An empty code is the code of the empty password, so
    // it protects nothing either.
    if (!store.ReadString(Settings::kCode, storedCode) && !store.CanOpen()) {
        Refuse("The settings file is in use by another program, so the password was not changed.");
        return;
    }
    if (oldCode.empty() && !storedCode.empty()) {
        Refuse("You must enter a value for the old password.");
        return;
    }
    ScramblePassword(oldCode);
    if (oldCode != storedCode) {
        Refuse("Unable to change the password because the old password is wrong.");
        return;
    }
    if (dialog.m_csNewPassword.empty()) {
        Refuse("You must enter a value for the new password.");
        return;
    }
    if (dialog.m_csConfirmPassword != dialog.m_csNewPassword) {
        Refuse("Unable to change the password because the new and the confirmation passwords mismatch.");
        return;
    }
    newCode = dialog.m_csNewPassword;
    ScramblePassword(newCode);
    if (!store.WriteString(Settings::kCode, newCode)) {
        Refuse("The new password could not be saved in the settings file, so the password was not changed.");
        return;
    }
    AfxMessageBox("The password has been changed.", MB_ICONINFORMATION | MB_OK);
}
