#include "framework/DataExchange.h"
#include "framework/File.h"
#include "res/resource.h"
#include "tests/support/SettingsFile.h"
#include "tests/wizard/WizardDriver.h"
#include "wizard/SettingsDlg.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <memory>
#include <thread>

namespace {
using Records = std::vector<std::pair<std::string, std::string>>;

// What the wizard shows of the five settings.
struct Shown {
    std::string hotKey;
    bool screenwipe;
    bool screensaver;
    bool delayEnabled;
    std::string delay;
    int velocity;
};

Shown WhatIsShown(HWND wizard)
{
    return {ControlText(wizard, IDC_HOTKEY),
            IsChecked(wizard, IDC_ENABLE_SCREENWIPE),
            IsChecked(wizard, IDC_ENABLE_SCREENSAVER),
            ::IsWindowEnabled(::GetDlgItem(wizard, IDC_DELAY)) != FALSE,
            ControlText(wizard, IDC_DELAY),
            SliderPos(wizard)};
}

void ExpectShown(const Shown& expected, const Shown& actual)
{
    EXPECT_EQ(expected.hotKey, actual.hotKey);
    EXPECT_EQ(expected.screenwipe, actual.screenwipe);
    EXPECT_EQ(expected.screensaver, actual.screensaver);
    EXPECT_EQ(expected.delayEnabled, actual.delayEnabled);
    EXPECT_EQ(expected.delay, actual.delay);
    EXPECT_EQ(expected.velocity, actual.velocity);
}

// Opens the wizard on the current file, notes what it shows and leaves it
// with OK (or Cancel).
Shown OpenAndClose(int closeWith, INT_PTR* result = nullptr)
{
    Shown shown = {};
    INT_PTR ended = RunWizard({WaitForWizard(), ModalScript::Do([&] {
                                   shown = WhatIsShown(Wizard());
                                   PostClick(Wizard(), closeWith);
                               })});
    if (result != nullptr)
        *result = ended;
    return shown;
}

const Records kDefaultsWritten = {{"m_nVirtualKey", "0"}, {"m_bScreenwipe", "0"}, {"m_bScreensaver", "0"},
                                  {"m_nVelocity", "500"}, {"m_nDelay", "5"}};

class WizardSettingsTest : public ::testing::Test {
protected:
    void SetUp() override { DeleteSettingsFile(); }
    void TearDown() override { DeleteSettingsFile(); }
};
}  // namespace

TEST_F(WizardSettingsTest, WithoutAFileShowsTheDefaultsAndTheRanges)
{
    int spinLow = 0;
    int spinHigh = 0;
    int sliderMin = 0;
    int sliderMax = 0;
    Shown shown = {};
    RunWizard({WaitForWizard(), ModalScript::Do([&] {
                   HWND wizard = Wizard();
                   shown = WhatIsShown(wizard);
                   ::SendDlgItemMessageA(wizard, IDC_DELAY_SPIN, UDM_GETRANGE32, reinterpret_cast<WPARAM>(&spinLow),
                                         reinterpret_cast<LPARAM>(&spinHigh));
                   sliderMin = static_cast<int>(::SendDlgItemMessageA(wizard, IDC_VELOCITY, TBM_GETRANGEMIN, 0, 0));
                   sliderMax = static_cast<int>(::SendDlgItemMessageA(wizard, IDC_VELOCITY, TBM_GETRANGEMAX, 0, 0));
                   PostClick(wizard, IDCANCEL);
               })});
    ExpectShown({"", false, false, false, "5", 500}, shown);
    EXPECT_EQ(1, spinLow);
    EXPECT_EQ(30, spinHigh);
    EXPECT_EQ(100, sliderMin);
    EXPECT_EQ(1100, sliderMax);
    // The reads create the file, empty.
    EXPECT_TRUE(SettingsFileExists());
    EXPECT_EQ("", ReadSettingsFile());
}

TEST_F(WizardSettingsTest, ShowsStoredValuesAndOkWritesThemBackInPlace)
{
    const Records stored = {{"m_csCode", "secret"}, {"m_nDelay", "12"},       {"m_nVelocity", "700"},
                            {"m_bScreensaver", "1"}, {"m_bScreenwipe", "1"}, {"m_nVirtualKey", "19"}};
    WriteSettingsRecords(stored);
    INT_PTR result = 0;
    ExpectShown({"PAUSE", true, true, true, "12", 700}, OpenAndClose(IDOK, &result));
    EXPECT_EQ(IDOK, result);
    EXPECT_EQ(stored, SettingsRecords());
}

TEST_F(WizardSettingsTest, OutOfRangeStoredValuesShowAsTheirDefaultsOrNearestEnds)
{
    const struct {
        const char* name;
        Records stored;
        Shown shown;
        Records saved;
    } cases[] = {
        {"zeros",
         {{"m_nVelocity", "0"}, {"m_nDelay", "0"}},
         {"", false, false, false, "5", 500},
         {{"m_nVelocity", "500"}, {"m_nDelay", "5"}}},
        {"text and nameless key",
         {{"m_nVirtualKey", "65"}, {"m_nVelocity", "fast"}, {"m_bScreenwipe", "yes"}},
         {"", false, false, false, "5", 500},
         {{"m_nVirtualKey", "0"}, {"m_nVelocity", "500"}, {"m_bScreenwipe", "0"}}},
        // The delay edit follows the stored flag, before the exchange clears
        // the box.
        {"below and above the ranges",
         {{"m_nVelocity", "50"}, {"m_bScreenwipe", "3"}, {"m_bScreensaver", "-1"}},
         {"", false, false, true, "5", 100},
         {{"m_nVelocity", "100"}, {"m_bScreenwipe", "0"}, {"m_bScreensaver", "0"}}},
        {"above the slider",
         {{"m_nVelocity", "5000"}, {"m_nDelay", "30"}, {"m_bScreensaver", "2"}},
         {"", false, true, true, "30", 1100},
         {{"m_nVelocity", "1100"}, {"m_nDelay", "30"}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        WriteSettingsRecords(c.stored);
        INT_PTR result = 0;
        Shown shown = OpenAndClose(IDOK, &result);
        ExpectShown(c.shown, shown);
        EXPECT_EQ(IDOK, result);
        std::string bytes = ReadSettingsFile();
        for (const auto& record : c.saved) {
            std::string value;
            EXPECT_TRUE(FindSettingsValue(bytes, record.first, value)) << record.first;
            EXPECT_EQ(record.second, value) << record.first;
        }
    }
}

TEST_F(WizardSettingsTest, AStoredDelayAboveThirtyIsShownAndRefusedByOk)
{
    WriteSettingsRecords({{"m_nDelay", "45"}, {"m_bScreensaver", "1"}});
    const std::string before = ReadSettingsFile();
    MessageBoxWatcher watcher(IDOK);
    std::string shown;
    INT_PTR result = RunWizard({
        WaitForWizard(),
        ModalScript::Do([&] {
            shown = ControlText(Wizard(), IDC_DELAY);
            PostClick(Wizard(), IDOK);
        }),
        [&] { return !watcher.Boxes().empty(); },
        ModalScript::Do([] {
            ::SetDlgItemTextA(Wizard(), IDC_DELAY, "30");
            PostClick(Wizard(), IDOK);
        }),
    });
    EXPECT_EQ("45", shown);
    EXPECT_EQ(IDOK, result);
    EXPECT_EQ(std::vector<std::string>{"Please enter an integer between 0 and 30."}, watcher.Texts());
    std::string delay;
    EXPECT_TRUE(FindSettingsValue(ReadSettingsFile(), "m_nDelay", delay));
    EXPECT_EQ("30", delay);
    EXPECT_NE(before, ReadSettingsFile());
}

TEST_F(WizardSettingsTest, SaveWritesTheFiveKeysInOrderIntoAnEmptyFile)
{
    WriteSettingsFile("");
    INT_PTR result = RunWizard({
        WaitForWizard(),
        ModalScript::Do([] {
            HWND wizard = Wizard();
            ::PostMessageA(::GetDlgItem(wizard, IDC_HOTKEY), WM_KEYDOWN, VK_F5, 1);
            ::SendDlgItemMessageA(wizard, IDC_ENABLE_SCREENWIPE, BM_CLICK, 0, 0);
            ::SendDlgItemMessageA(wizard, IDC_VELOCITY, TBM_SETPOS, TRUE, 800);
            ::SetDlgItemTextA(wizard, IDC_DELAY, "17");
        }),
        [] { return ControlText(Wizard(), IDC_HOTKEY) == "F5"; },
        ModalScript::Do([] { PostClick(Wizard(), IDOK); }),
    });
    EXPECT_EQ(IDOK, result);
    std::string expected;
    for (const auto& record : Records{{"m_nVirtualKey", "116"},
                                      {"m_bScreenwipe", "1"},
                                      {"m_bScreensaver", "0"},
                                      {"m_nVelocity", "800"},
                                      {"m_nDelay", "17"}})
        expected += SettingsRecordBytes(record.first, record.second);
    EXPECT_EQ(expected, ReadSettingsFile());
}

TEST_F(WizardSettingsTest, AFileHeldOnlyBrieflyIsWaitedForAndRead)
{
    WriteSettingsRecords({{"m_nVirtualKey", "19"}, {"m_nDelay", "9"}, {"m_bScreensaver", "1"}});
    HANDLE held = ::CreateFileA(SettingsFilePath().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    std::thread release([held] {
        ::Sleep(700);
        ::CloseHandle(held);
    });
    MessageBoxWatcher watcher(IDOK);
    DWORD start = ::GetTickCount();
    Shown shown = OpenAndClose(IDCANCEL);
    release.join();
    EXPECT_GE(::GetTickCount() - start, 600u);
    EXPECT_TRUE(watcher.Boxes().empty());
    ExpectShown({"PAUSE", false, true, true, "9", 500}, shown);
}

TEST_F(WizardSettingsTest, AFileThatStaysHeldIsReportedAndTheDefaultsAreShown)
{
    WriteSettingsRecords({{"m_nVirtualKey", "19"}, {"m_nDelay", "9"}, {"m_bScreensaver", "1"}});
    const std::string before = ReadSettingsFile();
    MessageBoxWatcher watcher(IDOK);
    DWORD waited = 0;
    Shown shown = {};
    {
        HeldSettingsFile held;
        ASSERT_TRUE(held.Held());
        DWORD start = ::GetTickCount();
        RunWizard({WaitForWizard(), ModalScript::Do([&] {
                       waited = ::GetTickCount() - start;
                       shown = WhatIsShown(Wizard());
                       PostClick(Wizard(), IDCANCEL);
                   })});
    }
    EXPECT_GE(waited, 1900u);
    EXPECT_LT(waited, 8000u);
    ExpectShown({"", false, false, false, "5", 500}, shown);
    ASSERT_EQ(1u, watcher.Boxes().size());
    EXPECT_NE(std::string::npos, watcher.Boxes()[0].text.find("could not be read")) << watcher.Boxes()[0].text;
    EXPECT_NE(std::string::npos, watcher.Boxes()[0].text.find("default")) << watcher.Boxes()[0].text;
    EXPECT_EQ(before, ReadSettingsFile());
}

TEST_F(WizardSettingsTest, OkWithAHeldFileSaysNothingWasSavedAndStaysOpenForAnotherTry)
{
    WriteSettingsRecords({{"m_nDelay", "9"}, {"m_bScreensaver", "1"}});
    const std::string before = ReadSettingsFile();
    MessageBoxWatcher watcher(IDOK);
    std::unique_ptr<HeldSettingsFile> held;
    INT_PTR result = RunWizard({
        WaitForWizard(),
        ModalScript::Do([&] {
            ::SetDlgItemTextA(Wizard(), IDC_DELAY, "11");
            held = std::make_unique<HeldSettingsFile>();
            PostClick(Wizard(), IDOK);
        }),
        [&] { return !watcher.Boxes().empty(); },
        ModalScript::Pause(100),
        ModalScript::Do([&] {
            EXPECT_NE(nullptr, Wizard());
            held.reset();
            EXPECT_EQ(before, ReadSettingsFile());
            PostClick(Wizard(), IDOK);
        }),
    });
    EXPECT_EQ(IDOK, result);
    ASSERT_EQ(1u, watcher.Boxes().size());
    EXPECT_NE(std::string::npos, watcher.Boxes()[0].text.find("not saved")) << watcher.Boxes()[0].text;
    std::string delay;
    EXPECT_TRUE(FindSettingsValue(ReadSettingsFile(), "m_nDelay", delay));
    EXPECT_EQ("11", delay);
}

namespace {
// Fails the load's closing exchange as a file error inside the load would.
class WizardWithFailingLoad : public CSettingsDlg {
protected:
    void DoDataExchange(CDataExchange* dx) override
    {
        if (!dx->m_bSaveAndValidate && ++m_loads == 2)
            throw CFileException(SettingsFilePath(), "read", ERROR_READ_FAULT);
        CSettingsDlg::DoDataExchange(dx);
    }

private:
    int m_loads = 0;
};
}  // namespace

TEST_F(WizardSettingsTest, AFileErrorWhileLoadingIsReportedAndTheWindowStillShrinksAndCentres)
{
    MessageBoxWatcher watcher(IDOK);
    WizardWithFailingLoad wizard;
    RECT window = {};
    RECT gauge = {};
    RunWizard(wizard, {WaitForWizard(), ModalScript::Do([&] {
                           ::GetWindowRect(Wizard(), &window);
                           ::GetClientRect(::GetDlgItem(Wizard(), IDC_PAGE_GAUGE), &gauge);
                           PostClick(Wizard(), IDCANCEL);
                       })});
    ASSERT_EQ(1u, watcher.Boxes().size());
    EXPECT_NE(std::string::npos, watcher.Boxes()[0].text.find("Vellmoran.bin")) << watcher.Boxes()[0].text;
    EXPECT_EQ(gauge.right, window.right - window.left);
    EXPECT_EQ(320, window.bottom - window.top);
    EXPECT_EQ((::GetSystemMetrics(SM_CXSCREEN) - gauge.right) / 2, window.left);
    EXPECT_EQ((::GetSystemMetrics(SM_CYSCREEN) - 320) / 2, window.top);
}
