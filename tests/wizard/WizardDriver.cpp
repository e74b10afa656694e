#include "tests/wizard/WizardDriver.h"

#include "tests/support/SettingsFile.h"
#include "wizard/SettingsDlg.h"

#include <gtest/gtest.h>

HWND Wizard()
{
    return FindThreadDialog(kWizardCaption);
}

ModalScript::Step WaitForWizard()
{
    return [] {
        HWND wizard = Wizard();
        return wizard != nullptr && ::IsWindowVisible(wizard);
    };
}

ModalScript::Step WaitForWizardGone()
{
    return [] {
        HWND wizard = Wizard();
        return wizard == nullptr || !::IsWindowVisible(wizard);
    };
}

INT_PTR RunWizard(std::vector<ModalScript::Step> steps)
{
    CSettingsDlg wizard;
    return RunWizard(wizard, std::move(steps));
}

INT_PTR RunWizard(CSettingsDlg& wizard, std::vector<ModalScript::Step> steps)
{
    ModalScript script(std::move(steps));
    return wizard.DoModal();
}

RECT ChildRect(HWND dialog, HWND child)
{
    RECT rect;
    ::GetWindowRect(child, &rect);
    ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

RECT ControlRect(HWND dialog, int id)
{
    return ChildRect(dialog, ::GetDlgItem(dialog, id));
}

std::vector<HWND> Children(HWND dialog)
{
    std::vector<HWND> children;
    for (HWND child = ::GetWindow(dialog, GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT))
        children.push_back(child);
    return children;
}

std::string ControlText(HWND dialog, int id)
{
    char text[256] = "";
    ::GetDlgItemTextA(dialog, id, text, sizeof(text));
    return text;
}

bool IsChecked(HWND dialog, int id)
{
    return ::IsDlgButtonChecked(dialog, id) == BST_CHECKED;
}

int SliderPos(HWND dialog)
{
    return static_cast<int>(::SendDlgItemMessageA(dialog, IDC_VELOCITY, TBM_GETPOS, 0, 0));
}

void WriteSettingsRecords(const std::vector<std::pair<std::string, std::string>>& records)
{
    std::string bytes;
    for (const auto& record : records)
        bytes += SettingsRecordBytes(record.first, record.second);
    WriteSettingsFile(bytes);
}

std::vector<std::pair<std::string, std::string>> SettingsRecords()
{
    const size_t recordSize = 2176;
    const size_t keyWidth = 128;
    std::string bytes = ReadSettingsFile();
    std::vector<std::pair<std::string, std::string>> records;
    for (size_t at = 0; at + recordSize <= bytes.size(); at += recordSize) {
        std::string key = bytes.substr(at, keyWidth);
        std::string value = bytes.substr(at + keyWidth, recordSize - keyWidth);
        records.emplace_back(key.substr(0, key.find('\0')), value.substr(0, value.find('\0')));
    }
    return records;
}
