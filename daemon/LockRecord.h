#pragma once

#include "daemon/AttemptBackoff.h"

#include <windows.h>

// Where the daemon stands. The guard process reads it when the lock process
// has ended, to tell a requested end from a death that must not open the
// screen.
enum class DaemonState : LONG { starting, armed, locked, ending };

// What the lock screen and the report after the unlock tell of one lock.
struct LockStats {
    SYSTEMTIME lockedAt;
    int wrongPasswords;
    SYSTEMTIME firstWrongAt, lastWrongAt;
};

// What a lock process that replaces a dead one needs to hold the same lock:
// the state, the back-off of wrong passwords and the stored code, which is
// fixed for the daemon's life so that a settings file changed behind its back
// cannot change the password of a lock in progress.
struct LockRecord {
    static constexpr size_t kMaxCode = 2048;  // a settings value, with its NUL

    DWORD magic;
    DaemonState state;
    CAttemptBackoff backoff;
    LockStats stats;
    char code[kMaxCode];
};

// The record in memory shared by the daemon's processes only: the mapping has
// no name, and reaches a process only as an inherited handle.
class CLockRecordMapping {
public:
    // A new record, state starting, with an inheritable handle.
    static CLockRecordMapping Create();
    // The record of an inherited handle; Valid() false for a handle that is
    // not one.
    static CLockRecordMapping Open(HANDLE inherited);

    CLockRecordMapping(CLockRecordMapping&& other) noexcept;
    ~CLockRecordMapping();
    CLockRecordMapping(const CLockRecordMapping&) = delete;
    CLockRecordMapping& operator=(const CLockRecordMapping&) = delete;

    bool Valid() const { return m_pRecord != nullptr; }
    HANDLE Handle() const { return m_hMapping; }
    LockRecord& Record() const { return *m_pRecord; }

private:
    CLockRecordMapping(HANDLE mapping, bool fresh);

    HANDLE m_hMapping = nullptr;
    LockRecord* m_pRecord = nullptr;
};
