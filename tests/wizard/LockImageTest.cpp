#include "res/resource.h"
#include "tests/support/SettingsFile.h"
#include "tests/wizard/WizardDriver.h"

#include <dlgs.h>
#include <gtest/gtest.h>

#include <fstream>
#include <memory>

namespace {
const char kImageDialogCaption[] = "Lock Image";

HWND ImageDialog()
{
    return FindThreadDialog(kImageDialogCaption);
}

// Types a file name into the open-file dialog, whichever of its layouts the
// system uses, and confirms it.
void ChooseFile(const std::string& path)
{
    HWND dialog = ImageDialog();
    HWND name = ::GetDlgItem(dialog, cmb13);
    if (name == nullptr || !::IsWindowVisible(name))
        name = ::GetDlgItem(dialog, edt1);
    ::SetWindowTextA(name, path.c_str());
    ::PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(dialog, IDOK)));
}

class LockImageTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        WriteSettingsRecords({{"m_nDelay", "9"}});
        m_image = ExecutableDirectory() + "\\lock picture.bmp";
        std::ofstream(m_image, std::ios::binary) << "BM";
    }
    void TearDown() override
    {
        ::DeleteFileA(m_image.c_str());
        DeleteSettingsFile();
    }

    // Opens the wizard, presses the image button and lets `inDialog` act on
    // the open-file dialog; `afterwards` runs once that dialog is gone.
    void ChangeImage(std::function<void()> inDialog, std::function<void()> afterwards = [] {})
    {
        INT_PTR result = RunWizard({
            WaitForWizard(),
            ModalScript::Do([] { PostClick(Wizard(), IDC_CHANGE_IMAGE); }),
            [] { return ImageDialog() != nullptr && ::IsWindowVisible(ImageDialog()); },
            ModalScript::Do(inDialog),
            [] { return ImageDialog() == nullptr; },
            ModalScript::Do(afterwards),
            ModalScript::Do([] { PostClick(Wizard(), IDCANCEL); }),
        });
        EXPECT_EQ(IDCANCEL, result);
    }

    std::string m_image;
};
}  // namespace

TEST_F(LockImageTest, OffersBitmapsAndStoresTheChosenOnesFullPathAtOnce)
{
    char currentBefore[MAX_PATH];
    ::GetCurrentDirectoryA(MAX_PATH, currentBefore);
    std::string storedWhileOpen;
    std::string filter;
    LRESULT filters = 0;
    ChangeImage(
        [&] {
            HWND types = ::GetDlgItem(ImageDialog(), cmb1);
            char text[256] = "";
            ::SendMessageA(types, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(text));
            filter = text;
            filters = ::SendMessageA(types, CB_GETCOUNT, 0, 0);
            ChooseFile(m_image);
        },
        [&] { FindSettingsValue(ReadSettingsFile(), "m_csImage", storedWhileOpen); });
    EXPECT_EQ("Bitmaps (*.bmp)", filter);
    EXPECT_EQ(1, filters);
    EXPECT_EQ(m_image, storedWhileOpen);
    std::string delay;
    EXPECT_TRUE(FindSettingsValue(ReadSettingsFile(), "m_nDelay", delay));
    EXPECT_EQ("9", delay);
    char currentAfter[MAX_PATH];
    ::GetCurrentDirectoryA(MAX_PATH, currentAfter);
    EXPECT_STREQ(currentBefore, currentAfter);
}

TEST_F(LockImageTest, CancelChangesNothing)
{
    const std::string before = ReadSettingsFile();
    MessageBoxWatcher watcher(IDOK);
    ChangeImage([] { ::PostMessageA(ImageDialog(), WM_COMMAND, IDCANCEL, 0); });
    EXPECT_EQ(before, ReadSettingsFile());
    EXPECT_TRUE(watcher.Boxes().empty());
}

TEST_F(LockImageTest, AnImageThatCannotBeStoredIsReported)
{
    const std::string before = ReadSettingsFile();
    MessageBoxWatcher watcher(IDOK);
    std::unique_ptr<HeldSettingsFile> held;
    ChangeImage(
        [&] {
            held = std::make_unique<HeldSettingsFile>();
            ChooseFile(m_image);
        },
        [&] { held.reset(); });
    EXPECT_EQ(before, ReadSettingsFile());
    ASSERT_EQ(1u, watcher.Boxes().size());
    EXPECT_NE(std::string::npos, watcher.Boxes()[0].text.find("image was not changed")) << watcher.Boxes()[0].text;
}
