#pragma once

#include "framework/Afx.h"

// A message box captioned with the application's name and owned by the
// active pop-up of the main window. Without an icon in the type, OK boxes get
// the exclamation icon and yes/no boxes the question icon.
int AfxMessageBox(const std::string& text, UINT type = MB_OK);

// Replaces %1 (and %2) in a prompt by the given texts.
std::string AfxFormatString1(const std::string& prompt, const std::string& arg1);
std::string AfxFormatString2(const std::string& prompt, const std::string& arg1, const std::string& arg2);
