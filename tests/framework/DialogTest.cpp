#include "framework/Framework.h"
#include "res/resource.h"
#include "tests/support/GuiDriver.h"

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

// Puts a text into the first edit, exchanges, and tells what came of it.
struct Exchange {
    BOOL saved;
    HWND focus;
    DWORD selection;
};

Exchange SaveText(ProbeDialog& dialog, const std::string& text)
{
    ::SetDlgItemTextA(Probe(), IDC_OLD_PASSWORD, text.c_str());
    Exchange result;
    result.saved = dialog.UpdateData(TRUE);
    result.focus = ::GetFocus();
    result.selection = static_cast<DWORD>(::SendDlgItemMessageA(Probe(), IDC_OLD_PASSWORD, EM_GETSEL, 0, 0));
    return result;
}
}  // namespace

TEST(DataExchange, RefusesWhatIsNotAnIntegerInRangeWithTheFrameworksMessages)
{
    struct Case {
        const char* text;
        const char* message;  // null when accepted
        int value;
    } const cases[] = {
        {" 12\t ", nullptr, 12}, {"-5", nullptr, -5}, {"0", nullptr, 0}, {"+3", nullptr, 3},
        {"", "Please enter an integer.", 0}, {"1 2", "Please enter an integer.", 0},
        {"12abc", "Please enter an integer.", 0}, {"-0", "Please enter an integer.", 0},
        {"99999999999", "Please enter an integer.", 0}, {"31", "Please enter an integer between -5 and 30.", 0},
    };
    MessageBoxWatcher watcher(IDOK);
    ProbeDialog dialog;
    int value = 77;
    std::string later = "untouched";
    dialog.exchange = [&](CDataExchange* dx) {
        DDX_Text(dx, IDC_OLD_PASSWORD, value);
        DDV_MinMaxInt(dx, value, -5, 30);
        DDX_Text(dx, IDC_NEW_PASSWORD, later);
    };
    ModalScript script({ModalScript::Do([&] {
        EXPECT_EQ(77, ::GetDlgItemInt(Probe(), IDC_OLD_PASSWORD, nullptr, TRUE));
        ::SetDlgItemTextA(Probe(), IDC_NEW_PASSWORD, "changed");
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string("text \"") + c.text + "\"");
            later = "untouched";
            size_t boxes = watcher.Boxes().size();
            Exchange result = SaveText(dialog, c.text);
            EXPECT_EQ(c.message == nullptr, result.saved != FALSE);
            if (c.message == nullptr) {
                EXPECT_EQ(c.value, value);
                EXPECT_EQ("changed", later);
                continue;
            }
            // A refusal stops the exchange there and puts the focus back on
            // the edit with its text selected.
            EXPECT_EQ("untouched", later);
            ASSERT_EQ(boxes + 1, watcher.Boxes().size());
            EXPECT_EQ(c.message, watcher.Boxes().back().text);
            EXPECT_EQ(::LoadIconA(nullptr, IDI_EXCLAMATION), watcher.Boxes().back().icon);
            EXPECT_EQ(::GetDlgItem(Probe(), IDC_OLD_PASSWORD), result.focus);
            EXPECT_EQ(static_cast<DWORD>(MAKELONG(0, lstrlenA(c.text))), result.selection);
        }
        PostClick(Probe(), IDCANCEL);
    })});
    dialog.DoModal();
}

TEST(Dialog, OffersMessagesToPreTranslateMessageBeforeTheDialogManager)
{
    ProbeDialog dialog;
    dialog.preTranslate = [](MSG* msg) { return msg->message == WM_KEYDOWN && msg->wParam == VK_RETURN; };
    ModalScript script({
        ModalScript::Do([] { ::PostMessageA(::GetDlgItem(Probe(), IDC_OLD_PASSWORD), WM_KEYDOWN, VK_RETURN, 0); }),
        ModalScript::Pause(300),
        // Enter would have pressed the default button, OK, and closed it.
        ModalScript::Do([&] {
            ASSERT_NE(nullptr, Probe());
            dialog.preTranslate = [](MSG*) { return FALSE; };
            ::PostMessageA(::GetDlgItem(Probe(), IDC_OLD_PASSWORD), WM_KEYDOWN, VK_RETURN, 0);
        }),
    });
    EXPECT_EQ(IDOK, dialog.DoModal());
}

TEST(Dialog, ReportsAnExceptionFromAHandlerAndStaysOpen)
{
    MessageBoxWatcher watcher(IDOK);
    ProbeDialog dialog;
    dialog.onApp = [] { throw std::runtime_error("The file could not be written."); };
    ModalScript script({
        ModalScript::Do([] { ::PostMessageA(Probe(), WM_APP, 0, 0); }),
        [&] { return !watcher.Boxes().empty(); },
        ModalScript::Do([] { PostClick(Probe(), IDCANCEL); }),
    });
    EXPECT_EQ(IDCANCEL, dialog.DoModal());
    ASSERT_EQ(1u, watcher.Boxes().size());
    EXPECT_EQ("The file could not be written.", watcher.Boxes()[0].text);
    // Captioned with the executable's name without its extension.
    EXPECT_EQ("FrameworkTests", watcher.Boxes()[0].caption);
}

namespace {
std::vector<HWND> g_toldOfColours;

LRESULT CALLBACK RecordSysColorChange(int code, WPARAM wParam, LPARAM lParam)
{
    const CWPSTRUCT* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && call->message == WM_SYSCOLORCHANGE)
        g_toldOfColours.push_back(call->hwnd);
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}
}  // namespace

TEST(Dialog, PassesNewSystemColoursOnToEveryControl)
{
    HHOOK hook = ::SetWindowsHookExA(WH_CALLWNDPROC, RecordSysColorChange, nullptr, ::GetCurrentThreadId());
    ProbeDialog dialog;
    ModalScript script({ModalScript::Do([] {
        ::SendMessageA(Probe(), WM_SYSCOLORCHANGE, 0, 0);
        PostClick(Probe(), IDCANCEL);
    })});
    dialog.DoModal();
    ::UnhookWindowsHookEx(hook);
    // The dialog itself, then each of its eight controls.
    EXPECT_EQ(9u, g_toldOfColours.size());
}
