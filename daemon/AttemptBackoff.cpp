#include "daemon/AttemptBackoff.h"

namespace {
const int kFreeAttempts = 3;
}  // namespace

void CAttemptBackoff::OnWrong(DWORD nowMs)
{
    if (m_wrongInARow < 1000)
        ++m_wrongInARow;
    m_waitFromMs = nowMs;
    int doublings = m_wrongInARow - kFreeAttempts + 1;  // 1 after the third wrong attempt
    m_waitMs = 0;
    if (doublings > 0)
        m_waitMs = doublings >= 5 ? kLongestWaitMs : 1000u << doublings;
}

DWORD CAttemptBackoff::RemainingMs(DWORD nowMs) const
{
    DWORD elapsed = nowMs - m_waitFromMs;
    return elapsed >= m_waitMs ? 0 : m_waitMs - elapsed;
}
