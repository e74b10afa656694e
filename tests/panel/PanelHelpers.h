#pragma once

#include <windows.h>

#include <string>
#include <vector>

// The daemon's Run value "VellmoranD", read and written behind the panel's
// back; an empty text means no value.
std::string RunValue();
void SetRunValue(const std::string& bytes, DWORD type = REG_SZ);
std::string ExpectedRunData();

// The daemon windows of every process, as the panel finds them by title.
std::vector<HWND> DaemonWindows();
DWORD DaemonProcess(HWND window);
// Ends every daemon stand-in, also one that ignores WM_CLOSE.
void EndAllDaemons();
