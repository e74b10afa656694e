#include "tests/support/SettingsFile.h"

#include "res/resource.h"
#include "tests/support/GuiDriver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <memory>

std::string ExecutableDirectory()
{
    char path[MAX_PATH];
    std::string module(path, ::GetModuleFileNameA(nullptr, path, MAX_PATH));
    return module.substr(0, module.rfind('\\'));
}

std::string SettingsFilePath()
{
    return ExecutableDirectory() + "\\Vellmoran.bin";
}

std::string SettingsRecordBytes(const std::string& key, const std::string& value)
{
    return (key + std::string(128, '\0')).substr(0, 128)
           + (value + std::string(2048, '\0')).substr(0, 2048);
}

bool SettingsFileExists()
{
    return ::GetFileAttributesA(SettingsFilePath().c_str()) != INVALID_FILE_ATTRIBUTES;
}

void DeleteSettingsFile(const std::string& suffix)
{
    ::DeleteFileA((SettingsFilePath() + suffix).c_str());
}

std::string ReadSettingsFile(const std::string& suffix)
{
    std::ifstream file(SettingsFilePath() + suffix, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

void WriteSettingsFile(const std::string& bytes)
{
    std::ofstream(SettingsFilePath(), std::ios::binary | std::ios::trunc) << bytes;
}

std::string RunChangePassword(std::vector<std::string> typed, int command, bool held,
                              const std::function<void()>& run)
{
    auto holder = held ? std::make_unique<HeldSettingsFile>() : nullptr;
    MessageBoxWatcher watcher;
    auto dialog = [] { return FindThreadDialog("Vellmoran - Change Password"); };
    ModalScript script(
        {[&] { return ::IsWindowVisible(dialog()) != FALSE; }, ModalScript::Do([&] {
             EXPECT_EQ(::GetDlgItem(dialog(), IDOK), ::GetFocus())
                 << "the dialog opens with OK focused";
             for (int i = 0; i < 3; ++i) {  // old, new and confirmation have consecutive ids
                 HWND edit = ::GetDlgItem(dialog(), IDC_OLD_PASSWORD + i);
                 for (char c : typed[i])
                     ::SendMessageA(edit, WM_CHAR, static_cast<unsigned char>(c), 0);
                 EXPECT_EQ(std::min<size_t>(32, typed[i].size()), ::GetWindowTextLengthA(edit))
                     << "edit " << i;
             }
             UserClick(dialog(), command);
         })});
    run();
    std::string texts;
    for (const MessageBoxRecord& box : watcher.Boxes()) {
        HICON icon = ::LoadIconA(
            nullptr, box.text == "The password has been changed." ? IDI_ASTERISK : IDI_HAND);
        EXPECT_EQ(icon, box.icon) << box.text;
        EXPECT_EQ(std::vector<int>{IDOK}, box.buttons) << box.text;
        texts += box.text;
    }
    return texts;
}
