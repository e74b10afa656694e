// The settings file under another program that keeps taking it, two savers at
// once, a damaged end, a read-only file and a folder in its place: every
// reader and writer sees one whole file and says what stopped it.
#include "settings/ChangePassword.h"
#include "settings/SettingsBatch.h"
#include "settings/SettingsKeys.h"
#include "settings/SettingsStore.h"
#include "tests/support/GuiDriver.h"
#include "tests/support/SettingsFile.h"
#include "wizard/SettingsDlg.h"
#include "wizard/WizardSettings.h"

#include <gtest/gtest.h>

#include <atomic>
#include <fstream>
#include <iterator>
#include <thread>

namespace {
const char kHeld[] = "The settings file is in use by another program, so ";
const std::string kCodeHeld = kHeld + std::string("the password was not changed.");
const std::string kSaveHeld = kHeld + std::string("the settings were not saved. Wait a moment and press OK again.");
HWND Dialog(const char* caption = "Vellmoran - Settings") { return FindThreadDialog(caption); }
std::string R(const char* key, const char* value) { return SettingsRecordBytes(key, value); }
const std::string kCode = R("m_csCode", "298e2823f33e"), kImage = R("m_csImage", "C:\\lock.bmp");
const std::string kStored = R("m_nVirtualKey", "19") + R("m_bScreenwipe", "1") + R("m_bScreensaver", "1") +
                            R("m_nVelocity", "700") + R("m_nDelay", "9");

// Takes the file exclusively and lets it go again, each for heldUs and
// freeUs microseconds (at least, on a busy machine), as the lock daemon does
// when it reads its settings.
struct TogglingHolder {
    TogglingHolder(int heldUs, int freeUs) : thread([=, this] {
        LARGE_INTEGER frequency, start, now;
        ::QueryPerformanceFrequency(&frequency);
        for (bool held = false; !stop; held = !held) {
            HANDLE file = held ? ::CreateFileA(SettingsFilePath().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0,
                                               nullptr) : INVALID_HANDLE_VALUE;
            LONGLONG ticks = frequency.QuadPart * (held ? heldUs : freeUs) / 1000000;
            for (::QueryPerformanceCounter(&start), now = start; now.QuadPart - start.QuadPart < ticks;)
                ::QueryPerformanceCounter(&now);
            holds += file != INVALID_HANDLE_VALUE && ::CloseHandle(file);
        }
    }) {}
    ~TogglingHolder() { stop = true, thread.join(); }
    std::atomic<bool> stop{false};
    std::atomic<int> holds{0};
    std::thread thread;
};

// Runs the flow with the three passwords typed and OK; the boxes' texts.
std::vector<std::string> ChangePassword(const char* old, const char* typed)
{
    MessageBoxWatcher watcher;
    ModalScript script({[] { return ::IsWindowVisible(Dialog("Vellmoran - Change Password")) != FALSE; },
                        ModalScript::Do([=] {
                            HWND dialog = Dialog("Vellmoran - Change Password");
                            for (int id : {IDC_OLD_PASSWORD, IDC_NEW_PASSWORD, IDC_CONFIRM_PASSWORD})
                                ::SetDlgItemTextA(dialog, id, id == IDC_OLD_PASSWORD ? old : typed);
                            UserClick(dialog, IDOK);
                        })});
    RunChangePasswordFlow();
    return watcher.Texts();
}

// Opens the wizard, notes what it shows, presses the button, answers every
// box (OK where the answer is not one of its buttons) and cancels the wizard
// once it has shown the boxes it should when it stays open.
struct WizardRun { std::string shown; std::vector<std::string> boxes; };
WizardRun RunWizard(int button = IDCANCEL, int answer = IDOK, size_t boxesBeforeCancel = 0)
{
    WizardRun run;
    MessageBoxWatcher watcher(answer);
    std::vector<ModalScript::Step> steps = {[] { return ::IsWindowVisible(Dialog()) != FALSE; }, ModalScript::Do([&] {
        run.shown = AfxGetWindowText(::GetDlgItem(Dialog(), IDC_HOTKEY));
        for (int id : {IDC_ENABLE_SCREENWIPE, IDC_ENABLE_SCREENSAVER})
            run.shown += " " + std::to_string(::IsDlgButtonChecked(Dialog(), id));
        run.shown += " " + std::to_string(::SendDlgItemMessageA(Dialog(), IDC_VELOCITY, TBM_GETPOS, 0, 0)) + " " +
                     AfxGetWindowText(::GetDlgItem(Dialog(), IDC_DELAY));
        UserClick(Dialog(), button);
    })};
    if (boxesBeforeCancel > 0)
        steps.insert(steps.end(),
                     {[&] { return watcher.Boxes().size() >= boxesBeforeCancel && ::IsWindowEnabled(Dialog()); },
                      ModalScript::Do([] { UserClick(Dialog(), IDCANCEL); })});
    ModalScript script(steps);
    CSettingsDlg().DoModal();
    run.boxes = watcher.Texts();
    return run;
}

// The message boxes of a saver thread, read and answered with OK.
thread_local std::vector<std::string>* t_boxes;
LRESULT CALLBACK AnswerBox(int code, WPARAM box, LPARAM lParam)
{
    char text[512];
    if (code == HCBT_ACTIVATE && ::GetDlgItemTextA(reinterpret_cast<HWND>(box), 0xFFFF, text, sizeof(text)))
        t_boxes->push_back(text), ::PostMessageA(reinterpret_cast<HWND>(box), WM_COMMAND, IDOK, 0);
    return ::CallNextHookEx(nullptr, code, box, lParam);
}

struct SettingsFileFaults : ::testing::Test {
    void TearDown() override
    {
        ::SetFileAttributesA(SettingsFilePath().c_str(), FILE_ATTRIBUTE_NORMAL);
        ::RemoveDirectoryA(SettingsFilePath().c_str()), DeleteSettingsFile();
        ::DeleteFileA((SettingsFilePath() + ".damaged").c_str());
    }
};
}  // namespace

// Before, a read that met the held file counted as "no code stored" and an
// empty old password then replaced the code, and the wizard showed defaults
// without a word.
TEST_F(SettingsFileFaults, UnderAHolderTogglingEveryHundredMicrosecondsNoCodeIsReplacedAndNoDefaultIsSilent)
{
    WriteSettingsFile(kCode + kStored);
    int held = 0, warned = 0;
    {
        TogglingHolder holder(60, 140);
        for (int run = 0; run < 200 && !HasFailure(); ++run) {
            std::vector<std::string> boxes = ChangePassword("", "hacked");
            ASSERT_EQ(1u, boxes.size()) << "run " << run;
            EXPECT_TRUE(boxes[0] == "You must enter a value for the old password." || boxes[0] == kCodeHeld)
                << boxes[0];
            held += boxes[0] == kCodeHeld;
        }
        for (int run = 0; run < 100 && !HasFailure(); ++run) {
            WizardRun wizard = RunWizard();
            EXPECT_TRUE(wizard.boxes.empty() ? wizard.shown == "PAUSE 1 1 700 9"
                                             : wizard.boxes[0].find(kHeld + std::string("the stored settings")) == 0)
                << wizard.shown;
            warned += !wizard.boxes.empty();
        }
        std::cout << "200 password runs, " << held << " found the file held; 100 wizards, " << warned << " warned; "
                  << holder.holds << " holds\n";
    }
    EXPECT_TRUE(kCode + kStored == ReadSettingsFile()) << "the code or a setting was replaced";
}

// Each round, two savers on two threads save ten times each, retrying while
// the file is taken, and a reader takes snapshots until both are done: every
// snapshot and the end hold one saver's five values, or none yet.
TEST_F(SettingsFileFaults, TwoSaversAtOnceLeaveOneSaversFiveValuesNeverAMix)
{
    const WizardSettings a = {19, 1, 1, 700, 9}, b = {0, 0, 0, 300, 3};
    const std::string bFile = R("m_nVirtualKey", "0") + R("m_bScreenwipe", "0") + R("m_bScreensaver", "0") +
                              R("m_nVelocity", "300") + R("m_nDelay", "3");
    std::atomic<int> refused{0};
    size_t snapshots = 0;
    for (int round = 0; round < 20 && !HasFailure(); ++round) {
        WriteSettingsFile(round % 2 ? kCode : kCode + bFile);
        std::atomic<int> ready{0}, done{0};
        const int refusedBefore = refused;
        std::vector<std::string> texts[2], seen;
        auto saver = [&](int i) {
            t_boxes = &texts[i];
            HHOOK hook = ::SetWindowsHookExA(WH_CBT, AnswerBox, nullptr, ::GetCurrentThreadId());
            for (++ready; ready < 2;) {}
            for (int save = 0; save < 10; ++save)
                while (!SaveWizardSettings(i ? b : a) && texts[i].size() < 1000)
                    ++refused;
            ::UnhookWindowsHookEx(hook), ++done;
        };
        std::thread first(saver, 0), second(saver, 1);
        while (done < 2)  // a read fails while a saver has the file
            if (std::string snapshot = ReadSettingsFile(); !snapshot.empty())
                seen.push_back(snapshot);
        first.join(), second.join();
        for (const std::string& snapshot : seen)
            ASSERT_TRUE(snapshot == kCode || snapshot == kCode + kStored || snapshot == kCode + bFile) << round;
        EXPECT_TRUE(ReadSettingsFile() == kCode + kStored || ReadSettingsFile() == kCode + bFile) << round;
        for (const auto& text : texts)
            for (const std::string& box : text)
                EXPECT_EQ(kSaveHeld, box);
        EXPECT_GE(texts[0].size() + texts[1].size(), size_t(refused - refusedBefore)) << "a refusal was silent";
        snapshots += seen.size();
    }
    std::cout << "20 rounds: " << refused << " saves refused while the file was taken, " << snapshots
              << " snapshots read\n";
}

// The lock daemon's reader never creates or changes the file.
TEST_F(SettingsFileFaults, TheReadOnlyModeReadsAMissingFileAsEmptyAndHoldsTheFileAlone)
{
    CSettingsStore store(Settings::kFileName);
    std::string value;
    EXPECT_EQ(SettingsRead::absent, CSettingsBatch(store, CSettingsBatch::readOnly).ReadString("m_csCode", value));
    EXPECT_FALSE(SettingsFileExists());
    WriteSettingsFile(kCode);
    CSettingsBatch reader(store, CSettingsBatch::readOnly);
    EXPECT_TRUE(reader.ReadString("m_csCode", value) == SettingsRead::found && value == "298e2823f33e");
    EXPECT_TRUE(reader.WriteString("m_csCode", "") == 0 && !HeldSettingsFile().Held());
}

// A new key after a free record takes it, as a single write would.
TEST_F(SettingsFileFaults, ADamagedEndIsRepairedOnlyWhenTheUserAgreesAndItsBytesAreKeptInACopy)
{
    const std::string earlier = kCode + std::string(2176, '\0') + kImage + R("m_nDelay", "9");
    WriteSettingsFile(earlier + std::string(100, 'x'));
    WizardRun declined = RunWizard(IDOK, IDNO, 2);
    EXPECT_TRUE(earlier + std::string(100, 'x') == ReadSettingsFile()) << "declining changed the file";
    ASSERT_EQ(2u, declined.boxes.size());
    EXPECT_EQ(0u, declined.boxes[0].find("The settings file is damaged at its end: its last 100 bytes"));
    EXPECT_EQ("The settings file is damaged at its end, so the settings were not saved.", declined.boxes[1]);

    WizardRun accepted = RunWizard(IDOK, IDYES);
    EXPECT_EQ(" 0 0 500 9", accepted.shown);
    EXPECT_EQ(1u, accepted.boxes.size());
    EXPECT_TRUE(kCode + R("m_nVirtualKey", "0") + kImage + R("m_nDelay", "9") + R("m_bScreenwipe", "0") +
                    R("m_bScreensaver", "0") + R("m_nVelocity", "500") == ReadSettingsFile());
    std::ifstream copy(SettingsFilePath() + ".damaged", std::ios::binary);
    EXPECT_EQ(std::string(100, 'x'), std::string(std::istreambuf_iterator<char>(copy), {}));
}

TEST_F(SettingsFileFaults, AReadOnlyFileOrAFolderInItsPlaceIsNamedAndNothingIsWritten)
{
    for (bool folder : {false, true}) {
        DeleteSettingsFile();
        folder ? ::CreateDirectoryA(SettingsFilePath().c_str(), nullptr) : (WriteSettingsFile(kCode + kStored), 0);
        ::SetFileAttributesA(SettingsFilePath().c_str(), folder ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_READONLY);
        const std::string cause = folder ? "The settings file Vellmoran.bin is a folder, not a file, so "
                                         : "The settings file is read-only or access to it is denied, so ";
        WizardRun wizard = RunWizard(IDOK, IDOK, folder ? 2 : 1);
        EXPECT_EQ(folder ? " 0 0 500 5" : "PAUSE 1 1 700 9", wizard.shown);
        EXPECT_TRUE(wizard.boxes.size() == (folder ? 2u : 1u) &&
                    wizard.boxes.back() == cause + "the settings were not saved.");
        EXPECT_TRUE(!folder || wizard.boxes[0].find(cause + "the stored settings could not be read.") == 0);
        EXPECT_EQ(std::vector<std::string>{cause + "the password was not changed."}, ChangePassword("", "new"));
        ::SetFileAttributesA(SettingsFilePath().c_str(), FILE_ATTRIBUTE_NORMAL);
        EXPECT_TRUE(folder ? ::RemoveDirectoryA(SettingsFilePath().c_str()) : kCode + kStored == ReadSettingsFile());
    }
}
