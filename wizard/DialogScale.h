#pragma once

#include <windows.h>

// A length in pixels at 96 DPI, grown as the dialog's units have grown with
// the system DPI: the dialog's vertical base unit against the one its font
// has at 96 DPI. The length itself at 96 DPI.
int ScaledFrom96Dpi(HWND dialog, int pixels);
