#include "res/resource.h"
#include "settings/ChangePassword.h"
#include "settings/ChangePasswordDlg.h"
#include "settings/PasswordScrambler.h"
#include "settings/SecureWipe.h"
#include "tests/support/GuiDriver.h"
#include "tests/support/SettingsFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <memory>

namespace {
const char kCaption[] = "Vellmoran - Change Password";
const char kOldEmpty[] = "You must enter a value for the old password.";
const char kOldWrong[] = "Unable to change the password because the old password is wrong.";
const char kNewEmpty[] = "You must enter a value for the new password.";
const char kMismatch[] = "Unable to change the password because the new and the confirmation passwords mismatch.";
const char kInUse[] = "The settings file is in use by another program, so the password was not changed.";
const char kChanged[] = "The password has been changed.";

// Runs the flow, types the three fields key by key and ends the dialog with
// the command, perhaps while another opener holds the settings file. Returns
// the text of the message boxes shown, each checked to have a single OK
// button and the stop icon (information for a success).
std::string RunFlow(std::vector<std::string> typed, int command = IDOK, bool held = false)
{
    auto holder = held ? std::make_unique<HeldSettingsFile>() : nullptr;
    MessageBoxWatcher watcher(IDOK);
    HWND dialog = nullptr;
    ModalScript script({
        [&dialog] { return (dialog = FindThreadDialog(kCaption)) != nullptr && ::IsWindowVisible(dialog); },
        ModalScript::Do([&] {
            EXPECT_EQ(::GetDlgItem(dialog, IDOK), ::GetFocus()) << "the dialog opens with OK focused";
            for (int i = 0; i < 3; ++i) {  // old, new and confirmation have consecutive ids
                HWND edit = ::GetDlgItem(dialog, IDC_OLD_PASSWORD + i);
                for (char c : typed[i])
                    ::SendMessageA(edit, WM_CHAR, static_cast<unsigned char>(c), 0);
                EXPECT_EQ(std::min<size_t>(32, typed[i].size()), ::GetWindowTextLengthA(edit)) << "edit " << i;
            }
            UserClick(dialog, command);
        }),
    });
    RunChangePasswordFlow();
    std::string texts;
    for (const MessageBoxRecord& box : watcher.Boxes()) {
        EXPECT_EQ(::LoadIconA(nullptr, box.text == kChanged ? IDI_ASTERISK : IDI_HAND), box.icon) << box.text;
        EXPECT_EQ(std::vector<int>{IDOK}, box.buttons) << box.text;
        texts += box.text;
    }
    return texts;
}
}  // namespace

TEST(ScramblePassword, KnownCodes)
{
    auto Scrambled = [](std::string password) { return ScramblePassword(password), password; };
    EXPECT_EQ("298e2823f33e", Scrambled("secret"));
    EXPECT_EQ("92829238afbc666a320348", Scrambled("Password123"));
    EXPECT_EQ("", Scrambled(""));
    EXPECT_EQ(Scrambled("a\nb"), Scrambled("aZb"));
}

TEST(SecureWipe, WholeBuffer)
{
    std::string secret(40, 's');
    secret.resize(10);
    const char* buffer = secret.data();
    SecureWipe(secret);
    EXPECT_EQ(std::string(40, '\0'), std::string(buffer, 40));
}

// Typed passwords do not outlive the dialog in its memory, where a later
// reader of the process's memory would find them.
TEST(ChangePassword, TypedPasswordsWiped)
{
    const std::string typed[3] = {"Zq7#old", "Ny4!new", "Ny4!new"};  // short: held within the dialog itself
    alignas(CChangePasswordDlg) unsigned char memory[sizeof(CChangePasswordDlg)];
    CChangePasswordDlg* dialog = new (memory) CChangePasswordDlg;
    ModalScript script({[] { return ::IsWindowVisible(FindThreadDialog(kCaption)) != FALSE; }, ModalScript::Do([&] {
        for (int i = 0; i < 3; ++i)
            for (char c : typed[i])
                ::SendDlgItemMessageA(FindThreadDialog(kCaption), IDC_OLD_PASSWORD + i, WM_CHAR, c, 0);
        UserClick(FindThreadDialog(kCaption), IDOK);
    })});
    EXPECT_EQ(IDOK, dialog->DoModal());
    EXPECT_EQ(typed[0], dialog->m_csOldPassword);
    dialog->~CChangePasswordDlg();
    const std::string left(reinterpret_cast<char*>(memory), sizeof(memory));
    for (const std::string& password : typed)
        EXPECT_EQ(std::string::npos, left.find(password)) << password;
}

// One user's way from a missing settings file to a first password and on to
// changes, the file checked after each try: only OK with every check passed
// writes, and the new code goes where the old one stood.
TEST(ChangePassword, Flow)
{
    auto file = [](const char* code) {
        return SettingsRecordBytes(*code ? "m_csCode" : "", code) + SettingsRecordBytes("m_nVelocity", "500");
    };
    DeleteSettingsFile();
    EXPECT_EQ("", RunFlow({std::string(33, 'a'), std::string(33, 'b'), std::string(33, 'c')}, IDCANCEL));
    EXPECT_FALSE(SettingsFileExists()) << "Cancel opened the file";
    EXPECT_EQ(kOldWrong, RunFlow({"secret", "new", "new"}));
    EXPECT_TRUE(SettingsFileExists() && ReadSettingsFile().empty());

    WriteSettingsFile(file(""));
    const char *S = "298e2823f33e", *P = "92829238afbc666a320348";  // "secret" and "Password123"
    struct Case { std::vector<std::string> typed; const char *code, *message; bool held = false; };
    for (const Case& c : {Case{{"secret", "new", "new"}, "", kOldWrong}, {{"", "", ""}, "", kNewEmpty},
                          {{"", "secret", "secret"}, S, kChanged}, {{"", "new", "new"}, S, kOldEmpty},
                          {{"Secret", "", ""}, S, kOldWrong}, {{"secret", "", "x"}, S, kNewEmpty},
                          {{"secret", "new", "newer"}, S, kMismatch}, {{"secret", "new", "New"}, S, kMismatch},
                          {{"secret", "Password123", "Password123"}, P, kChanged}, {{"secret", "a", "a"}, P, kOldWrong},
                          {{"Password123", "Password123", "Password123"}, P, kChanged},
                          {{"Password123", "new", "new"}, P, kInUse, true}}) {
        EXPECT_EQ(c.message, RunFlow(c.typed, IDOK, c.held)) << c.typed[0] << ", " << c.typed[1] << ", " << c.typed[2];
        EXPECT_EQ(file(c.code), ReadSettingsFile()) << c.typed[0] << ", " << c.typed[1] << ", " << c.typed[2];
    }

    DeleteSettingsFile();
}
