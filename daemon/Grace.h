#pragma once

#include <windows.h>

// The moments after an idle lock in which any key or pointer move opens it
// without the password. Once over, it stays over however long the lock
// lasts: the tick count comes round again after 49.7 days, and a time that
// is only compared with it would fall in the grace once more.
class CGrace {
public:
    static const DWORD kIdleMs = 5000;

    // A grace of lengthMs from startMs; a length of 0 is none.
    CGrace(DWORD startMs, DWORD lengthMs) : m_startMs(startMs), m_lengthMs(lengthMs) {}

    // Whether input at nowMs opens the lock. Asked at least once in 49 days
    // (the lock asks ten times a second), it never holds again once over.
    bool Holds(DWORD nowMs)
    {
        if (nowMs - m_startMs >= m_lengthMs)
            m_lengthMs = 0;
        return m_lengthMs != 0;
    }

private:
    DWORD m_startMs, m_lengthMs;
};
