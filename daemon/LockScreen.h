#pragma once

#include "daemon/AttemptBackoff.h"
#include "daemon/CheckedBitmap.h"
#include "daemon/Grace.h"
#include "daemon/InputGuard.h"
#include "daemon/KeyTranslator.h"
#include "daemon/LockRecord.h"
#include "daemon/LockBackground.h"
#include "daemon/ObjectWindowProc.h"
#include "daemon/PasswordEntry.h"

#include <windows.h>

#include <memory>
#include <string>

// The lock screen: a topmost window over the whole virtual screen with a
// card: the clock and date, who is away since when, a box that shows the
// typed password as dots, a Caps Lock warning, a line for messages and the
// count of wrong passwords. It takes every key through the input guard and keeps itself
// whole and in front against other programs. It never unlocks by itself:
// its owner asks it for the keys typed and ends it when they held the right
// password. Only its owner destroys it; it refuses to close or be destroyed
// at anyone else's request.
class CLockScreen {
public:
    // The card's controls; each text is the window text of its own control.
    static const int kPasswordId = 100;
    static const int kMessageId = 101;
    static const int kClockId = 102;
    static const int kDateId = 103;
    static const int kAwayId = 104;
    static const int kLabelId = 105;
    static const int kCapsId = 106;
    static const int kCountId = 107;
    static const char kClassName[];

    // code is the scrambled password, empty when none is set; image the
    // background, or null. The backoff and the stats outlive the lock
    // screen, so that locking anew does not reset them. While the grace
    // holds, any key or pointer move opens the lock.
    CLockScreen(const std::string& code, const CheckedBitmap* image, CAttemptBackoff& backoff, LockStats& stats,
                CGrace grace);
    ~CLockScreen();
    CLockScreen(const CLockScreen&) = delete;
    CLockScreen& operator=(const CLockScreen&) = delete;

    // Null when the window could not be made.
    HWND Window() const { return m_hWnd; }
    // Set while typed keys wait for TakeInput.
    HANDLE InputEvent() const { return m_input->Event(); }
    // Takes the keys typed since the last call; true when Enter came with
    // the right password (or with none set), or any input in the grace.
    bool TakeInput();

private:
    friend LRESULT CALLBACK ObjectWindowProc<CLockScreen>(HWND, UINT, WPARAM, LPARAM);
    static LRESULT CALLBACK ChildProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                      DWORD_PTR self);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    bool Check(DWORD nowMs);
    void CreateChildren();
    void SetChildText(HWND child, const std::string& text);
    HWND AddChild(const char* className, DWORD exStyle, DWORD style, int id, int top, int height, HFONT font,
                  const char* text);
    HWND AddText(int id, int top, int height, HFONT font, const char* text);
    void Draw(HDC dc, const RECT& area, bool withChildren);
    void Paint(HDC dc, const RECT& area);
    void ShowEntry();
    void ShowWait();
    void ShowCard();
    void KeepWhole();
    void KeepInFront();

    std::string m_code;
    CAttemptBackoff& m_backoff;
    LockStats& m_stats;
    CGrace m_grace;
    int m_dpi;
    CLockBackground m_background;
    CPasswordEntry m_entry;
    CKeyTranslator m_keys;
    std::unique_ptr<CInputGuard> m_input;
    RECT m_primary = {};  // the primary monitor in client coordinates
    RECT m_card = {};     // the panel that holds the name, the box and the message
    LONG m_style = 0, m_exStyle = 0;
    HFONT m_hClockFont = nullptr;
    HFONT m_hTextFont = nullptr;
    HBRUSH m_hCardBrush = nullptr;
    HWND m_hWnd = nullptr;
    HWND m_hPassword = nullptr;
    HWND m_hMessage = nullptr;
    std::string m_shownMinute;  // the clock's minute, to update it once a minute
    bool m_bCaretHidden = false;
    bool m_bEnding = false;    // the owner destroys the window: let it go
    bool m_bOwnText = false;   // a text change of ours, not of another program
};
