#include "res/resource.h"
#include "tests/support/SettingsFile.h"
#include "tests/wizard/WizardDriver.h"
#include "wizard/SettingsDlg.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

namespace {
std::string ReadyFile(const std::string& directory, int page)
{
    return directory + "\\page" + std::to_string(page) + ".ready";
}

bool Exists(const std::string& path)
{
    return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}
}  // namespace

// Not part of the test run: tests/wizard/take-screenshots.sh runs it on Wine's
// own desktop. For each page it writes pageN.ready, holding the window's
// screen rectangle as WxH+X+Y, into VELLMORAN_SHOTS_DIR and waits until the
// script has taken its picture and deleted the file.
TEST(WizardPictures, DISABLED_PosesEachPage)
{
    const char* directory = std::getenv("VELLMORAN_SHOTS_DIR");
    ASSERT_NE(nullptr, directory);
    WriteSettingsRecords({{"m_nVirtualKey", "19"},
                          {"m_bScreenwipe", "1"},
                          {"m_bScreensaver", "1"},
                          {"m_nVelocity", "700"},
                          {"m_nDelay", "10"}});
    const int nexts[] = {IDC_NEXT_PAGE1, IDC_NEXT_PAGE2, IDC_NEXT_PAGE3};
    std::vector<ModalScript::Step> steps = {WaitForWizard(), ModalScript::Pause(1000)};
    for (int page = 1; page <= 4; ++page) {
        std::string ready = ReadyFile(directory, page);
        steps.push_back(ModalScript::Do([ready] {
            RECT rect;
            ::GetWindowRect(Wizard(), &rect);
            const int margin = 12;
            std::ofstream(ready) << rect.right - rect.left + 2 * margin << 'x' << rect.bottom - rect.top + 2 * margin
                                 << '+' << rect.left - margin << '+' << rect.top - margin;
        }));
        steps.push_back([ready] { return !Exists(ready); });
        if (page < 4) {
            steps.push_back(ModalScript::Do([&nexts, page] { PostClick(Wizard(), nexts[page - 1]); }));
            steps.push_back(ModalScript::Pause(500));
        }
    }
    steps.push_back(ModalScript::Do([] { PostClick(Wizard(), IDC_CANCEL_PAGE4); }));
    ModalScript script(std::move(steps), 120000);
    CSettingsDlg wizard;
    wizard.DoModal();
    DeleteSettingsFile();
}
