#include "daemon/IdleTrigger.h"

namespace {
// With a delay of 0 only the screensaver's start matters; it is checked at
// this pace.
const DWORD kScreensaverPollMs = 1000;
const DWORD kShortestPollMs = 50;
}  // namespace

bool CIdleTrigger::Poll(DWORD nowMs, DWORD lastInputMs, bool screensaverRunning)
{
    if (m_delayMs == 0) {
        bool started = screensaverRunning && !m_bScreensaverWasRunning;
        m_bScreensaverWasRunning = screensaverRunning;
        return started;
    }
    if (m_bFired && lastInputMs == m_firedForInputMs)
        return false;
    if (nowMs - lastInputMs < m_delayMs)
        return false;
    m_bFired = true;
    m_firedForInputMs = lastInputMs;
    return true;
}

DWORD CIdleTrigger::NextPollMs(DWORD nowMs, DWORD lastInputMs) const
{
    if (m_delayMs == 0)
        return kScreensaverPollMs;
    DWORD idle = nowMs - lastInputMs;
    // Already fired for this stretch: fresh input starts a new one, which
    // cannot end sooner than a whole delay from now.
    DWORD wait = (m_bFired && lastInputMs == m_firedForInputMs) || idle >= m_delayMs ? m_delayMs : m_delayMs - idle;
    return wait < kShortestPollMs ? kShortestPollMs : wait;
}
