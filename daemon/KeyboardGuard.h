#pragma once

#include <windows.h>

// While the screen is locked, swallows the keys that would take the user
// away from the lock screen: Alt+Tab, Alt+Esc, Alt+F4, Ctrl+Esc and the
// Windows keys. Ctrl+Alt+Del belongs to the system; no program can stop it.
class CKeyboardGuard {
public:
    CKeyboardGuard();
    ~CKeyboardGuard();
    CKeyboardGuard(const CKeyboardGuard&) = delete;
    CKeyboardGuard& operator=(const CKeyboardGuard&) = delete;

    // Whether a key event is one of those: the hook's decision, apart from
    // the hook so that it can be checked without one.
    static bool Swallows(DWORD virtualKey, bool altDown, bool ctrlDown);

private:
    static LRESULT CALLBACK HookProc(int code, WPARAM wParam, LPARAM lParam);

    HHOOK m_hHook;
};
