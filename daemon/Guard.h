#pragma once

#include "daemon/DaemonCommand.h"
#include "daemon/LockRecord.h"

#include <windows.h>

// What the guard does when the lock process has ended.
enum class GuardAction { end, relaunch };

// Decides it from the state the lock process left in the shared record. A
// requested end ends the daemon; a death while locked always brings the lock
// back, for the screen must not open; a death while unlocked brings the
// daemon back unless it keeps dying, so that a daemon that cannot start does
// not loop for ever. Times are passed in, so no clock is needed.
class CRestartPolicy {
public:
    static constexpr int kQuickDeaths = 5;    // while unlocked, in a row
    static constexpr DWORD kQuickMs = 60000;  // a lock process that ran less died quickly

    GuardAction OnEnded(DaemonState state, DWORD startedMs, DWORD endedMs);

private:
    int m_quickDeaths = 0;
};

// Starts this program in the given role, handing it the record and this
// process to watch. The process handle of the new one, or null.
HANDLE LaunchPeer(DaemonRole role, const CLockRecordMapping& mapping);

// The guard's life: waits for the lock process to end and follows the
// policy. Returns the exit code.
int RunGuard(const CLockRecordMapping& mapping, HANDLE lockProcess);
