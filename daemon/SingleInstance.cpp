#include "daemon/SingleInstance.h"

#include "settings/DaemonContract.h"

namespace {
const char kMutexName[] = "Local\\VellmoranDaemon";
const DWORD kStepMs = 100;

bool Owns(DWORD waitResult)
{
    // An abandoned mutex is ours as well: its owner ended without letting go.
    return waitResult == WAIT_OBJECT_0 || waitResult == WAIT_ABANDONED;
}
}  // namespace

CSingleInstance::~CSingleInstance()
{
    if (m_bOwned)
        ::ReleaseMutex(m_hMutex);
    if (m_hMutex != nullptr)
        ::CloseHandle(m_hMutex);
}

bool CSingleInstance::Acquire(DWORD waitMs)
{
    // A daemon whose guard died has left the mutex abandoned, but runs.
    if (::FindWindowA(nullptr, Contract::kDaemonWindowTitle) != nullptr)
        return false;
    m_hMutex = ::CreateMutexA(nullptr, FALSE, kMutexName);
    if (m_hMutex == nullptr)
        return false;
    // Waiting in steps: a daemon that is only starting holds the mutex before
    // its window exists, and this one must then end rather than wait it out.
    for (DWORD waited = 0;; waited += kStepMs) {
        if (Owns(::WaitForSingleObject(m_hMutex, waited == 0 ? 0 : kStepMs)))
            return m_bOwned = true;
        if (::FindWindowA(nullptr, Contract::kDaemonWindowTitle) != nullptr || waited >= waitMs)
            return false;
    }
}

void CSingleInstance::TakeOver()
{
    m_hMutex = ::CreateMutexA(nullptr, FALSE, kMutexName);
    m_bOwned = m_hMutex != nullptr && Owns(::WaitForSingleObject(m_hMutex, 0));
}
