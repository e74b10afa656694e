#include "res/resource.h"
#include "tests/support/SettingsFile.h"
#include "tests/wizard/WizardDriver.h"

#include <gtest/gtest.h>

namespace {
class WizardValidationTest : public ::testing::Test {
protected:
    void SetUp() override { WriteSettingsRecords({{"m_bScreensaver", "1"}, {"m_nDelay", "7"}}); }
    void TearDown() override { DeleteSettingsFile(); }
};

HWND DelayEdit()
{
    return ::GetDlgItem(Wizard(), IDC_DELAY);
}

ModalScript::Step WaitForBoxes(const MessageBoxWatcher& watcher, size_t count)
{
    return [&watcher, count] { return watcher.Boxes().size() >= count; };
}
}  // namespace

TEST_F(WizardValidationTest, OkRefusesADelayThatIsNoIntegerOrOutOfRangeAndStaysOpen)
{
    const struct {
        const char* text;
        const char* message;
    } cases[] = {
        {"", "Please enter an integer."},
        {"31", "Please enter an integer between 0 and 30."},
        {"-1", "Please enter an integer between 0 and 30."},
    };
    const std::string before = ReadSettingsFile();
    for (const auto& refused : cases) {
        SCOPED_TRACE(std::string("delay \"") + refused.text + "\"");
        MessageBoxWatcher watcher(IDOK);
        INT_PTR result = RunWizard({
            WaitForWizard(),
            ModalScript::Do([&] {
                ::SetWindowTextA(DelayEdit(), refused.text);
                PostClick(Wizard(), IDOK);
            }),
            WaitForBoxes(watcher, 1),
            ModalScript::Pause(100),
            ModalScript::Do([&] {
                ASSERT_NE(nullptr, Wizard());
                EXPECT_EQ(DelayEdit(), ::GetFocus());
                DWORD start = 0;
                DWORD end = 0;
                ::SendMessageA(DelayEdit(), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                               reinterpret_cast<LPARAM>(&end));
                EXPECT_EQ(0u, start);
                EXPECT_EQ(std::string(refused.text).size(), end);
                PostClick(Wizard(), IDCANCEL);
            }),
        });
        EXPECT_EQ(IDCANCEL, result);
        ASSERT_EQ(1u, watcher.Boxes().size());
        EXPECT_EQ(refused.message, watcher.Boxes()[0].text);
        EXPECT_EQ("WizardTests", watcher.Boxes()[0].caption);
        EXPECT_EQ(::LoadIconA(nullptr, IDI_EXCLAMATION), watcher.Boxes()[0].icon);
        EXPECT_EQ(before, ReadSettingsFile());
    }
}

TEST_F(WizardValidationTest, OkAcceptsADelayOfZeroAndTheNextOpeningShowsFive)
{
    MessageBoxWatcher watcher(IDOK);
    INT_PTR result = RunWizard({WaitForWizard(), ModalScript::Do([] {
                                    ::SetWindowTextA(DelayEdit(), "0");
                                    PostClick(Wizard(), IDOK);
                                })});
    EXPECT_EQ(IDOK, result);
    EXPECT_TRUE(watcher.Boxes().empty());
    std::string delay;
    ASSERT_TRUE(FindSettingsValue(ReadSettingsFile(), "m_nDelay", delay));
    EXPECT_EQ("0", delay);

    std::string shown;
    RunWizard({WaitForWizard(), ModalScript::Do([&] {
                   shown = ControlText(Wizard(), IDC_DELAY);
                   PostClick(Wizard(), IDCANCEL);
               })});
    EXPECT_EQ("5", shown);
}

TEST_F(WizardValidationTest, ApplySavesAndKeepsTheWizardOpen)
{
    INT_PTR result = RunWizard({
        WaitForWizard(),
        ModalScript::Do([] {
            ::SetWindowTextA(DelayEdit(), "21");
            ::SendMessageA(Wizard(), WM_COMMAND, IDC_APPLY, 0);
        }),
        ModalScript::Do([] {
            EXPECT_NE(nullptr, Wizard());
            std::string delay;
            EXPECT_TRUE(FindSettingsValue(ReadSettingsFile(), "m_nDelay", delay));
            EXPECT_EQ("21", delay);
            PostClick(Wizard(), IDCANCEL);
        }),
    });
    EXPECT_EQ(IDCANCEL, result);
}

TEST_F(WizardValidationTest, ClearingEnableScreensaverDisablesTheDelayEditButNotTheSpin)
{
    RunWizard({
        WaitForWizard(),
        ModalScript::Do([] {
            HWND box = ::GetDlgItem(Wizard(), IDC_ENABLE_SCREENSAVER);
            EXPECT_TRUE(::IsWindowEnabled(DelayEdit()));
            ::SendMessageA(box, BM_CLICK, 0, 0);
            EXPECT_FALSE(IsChecked(Wizard(), IDC_ENABLE_SCREENSAVER));
            EXPECT_FALSE(::IsWindowEnabled(DelayEdit()));
            EXPECT_TRUE(::IsWindowEnabled(::GetDlgItem(Wizard(), IDC_DELAY_SPIN)));
            ::SendMessageA(box, BM_CLICK, 0, 0);
            EXPECT_TRUE(::IsWindowEnabled(DelayEdit()));
            PostClick(Wizard(), IDCANCEL);
        }),
    });
}

// The exchange stops at the delay, so the flag keeps its last exchanged
// value and the edit's state follows the flag, not the box.
TEST_F(WizardValidationTest, ClickingEnableScreensaverWithABadDelayReportsItAndKeepsTheEditState)
{
    MessageBoxWatcher watcher(IDOK);
    RunWizard({
        WaitForWizard(),
        ModalScript::Do([] {
            ::SetWindowTextA(DelayEdit(), "");
            ::SendMessageA(::GetDlgItem(Wizard(), IDC_ENABLE_SCREENSAVER), BM_CLICK, 0, 0);
        }),
        WaitForBoxes(watcher, 1),
        ModalScript::Do([&] {
            EXPECT_EQ("Please enter an integer.", watcher.Boxes()[0].text);
            EXPECT_FALSE(IsChecked(Wizard(), IDC_ENABLE_SCREENSAVER));
            EXPECT_TRUE(::IsWindowEnabled(DelayEdit()));
            PostClick(Wizard(), IDCANCEL);
        }),
    });
}
