#include "framework/File.h"
#include "panel/ControlPanelDlg.h"
#include "panel/Daemon.h"
#include "tests/support/GuiDriver.h"
#include "tests/support/SettingsFile.h"
#include "wizard/PageSlide.h"
#include "wizard/SettingsDlg.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>
#include <thread>

namespace {
HWND Wizard() { return FindThreadDialog("Vellmoran - Settings"); }
HWND Panel() { return FindThreadDialog("Vellmoran v1.02 - Control Panel"); }
HWND Item(int id) { return ::GetDlgItem(Wizard(), id); }
RECT Rect(HWND window) { RECT rect; ::GetWindowRect(window, &rect); return rect; }
const ModalScript::Step WaitForWizard = [] { return ::IsWindowVisible(Wizard()) != FALSE; };
ModalScript::Step Do(std::function<void()> action) { return ModalScript::Do(std::move(action)); }
ModalScript::Step Click(int id) { return Do([id] { UserClick(Wizard(), id); }); }

// The settings file written and read as "key=value key=value ...".
void WriteRecords(const std::string& records)
{
    std::string bytes, key, value;
    for (std::istringstream in(records); std::getline(in >> std::ws, key, '=') && in >> value;)
        bytes += SettingsRecordBytes(key, value);
    WriteSettingsFile(bytes);
}

std::string Records()
{
    std::string bytes = ReadSettingsFile(), records;
    for (size_t at = 0; at + 2176 <= bytes.size(); at += 2176)
        records += (at ? " " : "") + std::string(bytes.substr(at, 128).c_str()) + "=" + bytes.substr(at + 128).c_str();
    return records;
}

// Can fail its load as a file error inside LoadSettings would.
struct TestWizard : CSettingsDlg {
    explicit TestWizard(CWnd* owner = nullptr, bool failLoad = false) : CSettingsDlg(owner), failLoad(failLoad) {}
    void DoDataExchange(CDataExchange* dx) override
    {
        if (failLoad && !dx->m_bSaveAndValidate && m_ctlDelay.m_hWnd)  // bound: the exchange ending the load
            throw CFileException(SettingsFilePath(), "read", ERROR_READ_FAULT);
        CSettingsDlg::DoDataExchange(dx);
    }
    bool failLoad;
};

INT_PTR RunWizard(std::vector<ModalScript::Step> steps, TestWizard&& wizard = TestWizard())
{
    // A hang guard per step only: one slide took 50 s on a loaded 2-core machine.
    ModalScript script(std::move(steps), 600000);
    return wizard.DoModal();
}

// Each test writes the settings file it needs.
struct WizardTest : ::testing::Test { void TearDown() override { DeleteSettingsFile(); } };
}  // namespace

// The names are the VK_ constants' own names, so the table is checked
// against the platform's header rather than against a copy of itself.
#define KEY(vk) {vk, &#vk[3]}
TEST(HotKeyEdit, KeyNames)
{
    std::map<int, std::string> named = {
        KEY(VK_LBUTTON), KEY(VK_RBUTTON), KEY(VK_CANCEL), KEY(VK_MBUTTON), KEY(VK_BACK), KEY(VK_TAB),
        KEY(VK_CLEAR), KEY(VK_RETURN), KEY(VK_SHIFT), KEY(VK_CONTROL), KEY(VK_MENU), KEY(VK_PAUSE),
        KEY(VK_CAPITAL), KEY(VK_KANA), KEY(VK_JUNJA), KEY(VK_FINAL), KEY(VK_KANJI), KEY(VK_ESCAPE),
        KEY(VK_CONVERT), KEY(VK_NONCONVERT), KEY(VK_ACCEPT), KEY(VK_MODECHANGE), KEY(VK_SPACE), KEY(VK_PRIOR),
        KEY(VK_NEXT), KEY(VK_END), KEY(VK_HOME), KEY(VK_LEFT), KEY(VK_UP), KEY(VK_RIGHT), KEY(VK_DOWN),
        KEY(VK_SELECT), KEY(VK_PRINT), KEY(VK_EXECUTE), KEY(VK_SNAPSHOT), KEY(VK_INSERT), KEY(VK_DELETE),
        KEY(VK_HELP), KEY(VK_LWIN), KEY(VK_RWIN), KEY(VK_APPS), KEY(VK_MULTIPLY), KEY(VK_ADD), KEY(VK_SEPARATOR),
        KEY(VK_SUBTRACT), KEY(VK_DECIMAL), KEY(VK_DIVIDE), KEY(VK_NUMLOCK), KEY(VK_SCROLL), KEY(VK_LSHIFT),
        KEY(VK_RSHIFT), KEY(VK_LCONTROL), KEY(VK_RCONTROL), KEY(VK_LMENU), KEY(VK_RMENU), KEY(VK_PROCESSKEY),
        KEY(VK_ATTN), KEY(VK_CRSEL), KEY(VK_EXSEL), KEY(VK_EREOF), KEY(VK_PLAY), KEY(VK_ZOOM), KEY(VK_NONAME),
        KEY(VK_PA1), KEY(VK_OEM_CLEAR)};
    for (int n = 0; n < 24; ++n)
        named[VK_F1 + n] = "F" + std::to_string(n + 1), named[VK_NUMPAD0 + n % 10] = "NUMPAD" + std::to_string(n % 10);
    CHotKeyEdit edit;
    edit.SubclassWindow(::CreateWindowExA(0, "EDIT", "", WS_POPUP, 0, 0, 99, 20, nullptr, nullptr, nullptr, nullptr));
    auto expectShows = [&](const std::string& name, int trace) { EXPECT_EQ(name, AfxGetWindowText(edit.m_hWnd)) << trace; };
    for (int code = -1; code <= 300; ++code)
        edit.SetKey(VK_PAUSE), edit.SetKey(code), expectShows(named.count(code) ? named[code] : "", code);
    // Letters and digits have no name: pressing them clears the choice.
    for (auto [message, key, name] : std::vector<std::tuple<UINT, WPARAM, std::string>>{
             {WM_KEYDOWN, VK_PAUSE, "PAUSE"}, {WM_CHAR, 'x', "PAUSE"}, {WM_KEYUP, VK_PAUSE, "PAUSE"},
             {WM_SYSKEYDOWN, VK_F10, "PAUSE"}, {WM_SYSKEYDOWN, 'A', "PAUSE"}, {WM_KEYDOWN, VK_F5, "F5"},
             {WM_KEYDOWN, 'A', ""}, {WM_KEYDOWN, VK_SHIFT, "SHIFT"}, {WM_KEYDOWN, '7', ""}})
        edit.SendMessage(message, key, 1), expectShows(name, message * 1000 + key);
    ::DestroyWindow(edit.m_hWnd);
}

TEST(PageSlide, RedrawSchedule)
{
    std::map<int, bool> redrawn;
    for (auto [from, to, every] : {std::tuple{1, 65, 8}, {73, 139, 6}, {145, 213, 4}, {217, 289, 1}})
        for (int step = from; step <= to; step += every)
            redrawn[step] = true;
    for (int step = 0; step < 290; ++step)
        EXPECT_EQ(redrawn[step], IsSlideRedrawStep(step, 290)) << step;
}

TEST_F(WizardTest, Placement)
{
    const int cx = ::GetSystemMetrics(SM_CXSCREEN), cy = ::GetSystemMetrics(SM_CYSCREEN);
    for (auto [x, y, overOwner, failLoad] : std::vector<std::tuple<int, int, bool, bool>>{
             {100, 80, true, false}, {100, 80, true, true}, {cx - 150, 100, false, false}, {-250, 100, false, false},
             {100, cy - 120, false, true}}) {
        CWnd owner;
        owner.SubclassWindow(::CreateWindowExA(0, "STATIC", "", WS_OVERLAPPEDWINDOW | WS_VISIBLE, x, y, 600, 450,
                                               nullptr, nullptr, nullptr, nullptr));
        MessageBoxWatcher watcher;
        RECT window = {}, page = {}, area = overOwner ? Rect(owner.m_hWnd) : RECT{0, 0, cx, cy};
        RunWizard({WaitForWizard, Do([&] { window = Rect(Wizard()), page = Rect(Item(IDC_PAGE_GAUGE)); }),
                   Click(IDCANCEL)}, TestWizard(&owner, failLoad));
        ::DestroyWindow(owner.m_hWnd);
        const int width = window.right - window.left, height = window.bottom - window.top;
        EXPECT_TRUE(width == page.right - page.left && height == 320) << width << "x" << height;
        EXPECT_EQ(area.left + (area.right - area.left - width) / 2, window.left) << x << "," << y;
        EXPECT_EQ(area.top + (area.bottom - area.top - height) / 2, window.top) << x << "," << y;
        EXPECT_EQ(failLoad ? 1u : 0u, watcher.Boxes().size());
    }
}

// Clicks a page's button, then waits for a button of the page slid to.
ModalScript::Step ClickAndWaitFor(int id, int shown)
{
    return [id, shown, clicked = false]() mutable {
        if (!clicked)
            UserClick(Wizard(), id), clicked = true;
        return InView(Item(shown));
    };
}

TEST_F(WizardTest, Slide)
{
    WriteRecords("m_bScreensaver=1");
    const std::string before = ReadSettingsFile();
    std::vector<std::pair<HWND, RECT>> children;  // with where each starts
    RECT gauge = {};
    EXPECT_EQ(IDCANCEL,
              RunWizard({WaitForWizard, Do([&] {
                             for (HWND c = ::GetWindow(Wizard(), GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT))
                                 children.emplace_back(c, Rect(c));
                             gauge = Rect(Item(IDC_PAGE_GAUGE));
                         }),
                         ClickAndWaitFor(IDC_NEXT_PAGE1, IDC_BACK_PAGE2), ClickAndWaitFor(IDC_BACK_PAGE2, IDC_NEXT_PAGE1),
                         Do([&] {
                             for (auto [child, start] : children) {
                                 RECT now = Rect(child);
                                 EXPECT_TRUE(::EqualRect(&start, &now)) << ::GetDlgCtrlID(child);
                             }
                         }),
                         ClickAndWaitFor(IDC_NEXT_PAGE1, IDC_NEXT_PAGE2), ClickAndWaitFor(IDC_NEXT_PAGE2, IDC_NEXT_PAGE3),
                         ClickAndWaitFor(IDC_NEXT_PAGE3, IDC_CANCEL_PAGE4), Do([&] {
                             // Exactly three pages on, and the last page's OK wholly inside the window.
                             RECT ok = Rect(Item(IDOK)), window = Rect(Wizard()), now = Rect(Item(IDC_PAGE_GAUGE));
                             EXPECT_EQ(gauge.left - 3 * (gauge.right - gauge.left), now.left);
                             EXPECT_TRUE(ok.left > window.left && ok.right < window.right && ok.bottom < window.bottom);
                         }),
                         Click(IDC_CANCEL_PAGE4)}));
    EXPECT_TRUE(before == ReadSettingsFile()) << "the file changed";
}

// The system's modal loop would turn Enter into OK and Escape into Cancel
// before the wizard saw them; here they are keys like any other.
TEST_F(WizardTest, EnterAndEscape)
{
    WriteRecords("m_nVirtualKey=19");
    const std::string before = ReadSettingsFile();
    EXPECT_EQ(IDCANCEL, RunWizard({WaitForWizard, Do([] {
                                       for (HWND c = ::GetWindow(Wizard(), GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT))
                                           for (WPARAM key : {VK_RETURN, VK_ESCAPE})
                                               ::PostMessageA(c, WM_KEYDOWN, key, 1);
                                   }),
                                   Do([] { EXPECT_EQ("ESCAPE", AfxGetWindowText(Item(IDC_HOTKEY))); }),
                                   Click(IDCANCEL)}));
    EXPECT_TRUE(before == ReadSettingsFile()) << "the file changed";
}

// Only the delay edit follows the box; its arrows stay as they are.
TEST_F(WizardTest, ScreensaverBox)
{
    WriteRecords("m_bScreensaver=1");
    auto checked = [](UINT state) -> ModalScript::Step {
        return [state] { return ::IsDlgButtonChecked(Wizard(), IDC_ENABLE_SCREENSAVER) == state; };
    };
    auto delayEnabled = [](bool enabled) {
        return Do([enabled] {
            EXPECT_EQ(enabled, ::IsWindowEnabled(Item(IDC_DELAY)) != FALSE);
            EXPECT_TRUE(::IsWindowEnabled(Item(IDC_DELAY_SPIN)));
        });
    };
    RunWizard({WaitForWizard, checked(BST_CHECKED), delayEnabled(true), Click(IDC_ENABLE_SCREENSAVER),
               checked(BST_UNCHECKED), delayEnabled(false), Click(IDC_ENABLE_SCREENSAVER), checked(BST_CHECKED),
               delayEnabled(true), Click(IDCANCEL)});
}

// The stored delay above 30 is shown as it is, so OK refuses it too.
TEST_F(WizardTest, DelayValidation)
{
    WriteRecords("m_nVirtualKey=19 m_bScreensaver=1 m_nDelay=45");
    const std::string before = ReadSettingsFile(), range = "Please enter an integer between 0 and 30.";
    for (bool closeBox : {false, true}) {
        MessageBoxWatcher watcher;
        auto refused = [&](size_t n) -> ModalScript::Step {
            return [&, n] { return watcher.Boxes().size() == n && ::IsWindowEnabled(Wizard()); };
        };
        auto okWith = [](const char* delay) {
            return Do([=] { ::SetWindowTextA(Item(IDC_DELAY), delay), UserClick(Wizard(), IDOK); });
        };
        EXPECT_EQ(IDCANCEL, RunWizard({WaitForWizard, Click(IDOK), refused(1), okWith(""), refused(2), okWith("31"),
                                       refused(3),
                                       closeBox ? Do([] { ::PostMessageA(Wizard(), WM_SYSCOMMAND, SC_CLOSE, 0); })
                                                : Click(IDCANCEL)}));
        EXPECT_EQ((std::vector<std::string>{range, "Please enter an integer.", range}), watcher.Texts());
        EXPECT_TRUE(before == ReadSettingsFile()) << "the file changed";
    }
}

// Stored 0s and unreadable values mean the defaults, the slider clamps and
// check values outside 0..2 show clear, and OK writes what is shown: stored
// keys in place, missing ones appended in the order written.
TEST_F(WizardTest, LoadAndSave)
{
    const char* defaults = "m_nVirtualKey=0 m_bScreenwipe=0 m_bScreensaver=0 m_nVelocity=500 m_nDelay=5";
    const char* stored = "m_csCode=x m_nDelay=12 m_nVelocity=700 m_bScreensaver=1 m_bScreenwipe=1 m_nVirtualKey=19";
    for (auto [records, saved] : std::vector<std::pair<const char*, const char*>>{
             {nullptr, defaults}, {"", defaults}, {stored, stored},
             {"m_nVirtualKey=65 m_nVelocity=0 m_nDelay=0 m_bScreenwipe=yes",
              "m_nVirtualKey=0 m_nVelocity=500 m_nDelay=5 m_bScreenwipe=0 m_bScreensaver=0"},
             {"m_nVelocity=50 m_bScreenwipe=3 m_bScreensaver=-1",
              "m_nVelocity=100 m_bScreenwipe=0 m_bScreensaver=0 m_nVirtualKey=0 m_nDelay=5"},
             {"m_nVelocity=5000 m_nDelay=30 m_bScreensaver=2",
              "m_nVelocity=1100 m_nDelay=30 m_bScreensaver=1 m_nVirtualKey=0 m_bScreenwipe=0"}}) {
        records ? WriteRecords(records) : DeleteSettingsFile();
        EXPECT_EQ(IDOK, RunWizard({WaitForWizard, Click(IDOK)}));
        EXPECT_EQ(saved, Records()) << (records ? records : "no file");
    }
}

// The daemon that "Stop && Configure" has just stopped may hold the file for
// a moment: the load waits about 2 seconds, then reports that it shows the
// defaults, which an OK once the file is free writes.
TEST_F(WizardTest, HeldFile)
{
    for (DWORD holdMs : {700, 3000}) {
        WriteRecords("m_nVirtualKey=19 m_nDelay=9 m_bScreensaver=1");
        auto held = std::make_unique<HeldSettingsFile>();
        std::thread release([&] { ::Sleep(holdMs), held.reset(); });
        MessageBoxWatcher watcher;
        RunWizard({WaitForWizard, Do([&] { release.join(); }), Click(IDOK)});
        EXPECT_EQ(holdMs > 2000 ? "m_nVirtualKey=0 m_nDelay=5 m_bScreensaver=0 m_bScreenwipe=0 m_nVelocity=500"
                                : "m_nVirtualKey=19 m_nDelay=9 m_bScreensaver=1 m_bScreenwipe=0 m_nVelocity=500",
                  Records());
        EXPECT_EQ(holdMs > 2000,
                  watcher.Texts().size() == 1 && watcher.Texts()[0].find("could not be read") != std::string::npos);
    }
}

// The first OK finds the file held, says that nothing was saved and leaves
// the wizard open for a second OK.
TEST_F(WizardTest, StopAndConfigure)
{
    WriteRecords("m_nDelay=9 m_bScreensaver=1 m_csCode=code");
    MessageBoxWatcher watcher;
    std::unique_ptr<HeldSettingsFile> held;
    CWinApp app;
    CControlPanelDlg panel;
    app.m_pMainWnd = &panel;
    ModalScript script({[] { return Panel() != nullptr; }, Do([] { UserClick(Panel(), IDC_STOP_AND_CONFIGURE); }),
                        WaitForWizard, Do([&] {
                            EXPECT_EQ(Panel(), ::GetWindow(Wizard(), GW_OWNER));
                            ::PostMessageA(Item(IDC_HOTKEY), WM_KEYDOWN, VK_F5, 1);
                            ::SendMessageA(Item(IDC_ENABLE_SCREENWIPE), BM_CLICK, 0, 0);
                            ::SendMessageA(Item(IDC_VELOCITY), TBM_SETPOS, TRUE, 800);
                            ::SetWindowTextA(Item(IDC_DELAY), "0");
                            held = std::make_unique<HeldSettingsFile>();
                        }),
                        Click(IDOK), [&] { return !watcher.Boxes().empty(); },
                        Do([&] { held.reset(); EXPECT_EQ("m_nDelay=9 m_bScreensaver=1 m_csCode=code", Records()); }),
                        Click(IDOK), [] { return Wizard() == nullptr; },
                        Do([] { UserClick(Panel(), IDC_START); }), [] { return FindDaemonWindow() != nullptr; },
                        Do([] { RequestDaemonStop(FindDaemonWindow()), UserClick(Panel(), IDCANCEL); })});
    panel.DoModal();
    EXPECT_TRUE(WaitForDaemonEnd(kProcessGuardMs));
    EXPECT_TRUE(watcher.Texts().size() == 1 && watcher.Texts()[0].find("not saved") != std::string::npos);
    std::ifstream log(ExecutableDirectory() + "\\VellmoranD.log");
    EXPECT_EQ("m_nVirtualKey=116\nm_bScreenwipe=1\nm_bScreensaver=1\nm_nVelocity=800\nm_nDelay=0\nm_csCode=code\n",
              std::string(std::istreambuf_iterator<char>(log), {}));
}
