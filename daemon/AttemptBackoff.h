#pragma once

#include <windows.h>

// Slows down guessing at the lock screen: after the third wrong password in
// a row each further attempt waits 2, 4, 8 ... seconds, at most 30. Times
// are passed in, so no clock is needed.
class CAttemptBackoff {
public:
    static const DWORD kLongestWaitMs = 30000;

    void OnWrong(DWORD nowMs);
    void OnRight() { m_wrongInARow = 0; }

    // Milliseconds before the next attempt may be checked; 0 when it may be
    // checked now.
    DWORD RemainingMs(DWORD nowMs) const;
    int WrongInARow() const { return m_wrongInARow; }

private:
    int m_wrongInARow = 0;
    DWORD m_waitFromMs = 0;
    DWORD m_waitMs = 0;
};
