#pragma once

#include <windows.h>

// Keeps the lock screen whole against other programs, which may call any
// window function on it. What the system announces before it happens is
// refused; what it does not announce is put back on every check.

// The virtual screen, which the lock covers.
RECT VirtualScreen();
// For WM_WINDOWPOSCHANGING: no hiding, moving, resizing or leaving the top.
void KeepPlace(WINDOWPOS& pos, const RECT& place);
// Puts back parent, visibility, enabled state, styles, region, place and
// topmost state where they differ; true when something had to be put back.
bool RestoreWhole(HWND window, const RECT& place, LONG style, LONG exStyle);
