#include "framework/WinApp.h"
#include "framework/Wnd.h"
#include "res/resource.h"
#include "tests/support/SettingsFile.h"
#include "tests/wizard/WizardDriver.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstdlib>

namespace {
// The width of one page in pixels: the hidden page gauge's client width.
int PageWidth(HWND wizard)
{
    RECT gauge;
    ::GetClientRect(::GetDlgItem(wizard, IDC_PAGE_GAUGE), &gauge);
    return gauge.right - gauge.left;
}

int Width(const RECT& rect)
{
    return rect.right - rect.left;
}

int Height(const RECT& rect)
{
    return rect.bottom - rect.top;
}

// Waits until the page gauge stands `pages` pages left of where it started.
ModalScript::Step WaitForPage(const int& startLeft, const int& pageWidth, int pages)
{
    return [&startLeft, &pageWidth, pages] {
        return ControlRect(Wizard(), IDC_PAGE_GAUGE).left == startLeft - pages * pageWidth;
    };
}

// A top-level window that the wizard takes as its owner, being the
// application's main window.
class OwnerWindow {
public:
    OwnerWindow(int x, int y, int width, int height)
    {
        m_hWnd = ::CreateWindowExA(0, "STATIC", "Owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, x, y, width, height,
                                   nullptr, nullptr, nullptr, nullptr);
        m_owner.SubclassWindow(m_hWnd);
        m_app.m_pMainWnd = &m_owner;
    }
    ~OwnerWindow()
    {
        m_app.m_pMainWnd = nullptr;
        ::DestroyWindow(m_hWnd);
    }
    RECT Rect() const
    {
        RECT rect;
        ::GetWindowRect(m_hWnd, &rect);
        return rect;
    }

private:
    CWinApp m_app;
    CWnd m_owner;
    HWND m_hWnd;
};

RECT OpenedWizardRect()
{
    RECT rect = {};
    RunWizard({WaitForWizard(), ModalScript::Do([&] {
                   ::GetWindowRect(Wizard(), &rect);
                   PostClick(Wizard(), IDCANCEL);
               })});
    return rect;
}

class WizardWindowTest : public ::testing::Test {
protected:
    void SetUp() override { DeleteSettingsFile(); }
    void TearDown() override { DeleteSettingsFile(); }
};
}  // namespace

TEST_F(WizardWindowTest, OpensOnePageWideAnd320PixelsHigh)
{
    int pageWidth = 0;
    int gaugeDialogUnits = 0;
    RECT window = {};
    RunWizard({WaitForWizard(), ModalScript::Do([&] {
                   HWND wizard = Wizard();
                   pageWidth = PageWidth(wizard);
                   RECT units = {0, 0, 193, 54};
                   ::MapDialogRect(wizard, &units);
                   gaugeDialogUnits = units.right;
                   ::GetWindowRect(wizard, &window);
                   PostClick(wizard, IDCANCEL);
               })});
    EXPECT_EQ(gaugeDialogUnits, pageWidth);
    EXPECT_EQ(pageWidth, Width(window));
    EXPECT_EQ(320, Height(window));
}

TEST_F(WizardWindowTest, IsCentredOverItsOwner)
{
    OwnerWindow owner(100, 80, 600, 450);
    RECT wizard = OpenedWizardRect();
    RECT rect = owner.Rect();
    EXPECT_EQ(rect.left + (Width(rect) - Width(wizard)) / 2, wizard.left);
    EXPECT_EQ(rect.top + (Height(rect) - Height(wizard)) / 2, wizard.top);
}

TEST_F(WizardWindowTest, IsCentredOnTheScreenWhenCentringOverTheOwnerWouldCrossAnEdge)
{
    int screenWidth = ::GetSystemMetrics(SM_CXSCREEN);
    int screenHeight = ::GetSystemMetrics(SM_CYSCREEN);
    for (POINT ownerAt : {POINT{screenWidth - 150, 100}, POINT{-250, 100}, POINT{100, screenHeight - 120}}) {
        SCOPED_TRACE("owner at " + std::to_string(ownerAt.x) + "," + std::to_string(ownerAt.y));
        OwnerWindow owner(ownerAt.x, ownerAt.y, 300, 200);
        RECT wizard = OpenedWizardRect();
        EXPECT_EQ((screenWidth - Width(wizard)) / 2, wizard.left);
        EXPECT_EQ((screenHeight - Height(wizard)) / 2, wizard.top);
    }
}

TEST_F(WizardWindowTest, IsCentredOnTheScreenWithoutAnOwner)
{
    RECT wizard = OpenedWizardRect();
    EXPECT_EQ((::GetSystemMetrics(SM_CXSCREEN) - Width(wizard)) / 2, wizard.left);
    EXPECT_EQ((::GetSystemMetrics(SM_CYSCREEN) - Height(wizard)) / 2, wizard.top);
}

TEST_F(WizardWindowTest, NextThenBackMovesEveryControlOnePageAndExactlyBack)
{
    int pageWidth = 0;
    std::vector<HWND> children;
    std::vector<RECT> start;
    auto expectShiftedBy = [&](int dx) {
        for (size_t i = 0; i < children.size(); ++i) {
            SCOPED_TRACE("child " + std::to_string(i + 1));
            RECT now = ChildRect(Wizard(), children[i]);
            EXPECT_EQ(start[i].left + dx, now.left);
            EXPECT_EQ(start[i].top, now.top);
            EXPECT_EQ(Width(start[i]), Width(now));
            EXPECT_EQ(Height(start[i]), Height(now));
        }
    };
    INT_PTR result = RunWizard({
        WaitForWizard(),
        ModalScript::Do([&] {
            pageWidth = PageWidth(Wizard());
            children = Children(Wizard());
            for (HWND child : children)
                start.push_back(ChildRect(Wizard(), child));
            PostClick(Wizard(), IDC_NEXT_PAGE1);
        }),
        [&] { return ControlRect(Wizard(), IDC_PAGE_GAUGE).left == start[22].left - pageWidth; },
        ModalScript::Do([&] {
            expectShiftedBy(-pageWidth);
            PostClick(Wizard(), IDC_BACK_PAGE2);
        }),
        [&] { return ControlRect(Wizard(), IDC_PAGE_GAUGE).left == start[22].left; },
        ModalScript::Do([&] {
            expectShiftedBy(0);
            PostClick(Wizard(), IDCANCEL);
        }),
    });
    EXPECT_EQ(IDCANCEL, result);
    EXPECT_EQ(33u, children.size());
}

TEST_F(WizardWindowTest, ThreeNextsShowPageFourWithOKUnderTheBannerAndAboveTheBand)
{
    HWND banner = nullptr;
    HWND band = nullptr;
    std::vector<ModalScript::Step> steps = {WaitForWizard()};
    int pageWidth = 0;
    int startLeft = 0;
    steps.push_back(ModalScript::Do([&] {
        pageWidth = PageWidth(Wizard());
        startLeft = ControlRect(Wizard(), IDC_PAGE_GAUGE).left;
        banner = Children(Wizard())[21];
        band = Children(Wizard())[25];
    }));
    const int nexts[] = {IDC_NEXT_PAGE1, IDC_NEXT_PAGE2, IDC_NEXT_PAGE3};
    for (int page = 1; page <= 3; ++page) {
        steps.push_back(ModalScript::Do([&, page] { PostClick(Wizard(), nexts[page - 1]); }));
        steps.push_back(WaitForPage(startLeft, pageWidth, page));
    }
    steps.push_back(ModalScript::Do([&] {
        HWND wizard = Wizard();
        RECT client;
        ::GetClientRect(wizard, &client);
        RECT ok = ControlRect(wizard, IDOK);
        EXPECT_GE(ok.left, 0);
        EXPECT_LE(ok.right, client.right);
        EXPECT_LE(ok.bottom, client.bottom);
        EXPECT_EQ("OK", ControlText(wizard, IDOK));
        for (int hidden : {IDCANCEL, IDC_NEXT_PAGE1, IDC_CANCEL_PAGE2, IDC_NEXT_PAGE2, IDC_CANCEL_PAGE3,
                           IDC_NEXT_PAGE3})
            EXPECT_LE(ControlRect(wizard, hidden).right, 0) << "control " << hidden;
        for (int shown : {IDC_CANCEL_PAGE4, IDC_BACK_PAGE4, IDC_CHANGE_PASSWORD, IDC_CHANGE_IMAGE})
            EXPECT_GE(ControlRect(wizard, shown).left, 0) << "control " << shown;
        RECT top = ChildRect(wizard, banner);
        EXPECT_EQ(0, top.top);
        EXPECT_LE(top.left, 0);
        EXPECT_GE(top.right, client.right);
        RECT bottom = ChildRect(wizard, band);
        EXPECT_LE(bottom.left, 0);
        EXPECT_GE(bottom.right, client.right);
        EXPECT_LT(bottom.top, ok.top);
        PostClick(wizard, IDC_CANCEL_PAGE4);
    }));
    EXPECT_EQ(IDCANCEL, RunWizard(std::move(steps)));
}

namespace {
std::vector<int>* g_paintedAt = nullptr;

LRESULT CALLBACK RecordPaintPosition(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR)
{
    if (message == WM_PAINT && g_paintedAt != nullptr)
        g_paintedAt->push_back(ChildRect(::GetParent(hWnd), hWnd).left);
    return ::DefSubclassProc(hWnd, message, wParam, lParam);
}
}  // namespace

// Where the banner stands at each of its paints tells after which step of
// the slide it was drawn: after step i it has moved i + 1 pixels.
TEST_F(WizardWindowTest, SlideRepaintsTheControlsOnTheGrowingSchedule)
{
    std::vector<int> paintedAt;
    HWND banner = nullptr;
    int pageWidth = 0;
    int startLeft = 0;
    RunWizard({
        WaitForWizard(),
        ModalScript::Pause(300),
        ModalScript::Do([&] {
            pageWidth = PageWidth(Wizard());
            startLeft = ControlRect(Wizard(), IDC_PAGE_GAUGE).left;
            banner = Children(Wizard())[21];
            g_paintedAt = &paintedAt;
            ::SetWindowSubclass(banner, RecordPaintPosition, 1, 0);
            PostClick(Wizard(), IDC_NEXT_PAGE1);
        }),
        WaitForPage(startLeft, pageWidth, 1),
        ModalScript::Pause(300),
        ModalScript::Do([&] {
            ::RemoveWindowSubclass(banner, RecordPaintPosition, 1);
            g_paintedAt = nullptr;
            PostClick(Wizard(), IDCANCEL);
        }),
    });
    ASSERT_EQ(290, pageWidth) << "the steps below assume a dialog unit of 1.5 pixels";

    // Steps 1, 9, .. 65 (every 8th), 73, 79, .. 139 (every 6th), 145, 149, ..
    // 213 (every 4th), then every step from 217 to 289.
    std::vector<int> expected;
    const struct {
        int from, to, stride;
    } runs[] = {{1, 65, 8}, {73, 139, 6}, {145, 213, 4}, {217, 289, 1}};
    for (const auto& run : runs)
        for (int step = run.from; step <= run.to; step += run.stride)
            expected.push_back(-(step + 1));
    // The closing redraw of the dialog may paint the banner once more where
    // it ends.
    while (paintedAt.size() > expected.size() && paintedAt.back() == -pageWidth)
        paintedAt.pop_back();
    EXPECT_EQ(expected, paintedAt);
}

TEST_F(WizardWindowTest, EnterAndEscapeInAnyControlNeitherCloseNorCancel)
{
    WriteSettingsRecords({{"m_bScreensaver", "1"}});
    std::vector<ModalScript::Step> steps = {WaitForWizard()};
    std::vector<HWND> children;
    steps.push_back(ModalScript::Do([&] { children = Children(Wizard()); }));
    for (size_t i = 0; i < 33; ++i) {
        for (WPARAM key : {VK_RETURN, VK_ESCAPE}) {
            steps.push_back(ModalScript::Do([&, i, key] {
                HWND child = children[i];
                if (::IsWindowVisible(child) && ::IsWindowEnabled(child))
                    ::SetFocus(child);
                HWND focus = ::GetFocus();
                ::PostMessageA(focus, WM_KEYDOWN, key, 1);
                ::PostMessageA(focus, WM_KEYUP, key, 0xC0000001);
            }));
            steps.push_back(ModalScript::Do([&, i] {
                EXPECT_NE(nullptr, Wizard()) << "closed by a key in child " << i + 1;
            }));
        }
    }
    steps.push_back(ModalScript::Do([] {
        HWND hotKey = ::GetDlgItem(Wizard(), IDC_HOTKEY);
        ::SetFocus(hotKey);
        ::PostMessageA(hotKey, WM_KEYDOWN, VK_RETURN, 1);
    }));
    steps.push_back([] { return ControlText(Wizard(), IDC_HOTKEY) == "RETURN"; });
    steps.push_back(ModalScript::Do([] { ::PostMessageA(::GetFocus(), WM_KEYDOWN, VK_ESCAPE, 1); }));
    steps.push_back([] { return ControlText(Wizard(), IDC_HOTKEY) == "ESCAPE"; });
    steps.push_back(ModalScript::Do([] { PostClick(Wizard(), IDCANCEL); }));
    EXPECT_EQ(IDCANCEL, RunWizard(std::move(steps)));
}

TEST_F(WizardWindowTest, EveryCancelAndTheCloseBoxEndWithCancelAndLeaveTheFileAlone)
{
    WriteSettingsRecords({{"m_nVirtualKey", "19"}, {"m_nDelay", "7"}, {"m_csCode", "abc"}});
    const std::string before = ReadSettingsFile();
    const struct {
        const char* name;
        UINT message;
        WPARAM wParam;
    } closes[] = {
        {"Cancel of page 1", WM_COMMAND, IDCANCEL},
        {"Cancel of page 2", WM_COMMAND, IDC_CANCEL_PAGE2},
        {"Cancel of page 3", WM_COMMAND, IDC_CANCEL_PAGE3},
        {"Cancel of page 4", WM_COMMAND, IDC_CANCEL_PAGE4},
        {"close box", WM_SYSCOMMAND, SC_CLOSE},
    };
    for (const auto& close : closes) {
        SCOPED_TRACE(close.name);
        INT_PTR result = RunWizard({WaitForWizard(), ModalScript::Do([&] {
                                        HWND wizard = Wizard();
                                        LPARAM from = close.message == WM_COMMAND
                                                          ? reinterpret_cast<LPARAM>(
                                                                ::GetDlgItem(wizard, static_cast<int>(close.wParam)))
                                                          : 0;
                                        ::PostMessageA(wizard, close.message, close.wParam, from);
                                    })});
        EXPECT_EQ(IDCANCEL, result);
        EXPECT_EQ(before, ReadSettingsFile());
    }
}

TEST_F(WizardWindowTest, PasswordButtonRunsTheChangePasswordFlowOverTheWizard)
{
    bool asked = false;
    INT_PTR result = RunWizard({
        WaitForWizard(),
        ModalScript::Do([] { PostClick(Wizard(), IDC_CHANGE_PASSWORD); }),
        [] { return FindThreadDialog("Vellmoran - Change Password") != nullptr; },
        ModalScript::Do([&] {
            asked = true;
            PostClick(FindThreadDialog("Vellmoran - Change Password"), IDCANCEL);
        }),
        [] { return FindThreadDialog("Vellmoran - Change Password") == nullptr; },
        ModalScript::Do([] {
            EXPECT_NE(nullptr, Wizard());
            PostClick(Wizard(), IDCANCEL);
        }),
    });
    EXPECT_TRUE(asked);
    EXPECT_EQ(IDCANCEL, result);
    EXPECT_EQ("", ReadSettingsFile());
}
