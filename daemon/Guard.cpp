#include "daemon/Guard.h"

#include "framework/WinApp.h"

GuardAction CRestartPolicy::OnEnded(DaemonState state, DWORD startedMs, DWORD endedMs)
{
    if (state == DaemonState::ending)
        return GuardAction::end;
    if (state == DaemonState::locked)
        return GuardAction::relaunch;
    m_quickDeaths = endedMs - startedMs < kQuickMs ? m_quickDeaths + 1 : 1;
    return m_quickDeaths <= kQuickDeaths ? GuardAction::relaunch : GuardAction::end;
}

HANDLE LaunchPeer(DaemonRole role, const CLockRecordMapping& mapping)
{
    std::string path = AfxGetModulePath();
    HANDLE self = nullptr;
    if (path.empty() || !::DuplicateHandle(::GetCurrentProcess(), ::GetCurrentProcess(), ::GetCurrentProcess(),
                                           &self, SYNCHRONIZE, TRUE, 0))
        return nullptr;
    std::string commandLine = "\"" + path + "\" " + DaemonArguments({role, mapping.Handle(), self});
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;  // none: only the record and this process's handle go along
    PROCESS_INFORMATION process = {};
    BOOL started = ::CreateProcessA(path.c_str(), &commandLine[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                                    &startup, &process);
    ::CloseHandle(self);
    if (!started)
        return nullptr;
    ::CloseHandle(process.hThread);
    return process.hProcess;
}

int RunGuard(const CLockRecordMapping& mapping, HANDLE lockProcess)
{
    // A guard that cannot start a lock process while locked tries again.
    const DWORD kRetryMs = 100;
    CRestartPolicy policy;
    DWORD started = ::GetTickCount();
    for (;;) {
        if (lockProcess != nullptr) {
            ::WaitForSingleObject(lockProcess, INFINITE);
            ::CloseHandle(lockProcess);
            lockProcess = nullptr;
            if (policy.OnEnded(mapping.Record().state, started, ::GetTickCount()) == GuardAction::end)
                return 0;
        } else if (mapping.Record().state != DaemonState::locked) {
            return 1;
        } else {
            ::Sleep(kRetryMs);
        }
        started = ::GetTickCount();
        lockProcess = LaunchPeer(DaemonRole::lock, mapping);
    }
}
