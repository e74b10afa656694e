#pragma once

#include "tests/support/GuiDriver.h"

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

class CSettingsDlg;

const char kWizardCaption[] = "Vellmoran - Settings";

// The open wizard of this thread, or null.
HWND Wizard();
// A step that waits until the wizard is open and visible.
ModalScript::Step WaitForWizard();
// A step that waits until no wizard is open any more.
ModalScript::Step WaitForWizardGone();

// Runs the wizard modally while the steps drive it; returns what DoModal
// returned.
INT_PTR RunWizard(std::vector<ModalScript::Step> steps);
INT_PTR RunWizard(CSettingsDlg& wizard, std::vector<ModalScript::Step> steps);

// A control's rectangle in the dialog's client coordinates.
RECT ChildRect(HWND dialog, HWND child);
RECT ControlRect(HWND dialog, int id);
// Every child of the dialog in z-order, which is also the template's order.
std::vector<HWND> Children(HWND dialog);
std::string ControlText(HWND dialog, int id);
bool IsChecked(HWND dialog, int id);
int SliderPos(HWND dialog);

// Replaces the settings file by records in the given order.
void WriteSettingsRecords(const std::vector<std::pair<std::string, std::string>>& records);
// The records of the file in file order; a key-less record shows as ("", "").
std::vector<std::pair<std::string, std::string>> SettingsRecords();
