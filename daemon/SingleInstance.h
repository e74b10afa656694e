#pragma once

#include <windows.h>

// One daemon per log-on session, kept by a named mutex in the session's
// namespace, which the daemon's guard process owns from start to end. The
// window title "V3LLM0R4ND" tells a running daemon from one that is still
// ending.
class CSingleInstance {
public:
    CSingleInstance() = default;
    ~CSingleInstance();
    CSingleInstance(const CSingleInstance&) = delete;
    CSingleInstance& operator=(const CSingleInstance&) = delete;

    // True when this process may run as the daemon: no other daemon's window
    // exists, and the daemon that holds the mutex, if any, is ending (as
    // after the panel's WM_CLOSE) and lets it go within waitMs. False at once
    // while another daemon's window exists.
    bool Acquire(DWORD waitMs);
    // For a guard that replaces a dead one: the mutex it left.
    void TakeOver();

private:
    HANDLE m_hMutex = nullptr;
    bool m_bOwned = false;
};
