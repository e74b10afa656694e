#pragma once

#include "daemon/InputGuard.h"

#include <windows.h>

#include <string>

// What a key press means to the lock screen.
struct LockKey {
    enum Kind { none, typed, erase, enter, clear } kind = none;
    std::wstring text;  // for typed: the characters it types
};

// Turns the keys the input guard took into what they type. The system never
// saw them, so the lock keeps its own state of Shift, Ctrl, Alt and the lock
// keys, and types with the keyboard layout of its thread.
class CKeyTranslator {
public:
    // Caps Lock and Num Lock as they were when the screen was locked.
    CKeyTranslator(bool capsLock, bool numLock);
    ~CKeyTranslator();

    LockKey Translate(const KeyEvent& key);
    bool CapsLock() const { return (m_state[VK_CAPITAL] & 1) != 0; }

private:
    void Track(const KeyEvent& key);

    BYTE m_state[256] = {};
};
