#pragma once

#include <windows.h>

// The daemon's hidden top-level window: the panel finds the daemon by its
// title and stops it with WM_CLOSE.
extern const char kDaemonWindowTitle[];

// Creates the hidden window; null when it cannot be made.
HWND CreateDaemonWindow(HINSTANCE instance);
