#pragma once

#include <windows.h>

// The "Image" page's "Change ...": lets the user pick a bitmap and stores
// its full path under m_csImage at once. Cancel changes nothing; a path that
// cannot be stored is reported.
void ChooseLockImage(HWND owner);
