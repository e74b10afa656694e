#include "settings/ChangePassword.h"

#include "framework/MessageBox.h"
#include "settings/ChangePasswordDlg.h"
#include "settings/PasswordScrambler.h"
#include "settings/SecureWipe.h"
#include "settings/SettingsBatch.h"
#include "settings/SettingsFileReport.h"
#include "settings/SettingsKeys.h"
#include "settings/SettingsStore.h"

namespace {
const char kNotChanged[] = "the password was not changed";
const char kChanged[] = "The password has been changed.";

// Proves the old password and stores the new code under one open of the
// file, so that nobody can come between the read of the stored code and the
// write: the code that was proven is the code that is replaced. Returns the
// text to show; the file is closed again before the user sees it.
std::string ChangeStoredCode(const CChangePasswordDlg& dialog)
{
    std::string oldCode = dialog.m_csOldPassword;
    std::string storedCode;
    std::string newCode;
    CWipeOnExit wipe{&oldCode, &storedCode, &newCode};

    CSettingsStore store(Settings::kFileName);
    CSettingsBatch batch(store);
    SettingsRead read = batch.ReadString(Settings::kCode, storedCode);
    if (read == SettingsRead::notOpened)
        return SettingsFileRefusal(batch, kNotChanged);
    // Only a file read to its end without a code may take a first password,
    // which has no old one to prove. An empty code is the code of the empty
    // password, so it protects nothing either.
    if (oldCode.empty() && !storedCode.empty())
        return "You must enter a value for the old password.";
    ScramblePassword(oldCode);
    if (oldCode != storedCode)
        return "Unable to change the password because the old password is wrong.";
    if (dialog.m_csNewPassword.empty())
        return "You must enter a value for the new password.";
    if (dialog.m_csConfirmPassword != dialog.m_csNewPassword)
        return "Unable to change the password because the new and the confirmation passwords mismatch.";
    newCode = dialog.m_csNewPassword;
    ScramblePassword(newCode);

    SettingsWrite written = batch.WriteAll({{Settings::kCode, newCode}});
    if (written == SettingsWrite::damagedEnd) {
        RepairAnswer answer = OfferToRepairDamagedEnd(batch, "the password is changed");
        if (answer == RepairAnswer::copyFailed)
            return RepairRefusal(kNotChanged);
        if (answer == RepairAnswer::repaired)
            written = batch.WriteAll({{Settings::kCode, newCode}});
    }
    return written == SettingsWrite::written ? kChanged : SettingsFileRefusal(batch, kNotChanged);
}
}  // namespace

void RunChangePasswordFlow()
{
    CChangePasswordDlg dialog;
    if (dialog.DoModal() != IDOK)
        return;
    std::string message = ChangeStoredCode(dialog);
    AfxMessageBox(message, message == kChanged ? MB_ICONINFORMATION | MB_OK : MB_ICONHAND | MB_OK);
}
