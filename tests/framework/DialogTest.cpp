#include "framework/Framework.h"
#include "res/resource.h"
#include "tests/support/GuiDriver.h"

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>

namespace {
using Step = ModalScript::Step;

// A plain dialog (the change-password template: three edits, OK, Cancel)
// whose exchange and extra behaviour each test supplies.
class ProbeDialog : public CDialog {
public:
    explicit ProbeDialog(CWnd* parent = nullptr) : CDialog(IDD_CHANGE_PASSWORD, parent) {}

    std::function<void(CDataExchange*)> exchange = [](CDataExchange*) {};
    std::function<BOOL(MSG*)> preTranslate;
    std::function<void()> onApp;

protected:
    void DoDataExchange(CDataExchange* dx) override { exchange(dx); }
    BOOL PreTranslateMessage(MSG* msg) override
    {
        if (preTranslate && preTranslate(msg))
            return TRUE;
        return CDialog::PreTranslateMessage(msg);
    }
    LRESULT OnApp(WPARAM, LPARAM)
    {
        onApp();
        return 0;
    }

    BEGIN_MSG_MAP(ProbeDialog, CDialog)
        ON_MESSAGE(WM_APP, OnApp)
    END_MSG_MAP()
};

const char kCaption[] = "Vellmoran - Change Password";

HWND Probe()
{
    return FindThreadDialog(kCaption);
}

void SetText(int id, const char* text)
{
    ::SetDlgItemTextA(Probe(), id, text);
}

std::string Text(int id)
{
    char text[256] = "";
    ::GetDlgItemTextA(Probe(), id, text, sizeof(text));
    return text;
}

// Each entry: the text of the edit, and the number it should give (or none).
struct IntegerCase {
    const char* text;
    bool accepted;
    int value;
};
}  // namespace

TEST(DataExchange, IntegerTextFollowsTheFrameworkRules)
{
    const IntegerCase cases[] = {
        {"12", true, 12},     {" 12\t ", true, 12},  {"-5", true, -5},       {"0", true, 0},
        {"+3", true, 3},      {"", false, 0},        {"abc", false, 0},      {"1 2", false, 0},
        {"12abc", false, 0},  {"-0", false, 0},      {"99999999999", false, 0},
    };
    for (const IntegerCase& c : cases) {
        SCOPED_TRACE(std::string("text \"") + c.text + "\"");
        MessageBoxWatcher watcher(IDOK);
        ProbeDialog dialog;
        int value = 77;
        dialog.exchange = [&](CDataExchange* dx) { DDX_Text(dx, IDC_OLD_PASSWORD, value); };
        BOOL saved = TRUE;
        HWND focus = nullptr;
        HWND edit = nullptr;
        DWORD selection = 0;
        ModalScript script({
            ModalScript::Do([&] {
                EXPECT_EQ("77", Text(IDC_OLD_PASSWORD));
                SetText(IDC_OLD_PASSWORD, c.text);
                edit = ::GetDlgItem(Probe(), IDC_OLD_PASSWORD);
                saved = dialog.UpdateData(TRUE);
                focus = ::GetFocus();
                selection = static_cast<DWORD>(::SendDlgItemMessageA(Probe(), IDC_OLD_PASSWORD, EM_GETSEL, 0, 0));
                PostClick(Probe(), IDCANCEL);
            }),
        });
        dialog.DoModal();
        EXPECT_EQ(c.accepted, saved != FALSE);
        if (c.accepted) {
            EXPECT_EQ(c.value, value);
            EXPECT_TRUE(watcher.Boxes().empty());
            continue;
        }
        EXPECT_EQ(77, value);
        ASSERT_EQ(1u, watcher.Boxes().size());
        EXPECT_EQ("Please enter an integer.", watcher.Boxes()[0].text);
        EXPECT_EQ(::LoadIconA(nullptr, IDI_EXCLAMATION), watcher.Boxes()[0].icon);
        // The focus is back on the edit with all of its text selected.
        EXPECT_EQ(edit, focus);
        EXPECT_EQ(static_cast<DWORD>(MAKELONG(0, lstrlenA(c.text))), selection);
    }
}

TEST(DataExchange, RangeFailureNamesTheBoundsAndStopsTheExchange)
{
    MessageBoxWatcher watcher(IDOK);
    ProbeDialog dialog;
    int delay = 5;
    std::string later = "untouched";
    dialog.exchange = [&](CDataExchange* dx) {
        DDX_Text(dx, IDC_OLD_PASSWORD, delay);
        DDV_MinMaxInt(dx, delay, 0, 30);
        DDX_Text(dx, IDC_NEW_PASSWORD, later);
    };
    HWND focus = nullptr;
    HWND edit = nullptr;
    ModalScript script({
        ModalScript::Do([&] {
            edit = ::GetDlgItem(Probe(), IDC_OLD_PASSWORD);
            SetText(IDC_OLD_PASSWORD, "31");
            SetText(IDC_NEW_PASSWORD, "changed");
            EXPECT_FALSE(dialog.UpdateData(TRUE));
            focus = ::GetFocus();
            SetText(IDC_OLD_PASSWORD, "30");
            EXPECT_TRUE(dialog.UpdateData(TRUE));
            PostClick(Probe(), IDCANCEL);
        }),
    });
    later = "untouched";
    dialog.DoModal();
    ASSERT_EQ(1u, watcher.Boxes().size());
    EXPECT_EQ("Please enter an integer between 0 and 30.", watcher.Boxes()[0].text);
    EXPECT_EQ(edit, focus);
    EXPECT_EQ(30, delay);
    EXPECT_EQ("changed", later);
}

TEST(DataExchange, MaxCharsLimitsTheEditAndRefusesLongerText)
{
    MessageBoxWatcher watcher(IDOK);
    ProbeDialog dialog;
    std::string password;
    dialog.exchange = [&](CDataExchange* dx) {
        DDX_Text(dx, IDC_NEW_PASSWORD, password);
        DDV_MaxChars(dx, password, 32);
    };
    ModalScript script({
        ModalScript::Do([&] {
            EXPECT_EQ(32, ::SendDlgItemMessageA(Probe(), IDC_NEW_PASSWORD, EM_GETLIMITTEXT, 0, 0));
            // A program can still put a longer text in; the exchange refuses it.
            SetText(IDC_NEW_PASSWORD, std::string(33, 'x').c_str());
            EXPECT_FALSE(dialog.UpdateData(TRUE));
            SetText(IDC_NEW_PASSWORD, std::string(32, 'y').c_str());
            EXPECT_TRUE(dialog.UpdateData(TRUE));
            PostClick(Probe(), IDCANCEL);
        }),
    });
    dialog.DoModal();
    ASSERT_EQ(1u, watcher.Boxes().size());
    EXPECT_EQ("Please enter no more than 32 characters.", watcher.Boxes()[0].text);
    EXPECT_EQ(std::string(32, 'y'), password);
}

TEST(Dialog, OKExchangesAndClosesWhileCancelDropsTheInput)
{
    for (int button : {IDOK, IDCANCEL}) {
        ProbeDialog dialog;
        std::string text = "before";
        dialog.exchange = [&](CDataExchange* dx) { DDX_Text(dx, IDC_OLD_PASSWORD, text); };
        ModalScript script({
            ModalScript::Do([&] {
                SetText(IDC_OLD_PASSWORD, "after");
                PostClick(Probe(), button);
            }),
        });
        EXPECT_EQ(button, dialog.DoModal());
        EXPECT_EQ(button == IDOK ? "after" : "before", text);
    }
}

TEST(Dialog, OffersMessagesToPreTranslateMessageBeforeTheDialogManager)
{
    ProbeDialog dialog;
    int swallowed = 0;
    dialog.preTranslate = [&](MSG* msg) {
        if (msg->message == WM_KEYDOWN && msg->wParam == VK_RETURN) {
            ++swallowed;
            return TRUE;
        }
        return FALSE;
    };
    ModalScript script({
        ModalScript::Do([] {
            HWND edit = ::GetDlgItem(Probe(), IDC_OLD_PASSWORD);
            ::SetFocus(edit);
            ::PostMessageA(edit, WM_KEYDOWN, VK_RETURN, 0);
        }),
        ModalScript::Pause(300),
        ModalScript::Do([&] {
            // Enter would have pressed the default button, OK.
            EXPECT_NE(nullptr, Probe());
            dialog.preTranslate = nullptr;
            ::PostMessageA(::GetDlgItem(Probe(), IDC_OLD_PASSWORD), WM_KEYDOWN, VK_RETURN, 0);
        }),
    });
    EXPECT_EQ(IDOK, dialog.DoModal());
    EXPECT_EQ(1, swallowed);
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
    EXPECT_EQ("FrameworkTests", watcher.Boxes()[0].caption);
}

TEST(Dialog, DisablesItsOwnerWhileModalAndCentresOverIt)
{
    ProbeDialog outer;
    HWND innerOwner = nullptr;
    HWND outerWindow = nullptr;
    BOOL outerEnabledDuring = TRUE;
    RECT outerRect = {}, innerRect = {};
    outer.onApp = [&] {
        ProbeDialog inner(&outer);
        ModalScript script({
            ModalScript::Do([&] {
                HWND innerWindow = inner.m_hWnd;
                innerOwner = ::GetWindow(innerWindow, GW_OWNER);
                outerWindow = outer.m_hWnd;
                outerEnabledDuring = ::IsWindowEnabled(outer.m_hWnd);
                ::GetWindowRect(outer.m_hWnd, &outerRect);
                ::GetWindowRect(innerWindow, &innerRect);
                PostClick(innerWindow, IDCANCEL);
            }),
        });
        EXPECT_EQ(IDCANCEL, inner.DoModal());
        EXPECT_TRUE(::IsWindowEnabled(outer.m_hWnd));
        PostClick(outer.m_hWnd, IDCANCEL);
    };
    ModalScript script({ModalScript::Do([] { ::PostMessageA(Probe(), WM_APP, 0, 0); })});
    outer.DoModal();
    EXPECT_EQ(outerWindow, innerOwner);
    EXPECT_FALSE(outerEnabledDuring);
    // Same template, same size: centred means the same rectangle.
    EXPECT_EQ(outerRect.left, innerRect.left);
    EXPECT_EQ(outerRect.top, innerRect.top);
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
    g_toldOfColours.clear();
    HHOOK hook = ::SetWindowsHookExA(WH_CALLWNDPROC, RecordSysColorChange, nullptr, ::GetCurrentThreadId());
    ProbeDialog dialog;
    size_t controls = 0;
    ModalScript script({
        ModalScript::Do([&] {
            for (HWND child = ::GetWindow(Probe(), GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
                ++controls;
            ::SendMessageA(Probe(), WM_SYSCOLORCHANGE, 0, 0);
            PostClick(Probe(), IDCANCEL);
        }),
    });
    dialog.DoModal();
    ::UnhookWindowsHookEx(hook);
    // The dialog itself, then each of its eight controls.
    EXPECT_EQ(8u, controls);
    EXPECT_EQ(controls + 1, g_toldOfColours.size());
}
