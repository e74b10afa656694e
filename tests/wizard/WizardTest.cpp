#include "panel/ControlPanelDlg.h"
#include "tests/support/GuiDriver.h"
#include "tests/support/SettingsFile.h"
#include "wizard/SettingsDlg.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <sstream>

bool operator==(const RECT& a, const RECT& b)
{
    return ::EqualRect(&a, &b);
}

namespace {
using Step = ModalScript::Step;
HWND Wizard()
{
    return FindThreadDialog("Vellmoran - Settings");
}
HWND Panel()
{
    return FindThreadDialog("Vellmoran v1.02 - Control Panel");
}
HWND Item(int id)
{
    return ::GetDlgItem(Wizard(), id);
}
RECT Rect(HWND window)
{
    RECT rect;
    ::GetWindowRect(window, &rect);
    return rect;
}
const Step WaitForWizard = [] { return ::IsWindowVisible(Wizard()) != FALSE; };
Step Do(std::function<void()> action)
{
    return ModalScript::Do(std::move(action));
}
Step Click(int id)
{
    return Do([id] { UserClick(Wizard(), id); });
}
// Waits for a page's button to have slid wholly into view.
Step Shown(int id)
{
    return [id] { return InView(Item(id)); };
}

// Where the wizard's controls lie, in Z order, once slid `pages` pages on.
std::vector<RECT> Places(int pages = 0)
{
    std::vector<RECT> places;
    const RECT page = Rect(Item(IDC_PAGE_GAUGE));
    for (HWND c = ::GetWindow(Wizard(), GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT)) {
        places.push_back(Rect(c));
        ::OffsetRect(&places.back(), pages * (page.left - page.right), 0);
    }
    return places;
}

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
        records += (at ? " " : "") + std::string(bytes.substr(at, 128).c_str()) + "="
                   + bytes.substr(at + 128).c_str();
    return records;
}

INT_PTR RunWizard(std::vector<Step> steps, CWnd* owner = nullptr)
{
    ModalScript script(std::move(steps),
                       600000);  // a hang guard per step: one slide took 50 s under load
    return CSettingsDlg(owner).DoModal();
}

// Each test starts without a settings file, even after a run cut short.
struct WizardTest : ::testing::Test {
    void SetUp() override { DeleteSettingsFile(); }
    void TearDown() override { SetUp(); }
};
}  // namespace

// The edit names keys as the platform's VK_ constants do, and keys that also
// type (letters, digits) have no name: the lock must not be armed with them.
TEST(HotKeyEdit, KeyNames)
{
    std::map<int, std::string> named = {{VK_PAUSE, "PAUSE"}, {VK_F1, "F1"},         {VK_F24, "F24"},
                                        {VK_NUMPAD0, "NUMPAD0"}, {VK_LWIN, "LWIN"}, {VK_SPACE, "SPACE"},
                                        {VK_OEM_CLEAR, "OEM_CLEAR"}, {'A', ""},     {'7', ""},
                                        {VK_OEM_1, ""},          {0, ""},           {256, ""}};
    CHotKeyEdit edit;
    edit.SubclassWindow(::CreateWindowExA(0, "EDIT", "", WS_POPUP, 0, 0, 99, 20, nullptr, nullptr,
                                          nullptr, nullptr));
    auto expectShows = [&](const std::string& name, int trace) {
        EXPECT_EQ(name, AfxGetWindowText(edit.m_hWnd)) << trace;
    };
    for (auto [code, name] : named) {
        edit.SetKey(VK_PAUSE);
        edit.SetKey(code);
        expectShows(name, code);
    }
    // Letters and digits have no name: pressing them clears the choice.
    for (auto [message, key, name] :
         std::vector<std::tuple<UINT, WPARAM, std::string>>{{WM_KEYDOWN, VK_PAUSE, "PAUSE"},
                                                            {WM_CHAR, 'x', "PAUSE"},
                                                            {WM_KEYUP, VK_PAUSE, "PAUSE"},
                                                            {WM_SYSKEYDOWN, VK_F10, "PAUSE"},
                                                            {WM_SYSKEYDOWN, 'A', "PAUSE"},
                                                            {WM_KEYDOWN, VK_F5, "F5"},
                                                            {WM_KEYDOWN, 'A', ""},
                                                            {WM_KEYDOWN, VK_SHIFT, "SHIFT"},
                                                            {WM_KEYDOWN, '7', ""}}) {
        edit.SendMessage(message, key, 1);
        expectShows(name, message * 1000 + key);
    }
    ::DestroyWindow(edit.m_hWnd);
}

// Every control slides by exactly one page width a page, and the last page's
// OK ends up wholly in view; Cancel there writes no file.
TEST_F(WizardTest, Slide)
{
    std::vector<RECT> start, threeOn;
    auto at = [](std::vector<RECT>& places) {
        return Do([&places] { EXPECT_TRUE(places == Places()); });
    };
    EXPECT_EQ(
        IDCANCEL,
        RunWizard({WaitForWizard, Do([&] { start = Places(), threeOn = Places(3); }),
                   Click(IDC_NEXT_PAGE1), Shown(IDC_BACK_PAGE2), Click(IDC_BACK_PAGE2),
                   Shown(IDC_NEXT_PAGE1), at(start), Click(IDC_NEXT_PAGE1), Shown(IDC_NEXT_PAGE2),
                   Click(IDC_NEXT_PAGE2), Shown(IDC_NEXT_PAGE3), Click(IDC_NEXT_PAGE3),
                   Shown(IDC_CANCEL_PAGE4), at(threeOn), Shown(IDOK), Click(IDC_CANCEL_PAGE4)}));
    EXPECT_EQ("", Records());
}

// The system's modal loop would turn Enter into OK and Escape into Cancel
// before the wizard saw them; here they are keys like any other, whichever
// control has them. The labels join the group of the control before them.
TEST_F(WizardTest, EnterAndEscape)
{
    const std::set<std::string> labels = {" Delay", "Minutes", "Min.", "Max."};
    int grouped = 0;
    EXPECT_EQ(IDCANCEL,
              RunWizard({WaitForWizard, Do([&] {
                             for (HWND c = ::GetWindow(Wizard(), GW_CHILD); c;
                                  c = ::GetWindow(c, GW_HWNDNEXT)) {
                                 grouped += labels.count(AfxGetWindowText(c))
                                            && !(GetWindowStyle(c) & WS_GROUP);
                                 for (WPARAM key : {VK_RETURN, VK_ESCAPE})
                                     ::PostMessageA(c, WM_KEYDOWN, key, 1);
                             }
                         }),
                         Do([] { EXPECT_EQ("ESCAPE", AfxGetWindowText(Item(IDC_HOTKEY))); }),
                         Click(IDCANCEL)}));
    EXPECT_EQ("", Records());
    EXPECT_EQ(4, grouped);
}

// The stored delay above 30 is shown as it is, so OK refuses it too. A
// refusal leaves the wizard open. Only the delay edit follows the "Enable
// Screensaver" box; its arrows stay as they are. Closing writes nothing.
TEST_F(WizardTest, DelayField)
{
    WriteRecords("m_nVirtualKey=19 m_bScreensaver=1 m_nDelay=45");
    const std::string before = ReadSettingsFile(),
                      range = "Please enter an integer between 0 and 30.";
    MessageBoxWatcher watcher;
    auto shown = [] {
        return AfxGetWindowText(Item(IDC_DELAY))
               + (::IsWindowEnabled(Item(IDC_DELAY)) ? " enabled" : "");
    };
    auto box = [=](bool on) {
        return Do([=] {
            EXPECT_EQ(on ? "1 7 enabled" : "0 7",
                      std::to_string(::IsDlgButtonChecked(Wizard(), IDC_ENABLE_SCREENSAVER)) + " "
                          + shown());
            EXPECT_TRUE(::IsWindowEnabled(Item(IDC_DELAY_SPIN)));
            UserClick(Wizard(), IDC_ENABLE_SCREENSAVER);
        });
    };
    std::vector<Step> steps = {WaitForWizard, Do([=] { EXPECT_EQ("45 enabled", shown()); })};
    size_t refusals = 0;
    for (const char* delay : {"45", "", "31", "99999999999"})
        steps.insert(
            steps.end(),
            {Do([delay] {
                 ::SetWindowTextA(Item(IDC_DELAY), delay);
                 UserClick(Wizard(), IDOK);
             }),
             [&watcher, n = ++refusals] {
                 return watcher.Boxes().size() == n && IsWindowEnabled(Wizard());
             }});
    steps.insert(steps.end(), {Do([] { ::SetWindowTextA(Item(IDC_DELAY), "7"); }), box(true),
                               box(false), Do([=] { EXPECT_EQ("7 enabled", shown()); }),
                               Do([] { ::PostMessageA(Wizard(), WM_CLOSE, 0, 0); })});
    EXPECT_EQ(IDCANCEL, RunWizard(steps));
    EXPECT_EQ((std::vector<std::string>{range, "Please enter an integer.", range, range}),
              watcher.Texts());
    EXPECT_TRUE(before == ReadSettingsFile()) << "the file changed";
}

// Stored 0s and unreadable values mean the defaults, the slider clamps and
// check values outside 0..2 show clear, and OK writes what is shown: stored
// keys in place, missing ones appended in the order written.
TEST_F(WizardTest, LoadAndSave)
{
    const char* defaults =
        "m_nVirtualKey=0 m_bScreenwipe=0 m_bScreensaver=0 m_nVelocity=500 m_nDelay=5";
    const char* stored =
        "m_csCode=x m_nDelay=12 m_nVelocity=700 m_bScreensaver=1 m_bScreenwipe=1 m_nVirtualKey=19";
    for (auto [records, saved] : std::vector<std::pair<const char*, const char*>>{
             {nullptr, defaults},
             {"", defaults},
             {stored, stored},
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

// The panel's wizard opens over it and saves what the user changed; once
// it has closed, the panel takes clicks again.
TEST_F(WizardTest, StopAndConfigure)
{
    WriteRecords("m_nDelay=9 m_bScreensaver=1 m_csCode=code");
    CWinApp app;
    CControlPanelDlg panel;
    app.m_pMainWnd = &panel;
    ModalScript script({[] { return Panel() != nullptr; },
                        Do([] { UserClick(Panel(), IDC_STOP_AND_CONFIGURE); }), WaitForWizard,
                        Do([] {
                            const RECT owner = Rect(Panel()), wizard = Rect(Wizard()),
                                       page = Rect(Item(IDC_PAGE_GAUGE));
                            EXPECT_EQ(Panel(), ::GetWindow(Wizard(), GW_OWNER));
                            // Centred over the panel, one page wide and 320 high.
                            EXPECT_NEAR(owner.left + owner.right, wizard.left + wizard.right, 1);
                            EXPECT_NEAR(owner.top + owner.bottom, wizard.top + wizard.bottom, 1);
                            EXPECT_TRUE(wizard.right - wizard.left == page.right - page.left
                                        && wizard.bottom - wizard.top == 320);
                            ::PostMessageA(Item(IDC_HOTKEY), WM_KEYDOWN, VK_F5, 1);
                            ::SendMessageA(Item(IDC_ENABLE_SCREENWIPE), BM_CLICK, 0, 0);
                            ::SendMessageA(Item(IDC_VELOCITY), TBM_SETPOS, TRUE, 800);
                            ::SetWindowTextA(Item(IDC_DELAY), "0");
                        }),
                        Click(IDOK), [] { return Wizard() == nullptr; },
                        Do([] { UserClick(Panel(), IDCANCEL); })});
    panel.DoModal();
    EXPECT_EQ("m_nDelay=0 m_bScreensaver=1 m_csCode=code m_nVirtualKey=116 m_bScreenwipe=1 "
              "m_nVelocity=800",
              Records());
}
