#pragma once

#include <windows.h>

// Decides when the absence of input locks the screen: after delayMs without
// keyboard or mouse input, or as the system screensaver starts, whichever
// comes first. It fires once per stretch without input (or per screensaver
// run), so an unlock without fresh input does not lock again at once. Times
// are passed in, so no clock is needed.
class CIdleTrigger {
public:
    explicit CIdleTrigger(DWORD delayMs) : m_delayMs(delayMs) {}

    // lastInputMs is the tick of the last input (GetLastInputInfo).
    bool Poll(DWORD nowMs, DWORD lastInputMs, bool screensaverRunning);

    // How long to wait before the next Poll can matter; never 0, so that
    // polling never spins.
    DWORD NextPollMs(DWORD nowMs, DWORD lastInputMs) const;

private:
    DWORD m_delayMs;
    bool m_bFired = false;
    DWORD m_firedForInputMs = 0;
    bool m_bScreensaverWasRunning = false;
};
