#pragma once

#include <windows.h>

#include "tests/support/GuiDriver.h"
#include "tests/support/SettingsFile.h"

#include <string>
#include <vector>

// The daemon's Run value "VellmoranD", read and written behind the panel's
// back; an empty text means no value.
std::string RunValue();
void SetRunValue(const std::string& bytes, DWORD type = REG_SZ);
inline std::string ExpectedRunData()
{
    return ExecutableDirectory() + "\\VellmoranD.exe";
}

// The daemons, as the panel finds them by title.
inline std::vector<HWND> DaemonWindows()
{
    return WindowsTitled("V3LLM0R4ND");
}
DWORD DaemonProcess(HWND window);
// Ends every daemon stand-in, also one that ignores WM_CLOSE.
void EndAllDaemons();
