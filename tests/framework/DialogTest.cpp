#include "framework/Framework.h"
#include "res/resource.h"
#include "tests/support/GuiDriver.h"
#include "tests/support/MessageLog.h"

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>

namespace {
// A plain dialog (the change-password template: three edits, OK, Cancel)
// whose exchange and extra behaviour each test supplies.
class ProbeDialog : public CDialog {
public:
    ProbeDialog() : CDialog(IDD_CHANGE_PASSWORD) {}

    std::function<void(CDataExchange*)> exchange = [](CDataExchange*) {};
    std::function<BOOL(MSG*)> preTranslate = [](MSG*) { return FALSE; };
    std::function<void()> onApp;

protected:
    void DoDataExchange(CDataExchange* dx) override { exchange(dx); }
    BOOL PreTranslateMessage(MSG* msg) override { return preTranslate(msg) || CDialog::PreTranslateMessage(msg); }
    LRESULT OnApp(WPARAM, LPARAM)
    {
        onApp();
        return 0;
    }

    BEGIN_MSG_MAP(ProbeDialog, CDialog)
        ON_MESSAGE(WM_APP, OnApp)
    END_MSG_MAP()
};

HWND Probe()
{
    return FindThreadDialog("Vellmoran - Change Password");
}

}  // namespace

TEST(DataExchange, IntegerValidation)
{
    const char* const notInteger = "Please enter an integer.";
    const char* const outOfRange = "Please enter an integer between -5 and 30.";
    const struct {
        const char* text;
        const char* message;  // null when accepted
        int value;
    } cases[] = {
        {" 12\t ", nullptr, 12}, {"-5", nullptr, -5}, {"0", nullptr, 0}, {"+3", nullptr, 3}, {"", notInteger, 0},
        {"1 2", notInteger, 0}, {"12abc", notInteger, 0}, {"-0", notInteger, 0}, {"31", outOfRange, 0},
        {"2147483648", outOfRange, 0}, {"-99999999999", outOfRange, 0},
    };
    MessageBoxWatcher watcher(IDOK);
    ProbeDialog dialog;
    int value = 77;
    std::string later;
    dialog.exchange = [&](CDataExchange* dx) {
        DDX_Text(dx, IDC_OLD_PASSWORD, value);
        DDV_MinMaxInt(dx, value, -5, 30);
        DDX_Text(dx, IDC_NEW_PASSWORD, later);
    };
    ModalScript script({ModalScript::Do([&] {
        EXPECT_EQ(77u, ::GetDlgItemInt(Probe(), IDC_OLD_PASSWORD, nullptr, TRUE));
        ::SetDlgItemTextA(Probe(), IDC_NEW_PASSWORD, "changed");
        for (const auto& c : cases) {
            later = "untouched";
            ::SetDlgItemTextA(Probe(), IDC_OLD_PASSWORD, c.text);
            EXPECT_EQ(c.message == nullptr, dialog.UpdateData(TRUE) != FALSE) << c.text;
            if (c.message == nullptr) {
                EXPECT_EQ(c.value, value) << c.text;
                EXPECT_EQ("changed", later);
                continue;
            }
            // A refusal ends the exchange there, with the edit focused and its text selected.
            EXPECT_EQ("untouched", later);
            EXPECT_EQ(c.message, watcher.Boxes().back().text);
            EXPECT_EQ(::LoadIconA(nullptr, IDI_EXCLAMATION), watcher.Boxes().back().icon);
            EXPECT_EQ(::GetDlgItem(Probe(), IDC_OLD_PASSWORD), ::GetFocus());
            EXPECT_EQ(MAKELONG(0, lstrlenA(c.text)), ::SendDlgItemMessageA(Probe(), IDC_OLD_PASSWORD, EM_GETSEL, 0, 0));
        }
        UserClick(Probe(), IDCANCEL);
    })});
    dialog.DoModal();
    EXPECT_EQ(7u, watcher.Boxes().size());
}

TEST(Dialog, MessageRouting)
{
    MessageBoxWatcher watcher(IDOK);
    MessageLog colours([](HWND) { return true; }, {WM_SYSCOLORCHANGE});
    ProbeDialog dialog;
    dialog.preTranslate = [](MSG* msg) { return msg->message == WM_KEYDOWN && msg->wParam == VK_RETURN; };
    dialog.onApp = [] { throw std::runtime_error("The file could not be written."); };
    ModalScript script({
        // Enter would press the default button, OK, and close the dialog.
        ModalScript::Do([] { ::PostMessageA(::GetDlgItem(Probe(), IDC_OLD_PASSWORD), WM_KEYDOWN, VK_RETURN, 0); }),
        ModalScript::Do([] { ::PostMessageA(Probe(), WM_APP, 0, 0); }),
        [&] { return !watcher.Boxes().empty(); },
        ModalScript::Do([&] {
            ::SendMessageA(Probe(), WM_SYSCOLORCHANGE, 0, 0);
            dialog.preTranslate = [](MSG*) { return FALSE; };
            ::PostMessageA(::GetDlgItem(Probe(), IDC_OLD_PASSWORD), WM_KEYDOWN, VK_RETURN, 0);
        }),
    });
    EXPECT_EQ(IDOK, dialog.DoModal());
    ASSERT_EQ(1u, watcher.Boxes().size());
    EXPECT_EQ("The file could not be written.", watcher.Boxes()[0].text);
    // Captioned with the executable's name without its extension.
    EXPECT_EQ("FrameworkTests", watcher.Boxes()[0].caption);
    // The dialog itself, then each of its eight controls.
    EXPECT_EQ(9u, colours.Entries().size());
}
