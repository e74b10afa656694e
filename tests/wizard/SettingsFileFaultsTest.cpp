// The settings file under another program that keeps taking it, a damaged
// end, a read-only file and a folder in its place: every reader and writer
// sees one whole file and says what stopped it.
#include "tests/support/GuiDriver.h"
#include "tests/support/ImportPatch.h"
#include "tests/support/SettingsFile.h"
#include "wizard/SettingsDlg.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <thread>

namespace {
using Clock = std::chrono::steady_clock;
const std::string kHeld = "The settings file is in use by another program, so ";
HWND Dialog()
{
    return FindThreadDialog("Vellmoran - Settings");
}
std::string R(const char* key, const char* value)
{
    return SettingsRecordBytes(key, value);
}
const std::string kCode = R("m_csCode", "298e2823f33e"), kImage = R("m_csImage", "C:\\lock.bmp");
const std::string kStored = R("m_nVirtualKey", "19") + R("m_bScreenwipe", "1")
                            + R("m_bScreensaver", "1") + R("m_nVelocity", "700")
                            + R("m_nDelay", "9");

// Opens the wizard, notes what it shows, presses the button, answers every
// box (OK where the answer is not one of its buttons) and cancels the wizard
// once it has shown the boxes it should when it stays open.
struct WizardRun {
    std::string shown;
    std::vector<std::string> boxes;
};
WizardRun RunWizard(int button = IDCANCEL, int answer = IDOK, size_t boxesBeforeCancel = 0)
{
    WizardRun run;
    MessageBoxWatcher watcher(answer);
    std::vector<ModalScript::Step> steps = {
        [] { return ::IsWindowVisible(Dialog()) != FALSE; }, ModalScript::Do([&] {
            auto get = [](int id, UINT ask) {
                return std::to_string(::SendDlgItemMessageA(Dialog(), id, ask, 0, 0));
            };
            auto text = [](int id) { return AfxGetWindowText(::GetDlgItem(Dialog(), id)); };
            run.shown = text(IDC_HOTKEY) + " " + get(IDC_ENABLE_SCREENWIPE, BM_GETCHECK) + " "
                        + get(IDC_ENABLE_SCREENSAVER, BM_GETCHECK) + " "
                        + get(IDC_VELOCITY, TBM_GETPOS) + " " + text(IDC_DELAY);
            UserClick(Dialog(), button);
        })};
    if (boxesBeforeCancel > 0)
        steps.insert(steps.end(), {[&] {
                                       return watcher.Boxes().size() >= boxesBeforeCancel
                                              && ::IsWindowEnabled(Dialog());
                                   },
                                   ModalScript::Do([] { UserClick(Dialog(), IDCANCEL); })});
    ModalScript script(steps);
    CSettingsDlg().DoModal();
    run.boxes = watcher.Texts();
    return run;
}
}  // namespace

// Before, a read that met the held file counted as "no code stored" and an
// empty old password then replaced the code, and the wizard showed defaults
// without a word.
TEST(SettingsFileFaults, TogglingHolder)
{
    WriteSettingsFile(kCode + kStored);
    std::atomic<bool> stop{false};
    std::thread holder(
        [&stop] {  // takes the file for 60 us, frees it for 140 us, as the lock daemon's reads do
            for (bool held = false; !stop; held = !held) {
                auto file = held ? std::make_unique<HeldSettingsFile>() : nullptr;
                for (auto end = Clock::now() + std::chrono::microseconds(held ? 60 : 140);
                     Clock::now() < end;) {
                }
            }
        });
    for (int run = 0; run < 200 && !HasFailure(); ++run) {
        std::string boxes = RunChangePassword({"", "hacked", "hacked"});
        EXPECT_TRUE(boxes == "You must enter a value for the old password."
                    || boxes == kHeld + "the password was not changed.")
            << "run " << run << ": " << boxes;
    }
    for (int run = 0; run < 100 && !HasFailure(); ++run) {
        WizardRun wizard = RunWizard();
        EXPECT_TRUE(wizard.boxes.empty() ? wizard.shown == "PAUSE 1 1 700 9"
                                         : wizard.boxes[0].find(kHeld + "the stored settings") == 0)
            << wizard.shown;
    }
    stop = true;
    holder.join();
    EXPECT_TRUE(kCode + kStored == ReadSettingsFile()) << "the code or a setting was replaced";
    DeleteSettingsFile();
}

// A new key after a free record takes it, as a single write would.
TEST(SettingsFileFaults, DamagedEndRepair)
{
    const std::string earlier = kCode + std::string(2176, '\0') + kImage + R("m_nDelay", "9");
    WriteSettingsFile(earlier + std::string(100, 'x'));
    WizardRun declined = RunWizard(IDOK, IDNO, 2);
    EXPECT_TRUE(earlier + std::string(100, 'x') == ReadSettingsFile())
        << "declining changed the file";
    EXPECT_TRUE(declined.boxes.size() == 2
                && declined.boxes[0].find("damaged at its end: its last 100 bytes") < 99);

    WizardRun accepted = RunWizard(IDOK, IDYES);
    EXPECT_TRUE(accepted.shown == " 0 0 500 9" && accepted.boxes.size() == 1) << accepted.shown;
    EXPECT_TRUE(kCode + R("m_nVirtualKey", "0") + kImage + R("m_nDelay", "9")
                    + R("m_bScreenwipe", "0") + R("m_bScreensaver", "0") + R("m_nVelocity", "500")
                == ReadSettingsFile());
    EXPECT_EQ(std::string(100, 'x'), ReadSettingsFile(".damaged"));

    // A second repair keeps the first copy: those bytes are nowhere else.
    WriteSettingsFile(kCode + std::string(50, 'y'));
    EXPECT_EQ(1u, RunWizard(IDOK, IDYES).boxes.size());
    EXPECT_EQ(std::string(100, 'x'), ReadSettingsFile(".damaged"));
    EXPECT_EQ(std::string(50, 'y'), ReadSettingsFile(".damaged.2"));
    DeleteSettingsFile();
    DeleteSettingsFile(".damaged");
    DeleteSettingsFile(".damaged.2");
}

TEST(SettingsFileFaults, ReadOnlyOrFolder)
{
    for (bool folder : {false, true}) {
        DeleteSettingsFile();
        if (folder) {
            ::CreateDirectoryA(SettingsFilePath().c_str(), nullptr);
        } else {
            WriteSettingsFile(kCode + kStored);
            ::SetFileAttributesA(SettingsFilePath().c_str(), FILE_ATTRIBUTE_READONLY);
        }
        const std::string cause =
            folder ? "The settings file Vellmoran.bin is a folder, not a file, so "
                   : "The settings file is read-only or access to it is denied, so ";
        WizardRun wizard = RunWizard(IDOK, IDOK, folder ? 2 : 1);
        EXPECT_EQ(folder ? " 0 0 500 5" : "PAUSE 1 1 700 9", wizard.shown);
        EXPECT_TRUE(wizard.boxes.size() == (folder ? 2u : 1u)
                    && wizard.boxes.back() == cause + "the settings were not saved.");
        EXPECT_TRUE(!folder
                    || wizard.boxes[0].find(cause + "the stored settings could not be read.") == 0);
        EXPECT_EQ(cause + "the password was not changed.", RunChangePassword({"", "new", "new"}));
        ::SetFileAttributesA(SettingsFilePath().c_str(), FILE_ATTRIBUTE_NORMAL);
        EXPECT_TRUE(folder ? ::RemoveDirectoryA(SettingsFilePath().c_str())
                           : kCode + kStored == ReadSettingsFile());
    }
    DeleteSettingsFile();
}

namespace {
std::unique_ptr<HeldSettingsFile> g_holder;
ImportPatch* g_sleep = nullptr;

// The daemon that "Stop && Configure" asked to end lets go of the file
// while the wizard waits for it.
void WINAPI SleepReleasingTheFile(DWORD ms)
{
    g_holder.reset();
    g_sleep->Original<decltype(&::Sleep)>()(ms);
}
}  // namespace

// A file held a moment when the wizard opens is waited for and then read:
// the wizard shows the stored settings, not the defaults.
TEST(SettingsFileFaults, HeldAMoment)
{
    WriteSettingsFile(kCode + kStored);
    g_holder = std::make_unique<HeldSettingsFile>();
    ImportPatch patch("kernel32.dll", "Sleep", reinterpret_cast<void*>(SleepReleasingTheFile));
    ASSERT_TRUE(patch.Patched());
    g_sleep = &patch;
    WizardRun wizard = RunWizard();
    EXPECT_EQ("PAUSE 1 1 700 9", wizard.shown);
    EXPECT_TRUE(wizard.boxes.empty()) << wizard.boxes[0];
    EXPECT_EQ(nullptr, g_holder.get()) << "the wizard never waited";
    g_holder.reset();
    DeleteSettingsFile();
}
