#include "framework/Framework.h"
#include "res/resource.h"
#include "tests/support/GuiDriver.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {
// A plain dialog (the change-password template: three edits, OK, Cancel)
// whose exchange and extra behaviour each test supplies.
struct ProbeDialog : CDialog {
    ProbeDialog() : CDialog(IDD_CHANGE_PASSWORD) {}
    std::function<void(CDataExchange*)> exchange = [](CDataExchange*) {};
    std::function<BOOL(MSG*)> preTranslate = [](MSG*) { return FALSE; };
    void DoDataExchange(CDataExchange* dx) override { exchange(dx); }
    BOOL PreTranslateMessage(MSG* msg) override
    {
        return preTranslate(msg) || CDialog::PreTranslateMessage(msg);
    }
    LRESULT OnApp(WPARAM, LPARAM) { throw std::runtime_error("The file could not be written."); }
    BEGIN_MSG_MAP(ProbeDialog, CDialog)
    ON_MESSAGE(WM_APP, OnApp)
    END_MSG_MAP()
};

HWND Probe()
{
    return FindThreadDialog("Vellmoran - Change Password");
}
}  // namespace

// Each text gives the value read or the refusal shown. A refusal ends the
// exchange there, with the edit focused and its text selected; an integer
// beyond int's range is out of range, not text.
TEST(DataExchange, IntegerValidation)
{
    const std::string notInteger = "Please enter an integer.",
                      outOfRange = "Please enter an integer between -5 and 30.";
    const std::vector<std::pair<const char*, std::string>> cases = {{" 12\t ", "12"},
                                                                    {"-5", "-5"},
                                                                    {"0", "0"},
                                                                    {"+3", "3"},
                                                                    {"", notInteger},
                                                                    {"1 2", notInteger},
                                                                    {"12abc", notInteger},
                                                                    {"-0", notInteger},
                                                                    {"30", "30"},
                                                                    {"31", outOfRange},
                                                                    {"-6", outOfRange},
                                                                    {"2147483648", outOfRange},
                                                                    {"99999999999", outOfRange},
                                                                    {"-99999999999", outOfRange}};
    MessageBoxWatcher watcher(IDOK);
    ProbeDialog dialog;
    int value = 77;
    std::string later;
    dialog.exchange = [&](CDataExchange* dx) {
        DDX_Text(dx, IDC_OLD_PASSWORD, value), DDV_MinMaxInt(dx, value, -5, 30),
            DDX_Text(dx, IDC_NEW_PASSWORD, later);
    };
    ModalScript script({ModalScript::Do([&] {
        ::SetDlgItemTextA(Probe(), IDC_NEW_PASSWORD, "changed");
        for (auto [text, outcome] : cases) {
            later = "untouched";
            ::SetDlgItemTextA(Probe(), IDC_OLD_PASSWORD, text);
            const bool accepted = dialog.UpdateData(TRUE) != FALSE;
            EXPECT_EQ(outcome, accepted ? std::to_string(value) : watcher.Boxes().back().text)
                << text;
            EXPECT_EQ(accepted ? "changed" : "untouched", later) << text;
            const LRESULT selection =
                ::SendDlgItemMessageA(Probe(), IDC_OLD_PASSWORD, EM_GETSEL, 0, 0);
            EXPECT_TRUE(accepted
                        || (::LoadIconA(nullptr, IDI_EXCLAMATION) == watcher.Boxes().back().icon
                            && ::GetDlgItem(Probe(), IDC_OLD_PASSWORD) == ::GetFocus()
                            && selection == MAKELONG(0, lstrlenA(text))))
                << text;
        }
        UserClick(Probe(), IDCANCEL);
    })});
    dialog.DoModal();
    EXPECT_EQ(9u, watcher.Boxes().size());
}

// Messages reach PreTranslateMessage first; an exception a handler throws is
// reported in a box captioned with the executable's name, without its
// extension.
TEST(Dialog, MessageRouting)
{
    MessageBoxWatcher watcher(IDOK);
    ProbeDialog dialog;
    dialog.preTranslate = [](MSG* msg) {
        return msg->message == WM_KEYDOWN && msg->wParam == VK_RETURN;
    };
    auto enter = [] {
        ::PostMessageA(::GetDlgItem(Probe(), IDC_OLD_PASSWORD), WM_KEYDOWN, VK_RETURN, 0);
    };
    ModalScript script(
        {ModalScript::Do(enter),  // taken before it could press OK and close the dialog
         ModalScript::Do([] { ::PostMessageA(Probe(), WM_APP, 0, 0); }),
         [&] { return !watcher.Boxes().empty(); }, ModalScript::Do([&] {
             dialog.preTranslate = [](MSG*) { return FALSE; };
             enter();
         })});
    EXPECT_EQ(IDOK, dialog.DoModal());
    EXPECT_EQ((std::vector<std::string>{"The file could not be written."}), watcher.Texts());
    EXPECT_EQ("FrameworkTests", watcher.Boxes()[0].caption);
}
