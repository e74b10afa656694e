#pragma once

#include <windows.h>

// The warning before an idle lock: a small topmost notice at the bottom
// right of the primary monitor that counts down, "Vellmoran locks the screen
// in 10 seconds". It takes no focus and no input; the daemon removes it when
// input comes or the screen locks.
class CIdleNotice {
public:
    static const char kClassName[];

    CIdleNotice();
    ~CIdleNotice();
    CIdleNotice(const CIdleNotice&) = delete;
    CIdleNotice& operator=(const CIdleNotice&) = delete;

    void Show(DWORD secondsLeft);

private:
    HWND m_hWnd = nullptr;
    HWND m_hText = nullptr;
    HFONT m_hFont = nullptr;
};
