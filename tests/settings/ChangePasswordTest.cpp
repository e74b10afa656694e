#include "res/resource.h"
#include "settings/ChangePassword.h"
#include "settings/SecureWipe.h"
#include "tests/support/GuiDriver.h"
#include "tests/support/SettingsFile.h"

#include <gtest/gtest.h>

namespace {
const char kCaption[] = "Vellmoran - Change Password";
const char kOldEmpty[] = "You must enter a value for the old password.";
const char kOldWrong[] = "Unable to change the password because the old password is wrong.";
const char kNewEmpty[] = "You must enter a value for the new password.";
const char kMismatch[] = "Unable to change the password because the new and the confirmation passwords mismatch.";
const char kInUse[] = "The settings file is in use by another program, so the password was not changed.";
const char kNotSaved[] = "The new password could not be saved in the settings file, so the password was not changed.";
const char kChanged[] = "The password has been changed.";

// Codes of "secret" and "Password123".
const char kSecretCode[] = "298e2823f33e";
const char kPassword123Code[] = "92829238afbc666a320348";

struct Typed {
    const char* oldPassword;
    const char* newPassword;
    const char* confirmation;
};

// Runs the flow, fills the dialog as a user would and ends it with the given
// command; every message box is answered with OK and recorded.
std::vector<MessageBoxRecord> RunFlow(Typed typed, int command = IDOK)
{
    MessageBoxWatcher watcher(IDOK);
    HWND dialog = nullptr;
    {
        ModalScript script({
            [&dialog] { return (dialog = FindThreadDialog(kCaption)) != nullptr; },
            ModalScript::Do([&] {
                ::SetDlgItemTextA(dialog, IDC_OLD_PASSWORD, typed.oldPassword);
                ::SetDlgItemTextA(dialog, IDC_NEW_PASSWORD, typed.newPassword);
                ::SetDlgItemTextA(dialog, IDC_CONFIRM_PASSWORD, typed.confirmation);
                if (command == IDOK || command == IDCANCEL)
                    PostClick(dialog, command);
                else
                    ::PostMessageA(dialog, WM_SYSCOMMAND, static_cast<WPARAM>(command), 0);
            }),
        });
        RunChangePasswordFlow();
    }
    EXPECT_EQ(nullptr, FindThreadDialog(kCaption)) << "the dialog is still there";
    return watcher.Boxes();
}

std::string FileWithCode(const std::string& code)
{
    return SettingsRecordBytes("m_nDelay", "5") + SettingsRecordBytes("m_csCode", code) +
           SettingsRecordBytes("m_nVelocity", "500");
}

class ChangePasswordTest : public ::testing::Test {
protected:
    void SetUp() override { DeleteSettingsFile(); }
    void TearDown() override { DeleteSettingsFile(); }

    // The one message shown, with the stop icon and a single OK button.
    static void ExpectRefusal(const std::vector<MessageBoxRecord>& boxes, const char* text)
    {
        ASSERT_EQ(1u, boxes.size());
        EXPECT_EQ(text, boxes[0].text);
        EXPECT_EQ("SettingsTests", boxes[0].caption);
        EXPECT_EQ(::LoadIconA(nullptr, IDI_HAND), boxes[0].icon);
        EXPECT_EQ(std::vector<int>{IDOK}, boxes[0].buttons);
    }

    static void ExpectChanged(const std::vector<MessageBoxRecord>& boxes)
    {
        ASSERT_EQ(1u, boxes.size());
        EXPECT_EQ(kChanged, boxes[0].text);
        EXPECT_EQ(::LoadIconA(nullptr, IDI_ASTERISK), boxes[0].icon);
        EXPECT_EQ(std::vector<int>{IDOK}, boxes[0].buttons);
    }
};
}  // namespace

TEST_F(ChangePasswordTest, CancelEscapeAndTheCloseBoxTouchNothing)
{
    EXPECT_TRUE(RunFlow({"secret", "new", "new"}, IDCANCEL).empty());
    EXPECT_TRUE(RunFlow({"", "", ""}, SC_CLOSE).empty());
    EXPECT_FALSE(SettingsFileExists());

    WriteSettingsFile(FileWithCode(kSecretCode));
    {
        HeldSettingsFile held;
        EXPECT_TRUE(RunFlow({"secret", "new", "new"}, IDCANCEL).empty());
    }
    EXPECT_EQ(FileWithCode(kSecretCode), ReadSettingsFile());
}

TEST_F(ChangePasswordTest, TheOldPasswordIsProvenBeforeTheNewFieldsAreLookedAt)
{
    WriteSettingsFile(FileWithCode(kSecretCode));
    ExpectRefusal(RunFlow({"", "new", "new"}), kOldEmpty);
    ExpectRefusal(RunFlow({"", "", ""}), kOldEmpty);
    ExpectRefusal(RunFlow({"Secret", "", ""}), kOldWrong);
    ExpectRefusal(RunFlow({"wrong", "new", "other"}), kOldWrong);
    EXPECT_EQ(FileWithCode(kSecretCode), ReadSettingsFile());
}

TEST_F(ChangePasswordTest, ACorrectOldPasswordNeedsANewOneAndAnExactConfirmation)
{
    WriteSettingsFile(FileWithCode(kSecretCode));
    ExpectRefusal(RunFlow({"secret", "", ""}), kNewEmpty);
    ExpectRefusal(RunFlow({"secret", "", "confirmation"}), kNewEmpty);
    ExpectRefusal(RunFlow({"secret", "Password123", ""}), kMismatch);
    ExpectRefusal(RunFlow({"secret", "Password123", "password123"}), kMismatch);
    ExpectRefusal(RunFlow({"secret", "Password123", "Password123 "}), kMismatch);
    EXPECT_EQ(FileWithCode(kSecretCode), ReadSettingsFile());
}

TEST_F(ChangePasswordTest, AChangeReplacesTheCodeInPlaceAndOnlyTheNewPasswordPassesAfterwards)
{
    WriteSettingsFile(FileWithCode(kSecretCode));
    ExpectChanged(RunFlow({"secret", "Password123", "Password123"}));
    EXPECT_EQ(FileWithCode(kPassword123Code), ReadSettingsFile());

    ExpectRefusal(RunFlow({"secret", "again", "again"}), kOldWrong);
    ExpectRefusal(RunFlow({"Password123", "", ""}), kNewEmpty);

    // The same password again is a change like any other.
    ExpectChanged(RunFlow({"Password123", "Password123", "Password123"}));
    EXPECT_EQ(FileWithCode(kPassword123Code), ReadSettingsFile());
}

TEST_F(ChangePasswordTest, WithoutAStoredCodeOnlyAnEmptyOldPasswordIsRight)
{
    ExpectRefusal(RunFlow({"secret", "new", "new"}), kOldWrong);
    ASSERT_TRUE(SettingsFileExists());
    EXPECT_EQ("", ReadSettingsFile());

    std::string noCode = SettingsRecordBytes("m_nDelay", "5");
    WriteSettingsFile(noCode);
    ExpectRefusal(RunFlow({"secret", "new", "new"}), kOldWrong);
    EXPECT_EQ(noCode, ReadSettingsFile());

    // The checks on the new fields still apply to a first password.
    ExpectRefusal(RunFlow({"", "", ""}), kNewEmpty);
    ExpectRefusal(RunFlow({"", "secret", "Secret"}), kMismatch);
    EXPECT_EQ(noCode, ReadSettingsFile());
}

TEST_F(ChangePasswordTest, TheFirstPasswordIsStoredAndMustBeProvenFromThenOn)
{
    ExpectChanged(RunFlow({"", "secret", "secret"}));
    EXPECT_EQ(SettingsRecordBytes("m_csCode", kSecretCode), ReadSettingsFile());

    ExpectRefusal(RunFlow({"", "other", "other"}), kOldEmpty);
    ExpectChanged(RunFlow({"secret", "Password123", "Password123"}));
    EXPECT_EQ(SettingsRecordBytes("m_csCode", kPassword123Code), ReadSettingsFile());

    // An empty stored code is the code of the empty password.
    WriteSettingsFile(FileWithCode(""));
    ExpectRefusal(RunFlow({"secret", "new", "new"}), kOldWrong);
    ExpectChanged(RunFlow({"", "secret", "secret"}));
    EXPECT_EQ(FileWithCode(kSecretCode), ReadSettingsFile());
}

TEST_F(ChangePasswordTest, AHeldFileIsReportedAsInUseAndNothingIsWritten)
{
    for (const std::string& bytes : {FileWithCode(kSecretCode), SettingsRecordBytes("m_nDelay", "5")}) {
        WriteSettingsFile(bytes);
        {
            HeldSettingsFile held;
            ASSERT_TRUE(held.Held());
            ExpectRefusal(RunFlow({"secret", "Password123", "Password123"}), kInUse);
            ExpectRefusal(RunFlow({"", "Password123", "Password123"}), kInUse);
            ExpectRefusal(RunFlow({"wrong", "", ""}), kInUse);
        }
        EXPECT_EQ(bytes, ReadSettingsFile());
    }
}

TEST_F(ChangePasswordTest, AFailedWriteIsReportedAndNeverLooksLikeSuccess)
{
    // A partial record at the end: no code can be read, and no new record
    // can be written.
    std::string partial = SettingsRecordBytes("m_nDelay", "5") + std::string(100, 'x');
    WriteSettingsFile(partial);
    ExpectRefusal(RunFlow({"", "secret", "secret"}), kNotSaved);
    EXPECT_EQ(partial, ReadSettingsFile());
}

TEST_F(ChangePasswordTest, TheDialogOpensEmptyWithFocusOnOKAndMaskedFieldsOf32Characters)
{
    MessageBoxWatcher watcher(IDOK);
    HWND dialog = nullptr;
    const int edits[] = {IDC_OLD_PASSWORD, IDC_NEW_PASSWORD, IDC_CONFIRM_PASSWORD};
    ModalScript script({
        [&dialog] { return (dialog = FindThreadDialog(kCaption)) != nullptr && ::IsWindowVisible(dialog); },
        ModalScript::Do([&] {
            EXPECT_EQ(::GetDlgItem(dialog, IDOK), ::GetFocus());
            for (int id : edits) {
                HWND edit = ::GetDlgItem(dialog, id);
                EXPECT_EQ(0, ::GetWindowTextLengthA(edit));
                EXPECT_TRUE(::GetWindowLongA(edit, GWL_STYLE) & ES_PASSWORD);
                EXPECT_NE(0, ::SendMessageA(edit, EM_GETPASSWORDCHAR, 0, 0));
                ::SetFocus(edit);
                for (int i = 0; i < 33; ++i)
                    ::SendMessageA(edit, WM_CHAR, 'a' + i % 26, 0);
                EXPECT_EQ(32, ::GetWindowTextLengthA(edit)) << "edit " << id;
            }
            PostClick(dialog, IDCANCEL);
        }),
    });
    RunChangePasswordFlow();
    EXPECT_TRUE(watcher.Boxes().empty());
    EXPECT_FALSE(SettingsFileExists());
}

TEST_F(ChangePasswordTest, ALongerTextIsRefusedInExchangeOrderAndTheDialogStaysOpen)
{
    MessageBoxWatcher watcher(IDOK);
    HWND dialog = nullptr;
    std::string tooLong(33, 'x');
    ModalScript script({
        [&dialog] { return (dialog = FindThreadDialog(kCaption)) != nullptr; },
        ModalScript::Do([&] {
            // WM_SETTEXT passes the typing limit by.
            ::SetDlgItemTextA(dialog, IDC_OLD_PASSWORD, tooLong.c_str());
            ::SetDlgItemTextA(dialog, IDC_CONFIRM_PASSWORD, tooLong.c_str());
            PostClick(dialog, IDOK);
        }),
        [&watcher] { return watcher.Boxes().size() == 1; },
        [&dialog] { return ::GetFocus() == ::GetDlgItem(dialog, IDC_CONFIRM_PASSWORD); },
        ModalScript::Do([&] {
            EXPECT_TRUE(::IsWindowVisible(dialog));
            PostClick(dialog, IDCANCEL);
        }),
    });
    RunChangePasswordFlow();
    ASSERT_EQ(1u, watcher.Boxes().size());
    EXPECT_EQ("Please enter no more than 32 characters.", watcher.Boxes()[0].text);
    EXPECT_EQ(::LoadIconA(nullptr, IDI_EXCLAMATION), watcher.Boxes()[0].icon);
    EXPECT_FALSE(SettingsFileExists());
}

TEST(SecureWipe, ZeroesTheWholeBufferOfAString)
{
    std::string secret = "a password long enough to live on the heap";
    secret.resize(10);
    const char* buffer = secret.data();
    size_t capacity = secret.capacity();
    SecureWipe(secret);
    EXPECT_TRUE(secret.empty());
    ASSERT_EQ(buffer, secret.data());
    EXPECT_EQ(std::string(capacity, '\0'), std::string(buffer, capacity));
}
