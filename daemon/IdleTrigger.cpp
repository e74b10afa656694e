#include "daemon/IdleTrigger.h"

namespace {
// The screensaver's start is looked for at this pace, and the warning's
// countdown shown.
const DWORD kScreensaverPollMs = 1000;
const DWORD kShortestPollMs = 50;
const DWORD kLongestWarningMs = 10000;
}  // namespace

bool CIdleTrigger::Poll(DWORD nowMs, DWORD lastInputMs, bool screensaverRunning, bool displayRequired)
{
    bool started = screensaverRunning && !m_bScreensaverWasRunning;
    m_bScreensaverWasRunning = screensaverRunning;
    // Ticks wrap: the later of the two is the one nearer to now.
    bool keptSinceInput = m_bDisplayRequired && nowMs - m_stretchStartMs < nowMs - lastInputMs;
    m_stretchStartMs = displayRequired ? nowMs : keptSinceInput ? m_stretchStartMs : lastInputMs;
    m_bDisplayRequired = displayRequired || keptSinceInput;
    if (!started && LockInMs(nowMs) != 0)
        return false;
    m_bFired = true;
    m_firedForStretchMs = m_stretchStartMs;
    return true;
}

DWORD CIdleTrigger::LockInMs(DWORD nowMs) const
{
    DWORD idle = nowMs - m_stretchStartMs;
    if ((m_bFired && m_stretchStartMs == m_firedForStretchMs) || (m_bDisplayRequired && idle == 0))
        return INFINITE;
    return idle >= m_delayMs ? 0 : m_delayMs - idle;
}

DWORD CIdleTrigger::WarningMs() const
{
    return m_delayMs / 10 < kLongestWarningMs ? m_delayMs / 10 : kLongestWarningMs;
}

DWORD CIdleTrigger::NextPollMs(DWORD nowMs) const
{
    // Fresh input starts a new stretch, which cannot end sooner than a whole
    // delay from now.
    DWORD lockIn = LockInMs(nowMs);
    lockIn = lockIn == INFINITE || lockIn == 0 ? m_delayMs : lockIn;
    // Up to the warning, then on each whole second of its countdown.
    DWORD warning = WarningMs();
    DWORD wait = lockIn > warning ? lockIn - warning : lockIn % 1000 != 0 ? lockIn % 1000 : 1000;
    wait = wait > kScreensaverPollMs ? kScreensaverPollMs : wait;
    return wait < kShortestPollMs ? kShortestPollMs : wait;
}
