#include "daemon/IdleTrigger.h"

namespace {
// The screensaver's start is looked for at this pace.
const DWORD kScreensaverPollMs = 1000;
const DWORD kShortestPollMs = 50;
}  // namespace

bool CIdleTrigger::Poll(DWORD nowMs, DWORD lastInputMs, bool screensaverRunning)
{
    bool started = screensaverRunning && !m_bScreensaverWasRunning;
    m_bScreensaverWasRunning = screensaverRunning;
    bool sameStretch = m_bFired && lastInputMs == m_firedForInputMs;
    if (!started && (sameStretch || nowMs - lastInputMs < m_delayMs))
        return false;
    m_bFired = true;
    m_firedForInputMs = lastInputMs;
    return true;
}

DWORD CIdleTrigger::NextPollMs(DWORD nowMs, DWORD lastInputMs) const
{
    DWORD idle = nowMs - lastInputMs;
    // Already fired for this stretch: fresh input starts a new one, which
    // cannot end sooner than a whole delay from now.
    DWORD wait = (m_bFired && lastInputMs == m_firedForInputMs) || idle >= m_delayMs ? m_delayMs : m_delayMs - idle;
    wait = wait > kScreensaverPollMs ? kScreensaverPollMs : wait;
    return wait < kShortestPollMs ? kShortestPollMs : wait;
}
