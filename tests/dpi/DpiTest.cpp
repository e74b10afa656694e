// Run in a prefix whose system DPI is 120 or 144 ("large fonts"): every
// dialog must still show all of its controls.
#include "panel/ControlPanelDlg.h"
#include "settings/ChangePassword.h"
#include "tests/support/GuiDriver.h"
#include "tests/support/RealDaemon.h"
#include "tests/support/SettingsFile.h"
#include "wizard/SettingsDlg.h"

#include <gtest/gtest.h>

namespace {
using Step = ModalScript::Step;
const DWORD kSlideGuardMs = 600000;

Step Do(std::function<void()> action)
{
    return ModalScript::Do(std::move(action));
}

int SystemDpi()
{
    HDC screen = ::GetDC(nullptr);
    int dpi = ::GetDeviceCaps(screen, LOGPIXELSY);
    ::ReleaseDC(nullptr, screen);
    return dpi;
}

RECT InClient(HWND dialog, HWND child)
{
    RECT rect;
    ::GetWindowRect(child, &rect);
    ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

// The controls that the client area shows only in part, by id; controls
// wider than the window (the wizard's banner and band span all its pages)
// and controls that lie wholly outside (other pages) do not count.
std::vector<int> CutControls(HWND dialog)
{
    RECT client, shown;
    ::GetClientRect(dialog, &client);
    std::vector<int> cut;
    for (HWND c = ::GetWindow(dialog, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT)) {
        RECT rect = InClient(dialog, c);
        bool spansPages = rect.right - rect.left > client.right;
        if (!spansPages && ::IntersectRect(&shown, &rect, &client) && !::EqualRect(&shown, &rect))
            cut.push_back(::GetDlgCtrlID(c));
    }
    return cut;
}

std::vector<RECT> Places(HWND dialog)
{
    std::vector<RECT> places;
    for (HWND c = ::GetWindow(dialog, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT))
        places.push_back(InClient(dialog, c));
    return places;
}
}  // namespace

bool operator==(const RECT& a, const RECT& b)
{
    return ::EqualRect(&a, &b);
}

struct Dpi : ::testing::Test {
    void SetUp() override
    {
        DeleteSettingsFile();
        ASSERT_NE(96, SystemDpi()) << "meant for a prefix at another DPI";
    }
    void TearDown() override { DeleteSettingsFile(); }
};

TEST_F(Dpi, PanelWhole)
{
    CWinApp app;
    CControlPanelDlg panel;
    app.m_pMainWnd = &panel;
    HWND shown = nullptr;
    ModalScript script({[&] { return (shown = FindThreadDialog("Vellmoran v1.02 - Control Panel")); },
                        Do([&] { EXPECT_EQ(std::vector<int>{}, CutControls(shown)); }),
                        Do([&] { UserClick(shown, IDCANCEL); })});
    panel.DoModal();
}

TEST_F(Dpi, ChangePasswordWhole)
{
    HWND shown = nullptr;
    ModalScript script({[&] { return (shown = FindThreadDialog("Vellmoran - Change Password")); },
                        Do([&] { EXPECT_EQ(std::vector<int>{}, CutControls(shown)); }),
                        Do([&] { UserClick(shown, IDCANCEL); })});
    RunChangePasswordFlow();
}

// Each page in turn, then back to the first: each control where it started.
// A slide runs to its end inside the click, so each step sees a page at rest.
TEST_F(Dpi, WizardPagesWhole)
{
    HWND shown = nullptr;
    std::vector<RECT> start;
    auto to = [&](int button) { return Do([&shown, button] { UserClick(shown, button); }); };
    auto whole = [&](int button) {
        return Do([&shown, button] {
            EXPECT_TRUE(InView(::GetDlgItem(shown, button))) << button;
            EXPECT_EQ(std::vector<int>{}, CutControls(shown)) << button;
        });
    };
    ModalScript script({[&] { return (shown = FindThreadDialog("Vellmoran - Settings")); },
                        Do([&] { start = Places(shown); }), whole(IDC_NEXT_PAGE1),
                        to(IDC_NEXT_PAGE1), whole(IDC_NEXT_PAGE2), to(IDC_NEXT_PAGE2),
                        whole(IDC_NEXT_PAGE3), to(IDC_NEXT_PAGE3), whole(IDOK),
                        to(IDC_BACK_PAGE4), to(IDC_BACK_PAGE3), to(IDC_BACK_PAGE2),
                        Do([&] { EXPECT_TRUE(start == Places(shown)); }), to(IDCANCEL)},
                       kSlideGuardMs);
    CSettingsDlg().DoModal();
}

// The lock's card grows with the DPI: its password box is 26 pixels high at 96 DPI.
TEST_F(Dpi, LockCardGrows)
{
    RealDaemon::WriteSettings({{"m_nVirtualKey", "19"}});
    RealDaemon::Process daemon;
    ASSERT_TRUE(daemon.LockBy(RealDaemon::Pause));
    RECT box;
    ::GetWindowRect(RealDaemon::PasswordBox(), &box);
    EXPECT_EQ(::MulDiv(26, SystemDpi(), 96), box.bottom - box.top);
    RealDaemon::Press("\r");
    EXPECT_TRUE(WaitUntil([] { return !RealDaemon::Lock(); }, RealDaemon::kGuardMs));
}
