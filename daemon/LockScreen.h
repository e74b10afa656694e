#pragma once

#include "daemon/AttemptBackoff.h"
#include "daemon/KeyboardGuard.h"
#include "daemon/LockBackground.h"
#include "daemon/ObjectWindowProc.h"

#include <windows.h>

#include <string>

// The lock screen: a topmost window over the whole virtual screen with the
// product name, a password box and a line for messages. Enter checks the
// typed password against the stored code; the right one, or any Enter when
// no password is set, posts the unlock message to the owner, which then
// ends the lock screen. While it exists it keeps the focus and stays on
// top, and the keyboard guard swallows the keys that would switch away.
class CLockScreen {
public:
    static const int kPasswordId = 100;
    static const int kMessageId = 101;
    static const char kClassName[];

    // code is the scrambled password, empty when none is set. The backoff
    // outlives the lock screen, so that locking anew does not reset it.
    CLockScreen(HWND owner, UINT unlockMessage, const std::string& code, const std::string& imagePath,
                CAttemptBackoff& backoff);
    ~CLockScreen();
    CLockScreen(const CLockScreen&) = delete;
    CLockScreen& operator=(const CLockScreen&) = delete;

    HWND Window() const { return m_hWnd; }

private:
    friend LRESULT CALLBACK ObjectWindowProc<CLockScreen>(HWND, UINT, WPARAM, LPARAM);
    static LRESULT CALLBACK PasswordProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                         DWORD_PTR self);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    void CreateChildren();
    void OnEnter();
    void ShowMessage(const std::string& text);
    void ShowWait();
    void KeepInFront();

    HWND m_hOwner;
    UINT m_unlockMessage;
    std::string m_code;
    CLockBackground m_background;
    CAttemptBackoff& m_backoff;
    CKeyboardGuard m_guard;
    RECT m_primary = {};  // the primary monitor in client coordinates
    RECT m_card = {};     // the panel that holds the name, the box and the message
    HFONT m_hTitleFont = nullptr;
    HFONT m_hTextFont = nullptr;
    HBRUSH m_hCardBrush = nullptr;
    HWND m_hWnd = nullptr;
    HWND m_hPassword = nullptr;
    HWND m_hMessage = nullptr;
    bool m_bUnlocked = false;
    bool m_bSmooth = false;  // the first paint scales the image quickly
};
