#include "settings/SettingsStore.h"

#include "framework/File.h"
#include "framework/WinApp.h"
#include "settings/SettingsPath.h"
#include "settings/SecureWipe.h"
#include "settings/SettingsRecord.h"

#include <cstdio>
#include <cstdlib>

namespace {
const UINT kRecordSize = static_cast<UINT>(CSettingsRecord::kSize);

// Shared with nobody while open: the lock daemon reads the same file and
// must never see a record half written.
const UINT kOpenFlags = CFile::modeReadWrite | CFile::shareExclusive | CFile::modeCreate | CFile::modeNoTruncate;
}  // namespace

CSettingsStore::CSettingsStore(std::string fileName)
{
    // A path that does not fit the system's buffer leaves both strings
    // empty: a cut-short path could name some other file.
    std::string modulePath = AfxGetModulePath();
    if (modulePath.empty())
        return;
    m_csDirectory = SettingsDirectory(modulePath);
    m_csPath = m_csDirectory + "\\" + fileName;
}

CSettingsStore::~CSettingsStore() = default;

int CSettingsStore::ReadString(std::string key, std::string& value)
{
    CFile file;
    if (m_csPath.empty() || !file.Open(m_csPath, kOpenFlags))
        return 0;
    CSettingsRecord record;
    while (file.Read(record.Bytes(), kRecordSize) == kRecordSize) {
        if (record.HasKey(key)) {
            value = record.Value();
            file.Close();
            return 1;
        }
    }
    file.Close();
    return 0;
}

int CSettingsStore::WriteString(std::string key, std::string value)
{
    CSettingsRecord newRecord;
    if (!newRecord.Assign(key, value))
        return 0;
    // The value may be the password code; the record keeps the only copy.
    SecureWipe(value);
    CFile file;
    if (m_csPath.empty() || !file.Open(m_csPath, kOpenFlags))
        return 0;

    CSettingsRecord record;
    LONGLONG freeIndex = -1;
    for (LONGLONG index = 0;; ++index) {
        UINT read = file.Read(record.Bytes(), kRecordSize);
        if (read == 0)
            break;
        // A partial record at the end: a new record after it could never be
        // found again by any reader.
        if (read < kRecordSize) {
            file.Close();
            return 0;
        }
        if (record.HasKey(key)) {
            file.Seek(index * kRecordSize, CFile::begin);
            file.Write(newRecord.Bytes(), kRecordSize);
            file.Close();
            return 1;
        }
        if (freeIndex < 0 && record.IsFree())
            freeIndex = index;
    }
    if (freeIndex >= 0) {
        file.Seek(freeIndex * kRecordSize, CFile::begin);
        file.Write(newRecord.Bytes(), kRecordSize);
    } else {
        AppendRecord(file, newRecord);
    }
    file.Close();
    return 1;
}

int CSettingsStore::ReadInt(std::string key, int& value)
{
    std::string text;
    if (!ReadString(key, text))
        return 0;
    value = std::atoi(text.c_str());
    return 1;
}

int CSettingsStore::WriteInt(std::string key, int value)
{
    char text[16];
    std::snprintf(text, sizeof(text), "%d", value);
    return WriteString(key, text);
}

int CSettingsStore::CanOpen()
{
    CFile file;
    if (m_csPath.empty() || !file.Open(m_csPath, kOpenFlags))
        return 0;
    file.Close();
    return 1;
}
