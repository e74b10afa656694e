#pragma once

#include "settings/DaemonContract.h"

#include <windows.h>

#include <string>

// The password as typed at the lock screen, held by the lock itself and not
// by its box, which only shows one dot per character: no other program can
// put text into it or read text from it. A character that the settings file
// cannot hold (outside the ANSI code page) can never be part of the right
// password, so a password with one never matches. A half-typed password
// goes after a minute without a key. Times are passed in, so no clock is
// needed.
class CPasswordEntry {
public:
    static constexpr int kMaxChars = Contract::kMaxPasswordChars;
    static constexpr DWORD kForgetMs = 60000;

    CPasswordEntry() = default;
    ~CPasswordEntry();
    CPasswordEntry(const CPasswordEntry&) = delete;
    CPasswordEntry& operator=(const CPasswordEntry&) = delete;

    // Characters beyond the limit are dropped, as a full box drops them.
    void Type(const std::wstring& text, DWORD nowMs);
    void Erase(DWORD nowMs);
    void Clear();
    // Clears a half-typed password when no key came for kForgetMs; true when
    // it did.
    bool ForgetIfIdle(DWORD nowMs);

    int Length() const { return static_cast<int>(m_typed.size()); }
    // Whether the typed password is the one of this code (empty code: no
    // password is set, and anything matches). Clears the entry.
    bool TakeAndCheck(const std::string& code);

private:
    std::wstring m_typed;
    DWORD m_lastKeyMs = 0;
};
