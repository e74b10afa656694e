#include "daemon/LockRecord.h"

#include <new>
#include <utility>

namespace {
const DWORD kMagic = 0x564C4D52;  // "VLMR"
}  // namespace

CLockRecordMapping CLockRecordMapping::Create()
{
    SECURITY_ATTRIBUTES inheritable = {sizeof(inheritable), nullptr, TRUE};
    HANDLE mapping =
        ::CreateFileMappingA(INVALID_HANDLE_VALUE, &inheritable, PAGE_READWRITE, 0, sizeof(LockRecord), nullptr);
    return CLockRecordMapping(mapping, true);
}

CLockRecordMapping CLockRecordMapping::Open(HANDLE inherited)
{
    return CLockRecordMapping(inherited, false);
}

CLockRecordMapping::CLockRecordMapping(HANDLE mapping, bool fresh) : m_hMapping(mapping)
{
    if (mapping == nullptr)
        return;
    void* view = ::MapViewOfFile(mapping, FILE_MAP_READ | FILE_MAP_WRITE, 0, 0, sizeof(LockRecord));
    if (view == nullptr)
        return;
    if (fresh) {
        m_pRecord = new (view) LockRecord{kMagic, DaemonState::starting, CAttemptBackoff(), {}, {}};
        return;
    }
    // A handle number from a command line may name any mapping: only a
    // record of ours, whole, is taken.
    auto* record = static_cast<LockRecord*>(view);
    if (record->magic == kMagic) {
        record->code[LockRecord::kMaxCode - 1] = '\0';
        m_pRecord = record;
    } else {
        ::UnmapViewOfFile(view);
    }
}

CLockRecordMapping::CLockRecordMapping(CLockRecordMapping&& other) noexcept
    : m_hMapping(std::exchange(other.m_hMapping, nullptr)), m_pRecord(std::exchange(other.m_pRecord, nullptr))
{
}

CLockRecordMapping::~CLockRecordMapping()
{
    if (m_pRecord != nullptr)
        ::UnmapViewOfFile(m_pRecord);
    if (m_hMapping != nullptr)
        ::CloseHandle(m_hMapping);
}
