#pragma once

#include <windows.h>

// Centres a window over its owner when it fits on the screen there, else on
// the screen. The result depends only on the window's size.
void CenterOnOwnerOrScreen(HWND window);
