#pragma once

#include "daemon/AttemptBackoff.h"
#include "daemon/CheckedBitmap.h"
#include "daemon/InputGuard.h"
#include "daemon/KeyTranslator.h"
#include "daemon/LockBackground.h"
#include "daemon/ObjectWindowProc.h"
#include "daemon/PasswordEntry.h"

#include <windows.h>

#include <memory>
#include <string>

// The lock screen: a topmost window over the whole virtual screen with the
// product name, a box that shows the typed password as dots and a line for
// messages. It takes every key through the input guard and keeps itself
// whole and in front against other programs. It never unlocks by itself:
// its owner asks it for the keys typed and ends it when they held the right
// password. Only its owner destroys it; it refuses to close or be destroyed
// at anyone else's request.
class CLockScreen {
public:
    static const int kPasswordId = 100;
    static const int kMessageId = 101;
    static const char kClassName[];

    // code is the scrambled password, empty when none is set; image the
    // background, or null. The backoff outlives the lock screen, so that
    // locking anew does not reset it.
    CLockScreen(const std::string& code, const CheckedBitmap* image, CAttemptBackoff& backoff);
    ~CLockScreen();
    CLockScreen(const CLockScreen&) = delete;
    CLockScreen& operator=(const CLockScreen&) = delete;

    // Null when the window could not be made.
    HWND Window() const { return m_hWnd; }
    // Set while typed keys wait for TakeInput.
    HANDLE InputEvent() const { return m_input->Event(); }
    // Takes the keys typed since the last call; true when Enter came with
    // the right password (or with none set).
    bool TakeInput();

private:
    friend LRESULT CALLBACK ObjectWindowProc<CLockScreen>(HWND, UINT, WPARAM, LPARAM);
    static LRESULT CALLBACK ChildProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                      DWORD_PTR self);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    bool Check(DWORD nowMs);
    void CreateChildren();
    void SetChildText(HWND child, const std::string& text);
    void ShowEntry();
    void ShowWait();
    void KeepWhole();
    void KeepInFront();

    std::string m_code;
    CAttemptBackoff& m_backoff;
    CLockBackground m_background;
    CPasswordEntry m_entry;
    CKeyTranslator m_keys;
    std::unique_ptr<CInputGuard> m_input;
    RECT m_primary = {};  // the primary monitor in client coordinates
    RECT m_card = {};     // the panel that holds the name, the box and the message
    LONG m_style = 0, m_exStyle = 0;
    HFONT m_hTitleFont = nullptr;
    HFONT m_hTextFont = nullptr;
    HBRUSH m_hCardBrush = nullptr;
    HWND m_hWnd = nullptr;
    HWND m_hPassword = nullptr;
    HWND m_hMessage = nullptr;
    bool m_bEnding = false;    // the owner destroys the window: let it go
    bool m_bOwnText = false;   // a text change of ours, not of another program
    bool m_bSmooth = false;    // the first paint scales the image quickly
};
