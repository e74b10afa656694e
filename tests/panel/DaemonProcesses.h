#pragma once

#include <windows.h>

#include <vector>

// The daemon windows of every process, as the panel finds them by title.
std::vector<HWND> DaemonWindows();

// Ends every daemon stand-in, also one that ignores WM_CLOSE, and waits until
// its window is gone.
void EndAllDaemons();

// Makes the daemons started from now on honour (or stop honouring) one of the
// stand-in's fault switches.
void SetDaemonSwitch(const char* name, const char* value);
