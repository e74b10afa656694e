#pragma once

#include <windows.h>

// Decides when the absence of input locks the screen: after delayMs without
// keyboard or mouse input, or as the system screensaver starts, whichever
// comes first. It fires once per stretch without input (or per screensaver
// run), so an unlock without fresh input does not lock again at once. While
// a program keeps the display on (a presentation, a film) the stretch does
// not run: it starts anew when the program lets go, as the system's own
// screensaver timer does. Times are passed in, so no clock is needed.
class CIdleTrigger {
public:
    explicit CIdleTrigger(DWORD delayMs) : m_delayMs(delayMs) {}

    // lastInputMs is the tick of the last input (GetLastInputInfo);
    // displayRequired: some program asks the system to keep the display on.
    bool Poll(DWORD nowMs, DWORD lastInputMs, bool screensaverRunning, bool displayRequired = false);

    // How long until the idle lock after the last Poll, or INFINITE when
    // this stretch has locked already or the display is kept on.
    DWORD LockInMs(DWORD nowMs) const;
    // How long before the lock its warning shows: 10 s, or a tenth of the
    // delay when that is shorter.
    DWORD WarningMs() const;

    // How long to wait before the next Poll can matter; never 0, so that
    // polling never spins.
    DWORD NextPollMs(DWORD nowMs) const;

private:
    DWORD m_delayMs;
    DWORD m_stretchStartMs = 0;  // the last input, or the display let go
    bool m_bDisplayRequired = false;
    bool m_bFired = false;
    DWORD m_firedForStretchMs = 0;
    bool m_bScreensaverWasRunning = false;
};
