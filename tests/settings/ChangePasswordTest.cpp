#include "settings/PasswordScrambler.h"
#include "res/resource.h"
#include "settings/ChangePassword.h"
#include "tests/support/GuiDriver.h"
#include "tests/support/SettingsFile.h"

#include <gtest/gtest.h>

namespace {
const char kOldEmpty[] = "You must enter a value for the old password.";
const char kOldWrong[] = "Unable to change the password because the old password is wrong.";
const char kNewEmpty[] = "You must enter a value for the new password.";
const char kMismatch[] =
    "Unable to change the password because the new and the confirmation passwords mismatch.";
const char kInUse[] =
    "The settings file is in use by another program, so the password was not changed.";
const char kChanged[] = "The password has been changed.";
}  // namespace

TEST(ScramblePassword, KnownCodes)
{
    auto Scrambled = [](std::string password) { return ScramblePassword(password), password; };
    EXPECT_EQ("298e2823f33e", Scrambled("secret"));
    EXPECT_EQ("92829238afbc666a320348", Scrambled("Password123"));
    EXPECT_EQ("3a43ad8b32", Scrambled("caf\xe9\xff"));  // bytes above 0x7F are two digits each
    EXPECT_EQ("", Scrambled(""));
    EXPECT_EQ(Scrambled("a\nb"), Scrambled("aZb"));
}

// One user's way from a missing settings file to a first password and on to
// changes, the file checked after each try: only OK with every check passed
// writes, and the new code goes where the old one stood.
TEST(ChangePassword, Flow)
{
    auto file = [](const char* code) {
        return SettingsRecordBytes(*code ? "m_csCode" : "", code)
               + SettingsRecordBytes("m_nVelocity", "500");
    };
    DeleteSettingsFile();
    EXPECT_EQ("",
              RunChangePassword({std::string(33, 'a'), std::string(33, 'b'), std::string(33, 'c')},
                                IDCANCEL));
    EXPECT_FALSE(SettingsFileExists()) << "Cancel opened the file";
    EXPECT_EQ(kOldWrong, RunChangePassword({"secret", "new", "new"}));
    EXPECT_TRUE(SettingsFileExists() && ReadSettingsFile().empty());

    WriteSettingsFile(file(""));
    const char *S = "298e2823f33e", *P = "92829238afbc666a320348";  // "secret" and "Password123"
    struct Case {
        std::vector<std::string> typed;
        const char *code, *message;
        bool held = false;
    };
    for (const Case& c : {Case{{"secret", "new", "new"}, "", kOldWrong},
                          {{"", "", ""}, "", kNewEmpty},
                          {{"", "secret", "secret"}, S, kChanged},
                          {{"", "new", "new"}, S, kOldEmpty},
                          {{"Secret", "", ""}, S, kOldWrong},
                          {{"secret", "", "x"}, S, kNewEmpty},
                          {{"secret", "new", "newer"}, S, kMismatch},
                          {{"secret", "new", "New"}, S, kMismatch},
                          {{"secret", "Password123", "Password123"}, P, kChanged},
                          {{"secret", "a", "a"}, P, kOldWrong},
                          {{"Password123", "Password123", "Password123"}, P, kChanged},
                          {{"Password123", "new", "new"}, P, kInUse, true}}) {
        const std::string typed = c.typed[0] + ", " + c.typed[1] + ", " + c.typed[2];
        EXPECT_EQ(c.message, RunChangePassword(c.typed, IDOK, c.held)) << typed;
        EXPECT_EQ(file(c.code), ReadSettingsFile()) << typed;
    }
    DeleteSettingsFile();
}

// A character the code page cannot hold would be stored as "?", which any
// such character would then match at the lock: refused, and nothing written.
TEST(ChangePassword, OutsideCodePage)
{
    const std::string before = SettingsRecordBytes("m_nVelocity", "500");
    WriteSettingsFile(before);
    MessageBoxWatcher watcher;
    auto dialog = [] { return FindThreadDialog("Vellmoran - Change Password"); };
    auto type = [&](int id, const wchar_t* text) {
        for (const wchar_t* c = text; *c; ++c)
            ::SendMessageW(::GetDlgItem(dialog(), id), WM_CHAR, *c, 0);
    };
    ModalScript script({[&] { return ::IsWindowVisible(dialog()) != FALSE; }, ModalScript::Do([&] {
                            type(IDC_NEW_PASSWORD, L"\x0416\x0416");
                            type(IDC_CONFIRM_PASSWORD, L"\x0416\x0416");
                            UserClick(dialog(), IDOK);
                        }),
                        [&] { return !watcher.Boxes().empty(); }, ModalScript::Do([&] {
                            EXPECT_EQ(::GetDlgItem(dialog(), IDC_NEW_PASSWORD), ::GetFocus());
                            UserClick(dialog(), IDCANCEL);
                        })});
    RunChangePasswordFlow();
    ASSERT_EQ(1u, watcher.Boxes().size());
    EXPECT_NE(std::string::npos, watcher.Texts()[0].find("code page cannot store"))
        << watcher.Texts()[0];
    EXPECT_EQ(before, ReadSettingsFile());
    DeleteSettingsFile();
}

// An empty stored code is the code of the empty password: a first password
// can be set over it.
TEST(ChangePassword, EmptyStoredCode)
{
    WriteSettingsFile(SettingsRecordBytes("m_csCode", ""));
    EXPECT_EQ(kChanged, RunChangePassword({"", "secret", "secret"}));
    EXPECT_EQ(SettingsRecordBytes("m_csCode", "298e2823f33e"), ReadSettingsFile());
    DeleteSettingsFile();
}
