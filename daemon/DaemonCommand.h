#pragma once

#include <windows.h>

#include <string>

// The daemon runs as two processes that watch each other: the lock process,
// which owns the window "V3LLM0R4ND", the triggers and the lock screen, and
// a guard, which starts a new lock process when the old one dies while the
// screen is locked. Each replaces the other when it dies. Started without
// arguments (by the panel or at log-on) the program becomes the first guard.
enum class DaemonRole { first, guard, lock, invalid };

// The command line of a process the daemon starts for itself: its role, the
// inherited handle of the shared record and that of the process to watch.
struct DaemonCommand {
    DaemonRole role = DaemonRole::first;
    HANDLE record = nullptr;
    HANDLE peer = nullptr;
};

DaemonCommand ParseDaemonCommand(const char* commandLine);
// The arguments that ParseDaemonCommand reads back; role guard or lock.
std::string DaemonArguments(const DaemonCommand& command);
